// The thread's message queue and its loop calls. Order as on Windows: sent
// messages are direct calls and so come first; then posted messages (input
// included) in the order posted; then WM_QUIT once nothing is posted; then
// WM_PAINT for a visible window with an update region; then WM_TIMER for a
// timer that has come due.
#include "platform/core/queue.h"

#include "platform/core/cursor.h"
#include "platform/core/host.h"
#include "platform/core/input.h"
#include "platform/core/timers.h"
#include "platform/core/window.h"

#include <deque>

using namespace layer;

namespace layer {
namespace {

// Windows refuses posts beyond this many messages waiting in one queue.
constexpr size_t kQueueLimit = 10000;
// GetMessageA results while the clock stands still before the back end is
// asked whether the loop is spinning.
constexpr unsigned kSpinLimit = 1000000;

struct Queue {
    std::deque<MSG> posted;
    bool quitPending = false;
    int quitCode = 0;
    uint64_t spinClock = 0;
    unsigned spinCount = 0;
};

Queue& TheQueue() {
    static Queue queue;
    return queue;
}

HWND const kThreadOnly = reinterpret_cast<HWND>(static_cast<intptr_t>(-1));

bool InRange(UINT message, UINT first, UINT last) {
    if (first == 0 && last == 0) {
        return true;
    }
    return first <= message && message <= last;
}

bool WindowMatches(HWND filter, HWND window) {
    if (filter == nullptr) {
        return true;
    }
    if (filter == kThreadOnly) {
        return window == nullptr;
    }
    return window != nullptr && IsSelfOrDescendant(filter, window);
}

bool FilterIsBad(HWND filter) {
    return filter != nullptr && filter != kThreadOnly && !IsWindow(filter);
}

MSG Stamped(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg{window, message, wParam, lParam, GetTickCount(), CursorPoint()};
    return msg;
}

// The first window, parents before children, that a WM_PAINT is due for.
HWND FindWindowToPaint(HWND handle, HWND filter) {
    const Window* window = FindWindowObject(handle);
    if (window == nullptr || (window->style & WS_VISIBLE) == 0) {
        return nullptr;
    }
    if (window->needsPaint && WindowMatches(filter, handle)) {
        return handle;
    }
    for (HWND child : window->children) {
        if (HWND found = FindWindowToPaint(child, filter)) {
            return found;
        }
    }
    return nullptr;
}

bool FindMessage(MSG* out, HWND filter, UINT first, UINT last, bool remove) {
    input::FlushMouseRefresh();
    host::PollEvents();
    Queue& queue = TheQueue();
    for (auto it = queue.posted.begin(); it != queue.posted.end(); ++it) {
        if (InRange(it->message, first, last) && WindowMatches(filter, it->hwnd)) {
            *out = *it;
            if (remove) {
                queue.posted.erase(it);
            }
            return true;
        }
    }
    // WM_QUIT passes every filter, as GetMessageA documents.
    if (queue.quitPending) {
        *out = Stamped(nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0);
        if (remove) {
            queue.quitPending = false;
        }
        return true;
    }
    if (InRange(WM_PAINT, first, last)) {
        for (HWND top : TopLevelWindows()) {
            if (HWND window = FindWindowToPaint(top, filter)) {
                *out = Stamped(window, WM_PAINT, 0, 0);  // stays until validated
                return true;
            }
        }
    }
    if (InRange(WM_TIMER, first, last) && TakeDueTimer(filter, remove, out)) {
        out->time = GetTickCount();
        out->pt = CursorPoint();
        return true;
    }
    return false;
}

BOOL Enqueue(const MSG& msg) {
    Queue& queue = TheQueue();
    if (queue.posted.size() >= kQueueLimit) {
        SetLastError(ERROR_NOT_ENOUGH_QUOTA);
        return FALSE;
    }
    queue.posted.push_back(msg);
    return TRUE;
}

// Counts the messages GetMessageA hands out while the clock stands still.
bool LoopIsSpinning(WPARAM* quitCode) {
    Queue& queue = TheQueue();
    uint64_t now = host::Now();
    if (now != queue.spinClock) {
        queue.spinClock = now;
        queue.spinCount = 0;
        return false;
    }
    if (++queue.spinCount < kSpinLimit) {
        return false;
    }
    queue.spinCount = 0;
    return host::EndSpinningLoop(quitCode);
}

}  // namespace

BOOL PostInputMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Queue& queue = TheQueue();
    if (message == WM_MOUSEMOVE && !queue.posted.empty()) {
        MSG& last = queue.posted.back();
        if (last.message == WM_MOUSEMOVE && last.hwnd == window) {
            last = Stamped(window, message, wParam, lParam);
            return TRUE;
        }
    }
    return Enqueue(Stamped(window, message, wParam, lParam));
}

void DropQueuedMessages(HWND window) {
    auto& posted = TheQueue().posted;
    std::erase_if(posted, [window](const MSG& msg) { return msg.hwnd == window; });
}

std::vector<MSG> QueuedMessages() {
    const auto& posted = TheQueue().posted;
    return std::vector<MSG>(posted.begin(), posted.end());
}

void ResetQueue() {
    TheQueue() = Queue{};
}

}  // namespace layer

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window == HWND_BROADCAST) {
        for (HWND top : TopLevelWindows()) {
            PostMessageA(top, message, wParam, lParam);
        }
        return TRUE;
    }
    if (window != nullptr && !IsWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return Enqueue(Stamped(window, message, wParam, lParam));
}

void WINAPI PostQuitMessage(int exitCode) {
    Queue& queue = TheQueue();
    queue.quitPending = true;
    queue.quitCode = exitCode;
}

BOOL WINAPI GetMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax) {
    if (message == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    for (;;) {
        if (FilterIsBad(window)) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return -1;
        }
        WPARAM quitCode = 0;
        if (FindMessage(message, window, filterMin, filterMax, true)) {
            if (message->message != WM_QUIT && LoopIsSpinning(&quitCode)) {
                *message = Stamped(nullptr, WM_QUIT, quitCode, 0);
                return 0;
            }
            return message->message != WM_QUIT ? TRUE : FALSE;
        }
        if (!host::WaitEvents(NextTimerDelay(), &quitCode)) {
            *message = Stamped(nullptr, WM_QUIT, quitCode, 0);
            return 0;
        }
    }
}

BOOL WINAPI PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
    if (message == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (FilterIsBad(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return FindMessage(message, window, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0) ? TRUE : FALSE;
}

BOOL WINAPI TranslateMessage(const MSG* message) {
    if (message == nullptr) {
        return FALSE;
    }
    switch (message->message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            // A plain keyboard without shift state: letters come out small.
            UINT key = static_cast<UINT>(message->wParam);
            char c = 0;
            if (key >= 'A' && key <= 'Z') {
                c = static_cast<char>(key - 'A' + 'a');
            } else if ((key >= '0' && key <= '9') || key == VK_SPACE) {
                c = static_cast<char>(key);
            } else if (key == VK_RETURN) {
                c = '\r';
            } else if (key == VK_ESCAPE) {
                c = 0x1B;
            } else if (key == VK_BACK) {
                c = '\b';
            } else if (key == VK_TAB) {
                c = '\t';
            }
            if (c != 0) {
                UINT charMessage = message->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
                PostMessageA(message->hwnd, charMessage, static_cast<WPARAM>(static_cast<unsigned char>(c)),
                             message->lParam);
            }
            return TRUE;
        }
        case WM_KEYUP:
        case WM_SYSKEYUP:
            return TRUE;
        default:
            return FALSE;
    }
}

LRESULT WINAPI DispatchMessageA(const MSG* message) {
    if (message == nullptr) {
        return 0;
    }
    if (message->message == WM_TIMER && message->lParam != 0) {
        // Only the procedure of a live timer is called: a WM_TIMER posted
        // with a made-up address in lParam calls nothing.
        auto proc = reinterpret_cast<TIMERPROC>(message->lParam);
        if (IsLiveTimerProc(message->hwnd, message->wParam, proc)) {
            proc(message->hwnd, WM_TIMER, message->wParam, GetTickCount());
        }
        return 0;
    }
    if (message->hwnd == nullptr) {
        return 0;  // a thread message: no window to call
    }
    return SendMessageA(message->hwnd, message->message, message->wParam, message->lParam);
}
