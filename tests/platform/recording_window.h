// Windows whose procedure records every message it gets, for the layer's
// tests. Each test starts from headless::Reset().
#pragma once

#include "platform/headless/headless.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <vector>

namespace platform_test {

struct Received {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// What every recording window got, in order, and per-window reactions.
struct Recorder {
    std::vector<Received> log;
    // Called for a message before the default handling; return a value to
    // finish the message there.
    std::map<UINT, std::function<std::optional<LRESULT>(HWND, WPARAM, LPARAM)>> reactions;

    std::vector<UINT> MessagesOf(HWND window, std::initializer_list<UINT> interesting = {}) const {
        std::vector<UINT> messages;
        for (const Received& r : log) {
            bool wanted = interesting.size() == 0;
            for (UINT m : interesting) {
                wanted = wanted || r.message == m;
            }
            if (r.window == window && wanted) {
                messages.push_back(r.message);
            }
        }
        return messages;
    }
    size_t Count(HWND window, UINT message) const {
        size_t n = 0;
        for (const Received& r : log) {
            n += r.window == window && r.message == message;
        }
        return n;
    }
};

inline Recorder* recorder = nullptr;

inline LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (recorder != nullptr) {
        recorder->log.push_back(Received{window, message, wParam, lParam});
        auto it = recorder->reactions.find(message);
        if (it != recorder->reactions.end()) {
            if (auto result = it->second(window, wParam, lParam)) {
                return *result;
            }
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

constexpr const char* kRecordingClass = "RecordingWindow";

// Resets the layer and registers the recording class.
class LayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        headless::Reset();
        recorder = &record;
        WNDCLASSA windowClass{};
        windowClass.style = classStyle;
        windowClass.lpfnWndProc = RecordingProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = classCursor;
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        windowClass.lpszClassName = kRecordingClass;
        ASSERT_NE(RegisterClassA(&windowClass), 0);
    }
    void TearDown() override {
        headless::Reset();
        recorder = nullptr;
    }

    HWND TopLevel(int x, int y, int width, int height, DWORD style = WS_POPUP | WS_VISIBLE, DWORD exStyle = 0,
                  const char* title = "top") {
        return CreateWindowExA(exStyle, kRecordingClass, title, style, x, y, width, height, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    }
    HWND Child(HWND parent, int id, int x, int y, int width, int height, DWORD style = WS_CHILD | WS_VISIBLE) {
        return CreateWindowExA(0, kRecordingClass, "child", style, x, y, width, height, parent,
                               reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), GetModuleHandleA(nullptr),
                               nullptr);
    }
    // Retrieves and dispatches every message the queue has now, without
    // waiting; returns what was retrieved.
    std::vector<MSG> Pump(HWND filter = nullptr) {
        std::vector<MSG> messages;
        MSG msg;
        for (int guard = 0; guard < 10000 && PeekMessageA(&msg, filter, 0, 0, PM_REMOVE); ++guard) {
            messages.push_back(msg);
            if (msg.message == WM_QUIT) {
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        return messages;
    }

    Recorder record;
    UINT classStyle = CS_DBLCLKS;
    HCURSOR classCursor = nullptr;
};

}  // namespace platform_test
