// The message queue: order of sent, posted, generated messages and quit;
// filters; posting to bad windows; registered messages; nested sends.
#include <cstdint>

#include "tests/platform/recording_window.h"

namespace platform_test {
namespace {

std::vector<UINT> Messages(const std::vector<MSG>& messages) {
    std::vector<UINT> numbers;
    for (const MSG& m : messages) {
        numbers.push_back(m.message);
    }
    return numbers;
}

using MessageQueueTest = LayerTest;

TEST_F(MessageQueueTest, PostedComeBeforePaintAndPaintBeforeTimer) {
    HWND window = TopLevel(0, 0, 50, 50);
    Pump();  // what creation left: the first paint
    ASSERT_EQ(SetTimer(window, 7, 10, nullptr), 7u);
    headless::AdvanceTicks(10);
    InvalidateRect(window, nullptr, FALSE);
    PostMessageA(window, WM_USER, 1, 0);
    PostMessageA(window, WM_USER, 2, 0);

    std::vector<MSG> got = Pump();
    EXPECT_EQ(Messages(got), (std::vector<UINT>{WM_USER, WM_USER, WM_PAINT, WM_TIMER}));
    EXPECT_EQ(got[0].wParam, 1u);
    EXPECT_EQ(got[1].wParam, 2u);
    EXPECT_EQ(got[3].wParam, 7u);
}

TEST_F(MessageQueueTest, SentMessageIsHandledBeforeAnEarlierPostedOne) {
    HWND window = TopLevel(0, 0, 50, 50);
    Pump();
    record.reactions[WM_USER] = [](HWND w, WPARAM, LPARAM) -> std::optional<LRESULT> {
        PostMessageA(w, WM_USER + 1, 0, 0);
        SendMessageA(w, WM_USER + 2, 0, 0);
        return 0;
    };
    PostMessageA(window, WM_USER, 0, 0);
    Pump();
    EXPECT_EQ(record.MessagesOf(window, {WM_USER, WM_USER + 1, WM_USER + 2}),
              (std::vector<UINT>{WM_USER, WM_USER + 2, WM_USER + 1}));
}

TEST_F(MessageQueueTest, QuitComesAfterPostedMessagesAndBeforePaintAndTimer) {
    HWND window = TopLevel(0, 0, 50, 50);
    Pump();
    SetTimer(window, 1, 10, nullptr);
    headless::AdvanceTicks(20);
    InvalidateRect(window, nullptr, TRUE);
    PostQuitMessage(5);
    PostMessageA(window, WM_USER, 0, 0);  // posted after the quit request, still first

    MSG msg;
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 5u);
    EXPECT_EQ(msg.hwnd, nullptr);
    // The quit is taken once; then paint and timer follow.
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
}

TEST_F(MessageQueueTest, QuitPassesAnyFilterAndPeekWithoutRemoveLeavesIt) {
    PostQuitMessage(3);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

struct PeekCase {
    const char* name;
    int filterWindow;  // 0: null, 1: parent, 2: child, 3: other, -1: thread messages only
    UINT first;
    UINT last;
    std::vector<UINT> expected;  // wParams of the messages retrieved, in order
};

class PeekFilterTest : public LayerTest, public ::testing::WithParamInterface<PeekCase> {};

TEST_P(PeekFilterTest, RetrievesOnlyMatchingMessagesInOrder) {
    const PeekCase& c = GetParam();
    HWND parent = TopLevel(0, 0, 100, 100);
    HWND child = Child(parent, 1, 0, 0, 10, 10);
    HWND other = TopLevel(200, 0, 100, 100);
    Pump();
    // wParam numbers the messages: 1 parent WM_USER, 2 child WM_USER+1,
    // 3 other WM_USER, 4 thread WM_USER+2, 5 parent WM_KEYDOWN.
    PostMessageA(parent, WM_USER, 1, 0);
    PostMessageA(child, WM_USER + 1, 2, 0);
    PostMessageA(other, WM_USER, 3, 0);
    PostMessageA(nullptr, WM_USER + 2, 4, 0);
    PostMessageA(parent, WM_KEYDOWN, 5, 0);

    HWND filters[] = {nullptr, parent, child, other};
    HWND filter = c.filterWindow < 0 ? reinterpret_cast<HWND>(static_cast<intptr_t>(-1)) : filters[c.filterWindow];
    std::vector<UINT> got;
    MSG msg;
    while (got.size() < 10 && PeekMessageA(&msg, filter, c.first, c.last, PM_REMOVE | PM_NOYIELD)) {
        if (msg.message == WM_PAINT) {
            ValidateRect(msg.hwnd, nullptr);
            continue;
        }
        got.push_back(static_cast<UINT>(msg.wParam));
    }
    EXPECT_EQ(got, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Filters, PeekFilterTest,
                         ::testing::Values(PeekCase{"everything", 0, 0, 0, {1, 2, 3, 4, 5}},
                                           PeekCase{"parentAndItsChild", 1, 0, 0, {1, 2, 5}},
                                           PeekCase{"childOnly", 2, 0, 0, {2}}, PeekCase{"otherWindow", 3, 0, 0, {3}},
                                           PeekCase{"threadMessagesOnly", -1, 0, 0, {4}},
                                           PeekCase{"rangeOfOne", 0, WM_USER + 1, WM_USER + 1, {2}},
                                           PeekCase{"rangeAcrossWindows", 0, WM_USER, WM_USER + 2, {1, 2, 3, 4}},
                                           PeekCase{"keyboardRange", 0, WM_KEYDOWN, WM_KEYUP, {5}},
                                           PeekCase{"windowAndRange", 1, WM_USER, WM_USER, {1}},
                                           PeekCase{"nothingMatches", 2, WM_KEYDOWN, WM_KEYDOWN, {}}),
                         [](const ::testing::TestParamInfo<PeekCase>& info) { return std::string(info.param.name); });

TEST_F(MessageQueueTest, PeekWithoutRemoveLeavesTheMessageAndRemoveTakesIt) {
    HWND window = TopLevel(0, 0, 50, 50, WS_POPUP);
    PostMessageA(window, WM_USER, 9, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, window, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(headless::PostedMessages().size(), 1u);
    ASSERT_TRUE(PeekMessageA(&msg, window, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 9u);
    EXPECT_TRUE(headless::PostedMessages().empty());
    EXPECT_FALSE(PeekMessageA(&msg, window, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueueTest, TimerPeekedWithRemoveTwiceTakesOnlyThePendingOne) {
    // What the close gate does to drop pending frames.
    HWND window = TopLevel(0, 0, 50, 50, WS_POPUP);
    SetTimer(window, 1, 10, nullptr);
    headless::AdvanceTicks(35);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD));
    EXPECT_FALSE(PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD));
}

TEST_F(MessageQueueTest, PaintIsGeneratedUntilValidatedAndOnlyForVisibleWindows) {
    HWND hidden = TopLevel(0, 0, 50, 50, WS_POPUP);
    HWND shown = TopLevel(60, 0, 50, 50);
    Pump();
    InvalidateRect(hidden, nullptr, FALSE);
    InvalidateRect(shown, nullptr, FALSE);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, shown);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
    // PM_REMOVE does not take a WM_PAINT away: the update region does.
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
    EXPECT_TRUE(ValidateRect(shown, nullptr));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    ShowWindow(hidden, SW_SHOWNA);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, hidden);
}

TEST_F(MessageQueueTest, PartialValidationKeepsThePaintUntilTheWholeRegionIsValid) {
    HWND window = TopLevel(0, 0, 100, 100);
    Pump();
    InvalidateRect(window, nullptr, FALSE);
    MSG msg;
    RECT middle{20, 20, 60, 60};
    ValidateRect(window, &middle);
    EXPECT_TRUE(PeekMessageA(&msg, window, WM_PAINT, WM_PAINT, PM_NOREMOVE));
    RECT topBand{0, 0, 100, 40};
    ValidateRect(window, &topBand);
    EXPECT_TRUE(PeekMessageA(&msg, window, WM_PAINT, WM_PAINT, PM_NOREMOVE));
    RECT rest{0, 40, 100, 100};
    ValidateRect(window, &rest);
    EXPECT_FALSE(PeekMessageA(&msg, window, WM_PAINT, WM_PAINT, PM_NOREMOVE));
    // Outside the client area there is nothing to invalidate.
    RECT outside{200, 200, 300, 300};
    InvalidateRect(window, &outside, FALSE);
    EXPECT_FALSE(PeekMessageA(&msg, window, WM_PAINT, WM_PAINT, PM_NOREMOVE));
}

struct BadHandleCase {
    const char* name;
    uintptr_t value;
};

class BadWindowTest : public LayerTest, public ::testing::WithParamInterface<BadHandleCase> {};

TEST_P(BadWindowTest, CallsRefuseIt) {
    HWND window = reinterpret_cast<HWND>(GetParam().value);
    if (GetParam().value == 0) {
        // A window that existed: destroyed, its handle is stale.
        window = TopLevel(0, 0, 10, 10);
        ASSERT_TRUE(DestroyWindow(window));
    }
    EXPECT_FALSE(IsWindow(window));
    SetLastError(0);
    EXPECT_FALSE(PostMessageA(window, WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_EQ(SendMessageA(window, WM_USER, 0, 0), 0);
    MSG msg;
    EXPECT_EQ(GetMessageA(&msg, window, 0, 0), -1);
    EXPECT_FALSE(PeekMessageA(&msg, window, 0, 0, PM_REMOVE));
    EXPECT_EQ(SetTimer(window, 1, 10, nullptr), 0u);
    EXPECT_FALSE(KillTimer(window, 1));
    EXPECT_FALSE(InvalidateRect(window, nullptr, TRUE));
    EXPECT_FALSE(DestroyWindow(window));
    EXPECT_FALSE(ShowWindow(window, SW_SHOW));
    EXPECT_EQ(SetFocus(window), nullptr);
    EXPECT_FALSE(SetForegroundWindow(window));
    EXPECT_EQ(DefWindowProcA(window, WM_CLOSE, 0, 0), 0);
    EXPECT_TRUE(headless::PostedMessages().empty());
}

INSTANTIATE_TEST_SUITE_P(Handles, BadWindowTest,
                         ::testing::Values(BadHandleCase{"destroyed", 0}, BadHandleCase{"neverHandedOut", 0x7F0004},
                                           BadHandleCase{"beyond32Bits", uintptr_t{0x100010004}},
                                           BadHandleCase{"small", 4}),
                         [](const ::testing::TestParamInfo<BadHandleCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(MessageQueueTest, AHandleWithBitsAbove32IsNotTheWindowBelow) {
    HWND window = TopLevel(0, 0, 10, 10);
    auto value = reinterpret_cast<uintptr_t>(window);
    ASSERT_LT(value, uintptr_t{1} << 32);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(value | (uintptr_t{1} << 32))));
}

TEST_F(MessageQueueTest, TheQueueRefusesPostsBeyondItsLimitWithoutLosingWhatItHolds) {
    HWND window = TopLevel(0, 0, 10, 10, WS_POPUP);
    int accepted = 0;
    for (int i = 0; i < 10050; ++i) {
        accepted += PostMessageA(window, WM_USER, static_cast<WPARAM>(i), 0) ? 1 : 0;
    }
    EXPECT_EQ(accepted, 10000);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_QUOTA));
    std::vector<MSG> posted = headless::PostedMessages();
    ASSERT_EQ(posted.size(), 10000u);
    EXPECT_EQ(posted.front().wParam, 0u);
    EXPECT_EQ(posted.back().wParam, 9999u);
}

TEST_F(MessageQueueTest, DestroyingAWindowDropsItsPostedMessagesOnly) {
    HWND doomed = TopLevel(0, 0, 10, 10, WS_POPUP);
    HWND kept = TopLevel(0, 0, 10, 10, WS_POPUP);
    PostMessageA(doomed, WM_USER, 1, 0);
    PostMessageA(kept, WM_USER, 2, 0);
    PostMessageA(doomed, WM_USER, 3, 0);
    DestroyWindow(doomed);
    std::vector<MSG> posted = headless::PostedMessages();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].hwnd, kept);
}

TEST_F(MessageQueueTest, RegisteredMessagesShareANumberPerNameWhateverTheCase) {
    UINT autoPlay = RegisterWindowMessageA("QueryCancelAutoPlay");
    EXPECT_GE(autoPlay, 0xC000u);
    EXPECT_LE(autoPlay, 0xFFFFu);
    EXPECT_EQ(RegisterWindowMessageA("querycancelautoplay"), autoPlay);
    EXPECT_EQ(RegisterWindowMessageA("QUERYCANCELAUTOPLAY"), autoPlay);
    UINT other = RegisterWindowMessageA("SomethingElse");
    EXPECT_GE(other, 0xC000u);
    EXPECT_NE(other, autoPlay);
    EXPECT_EQ(RegisterWindowMessageA(""), 0u);
    EXPECT_EQ(RegisterWindowMessageA(nullptr), 0u);
}

TEST_F(MessageQueueTest, NestedSendReentersTheProcedureOnTheSameStack) {
    HWND window = TopLevel(0, 0, 10, 10, WS_POPUP);
    int depth = 0;
    int deepest = 0;
    record.reactions[WM_APP] = [&](HWND w, WPARAM level, LPARAM) -> std::optional<LRESULT> {
        ++depth;
        deepest = std::max(deepest, depth);
        LRESULT inner = level < 3 ? SendMessageA(w, WM_APP, level + 1, 0) : 100;
        --depth;
        return inner + 1;
    };
    EXPECT_EQ(SendMessageA(window, WM_APP, 0, 0), 104);
    EXPECT_EQ(deepest, 4);
}

TEST_F(MessageQueueTest, EndlessNestedSendIsCutOffInsteadOfOverflowingTheStack) {
    HWND window = TopLevel(0, 0, 10, 10, WS_POPUP);
    int calls = 0;
    record.reactions[WM_APP] = [&](HWND w, WPARAM, LPARAM) -> std::optional<LRESULT> {
        ++calls;
        return SendMessageA(w, WM_APP, 0, 0) + 1;
    };
    record.log.reserve(2000);
    SetLastError(0);
    LRESULT result = SendMessageA(window, WM_APP, 0, 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_STACK_OVERFLOW));
    EXPECT_EQ(result, calls);
    EXPECT_GT(calls, 100);
    // The window still works afterwards.
    record.reactions.clear();
    EXPECT_EQ(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0), 3);
}

void CALLBACK CountingTimerProc(HWND, UINT message, UINT_PTR id, DWORD) {
    if (message == WM_TIMER) {
        ++*reinterpret_cast<int*>(static_cast<uintptr_t>(id));
    }
}

TEST_F(MessageQueueTest, DispatchCallsTheTimerProcedureOfALiveTimerOnly) {
    HWND window = TopLevel(0, 0, 10, 10, WS_POPUP);
    static int ticks = 0;
    ticks = 0;
    auto id = reinterpret_cast<UINT_PTR>(&ticks);
    SetTimer(window, id, 10, CountingTimerProc);
    headless::AdvanceTicks(10);
    Pump();
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(record.Count(window, WM_TIMER), 0u);  // the procedure, not the window, got it
    // A WM_TIMER carrying a procedure address that no timer has calls nothing.
    MSG forged{window, WM_TIMER, id, reinterpret_cast<LPARAM>(&CountingTimerProc) + 1, 0, {}};
    EXPECT_EQ(DispatchMessageA(&forged), 0);
    KillTimer(window, id);
    MSG stale{window, WM_TIMER, id, reinterpret_cast<LPARAM>(&CountingTimerProc), 0, {}};
    DispatchMessageA(&stale);
    EXPECT_EQ(ticks, 1);
}

TEST_F(MessageQueueTest, TranslateMessagePostsCharactersForCharacterKeys) {
    HWND window = TopLevel(0, 0, 10, 10, WS_POPUP);
    struct KeyCase {
        UINT message;
        WPARAM key;
        UINT expected;  // 0: nothing posted
        WPARAM character;
    };
    const KeyCase cases[] = {
        {WM_KEYDOWN, 'A', WM_CHAR, 'a'},        {WM_KEYDOWN, VK_RETURN, WM_CHAR, '\r'},
        {WM_KEYDOWN, VK_ESCAPE, WM_CHAR, 0x1B}, {WM_SYSKEYDOWN, 'X', WM_SYSCHAR, 'x'},
        {WM_KEYDOWN, VK_SHIFT, 0, 0},           {WM_KEYUP, 'A', 0, 0},
    };
    for (const KeyCase& c : cases) {
        MSG msg{window, c.message, c.key, 1, 0, {}};
        EXPECT_TRUE(TranslateMessage(&msg));
        std::vector<MSG> posted = headless::PostedMessages();
        if (c.expected == 0) {
            EXPECT_TRUE(posted.empty()) << c.key;
        } else {
            ASSERT_EQ(posted.size(), 1u) << c.key;
            EXPECT_EQ(posted[0].message, c.expected);
            EXPECT_EQ(posted[0].wParam, c.character);
        }
        Pump();
    }
    MSG other{window, WM_USER, 0, 0, 0, {}};
    EXPECT_FALSE(TranslateMessage(&other));
}

}  // namespace
}  // namespace platform_test
