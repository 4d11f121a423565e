#include "app/win32/window_frame.h"

#include "app/front_end/scale_layout.h"
#include "app/session/tick_and_field.h"

namespace kolvane::win32 {

namespace {

constexpr int kWindowX = 100;
constexpr int kWindowY = 100;

// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, named here since older SDKs lack it.
const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-4));
using SetAwarenessContext = BOOL(WINAPI*)(HANDLE);

RECT workAreaAt(POINT point) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromPoint(point, MONITOR_DEFAULTTOPRIMARY), &monitor);
    return monitor.rcWork;
}

}  // namespace

void declareDpiAwareness() {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    const FARPROC found =
        user32 != nullptr ? GetProcAddress(user32, "SetProcessDpiAwarenessContext") : nullptr;
    if (found != nullptr) {
        // Cast through a function type of no arguments, the way GetProcAddress is used.
        auto set = reinterpret_cast<SetAwarenessContext>(reinterpret_cast<void (*)()>(found));
        if (set(kPerMonitorAwareV2) != FALSE) return;
    }
    SetProcessDPIAware();
}

SIZE outerSize(int clientWidth, int clientHeight) {
    RECT rect{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&rect, kWindowStyle, FALSE, kWindowExStyle);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

Opening openingRect(int scale) {
    const RECT work = workAreaAt(POINT{kWindowX, kWindowY});
    const SIZE frame = outerSize(0, 0);
    const int workWidth = work.right - work.left;
    const int workHeight = work.bottom - work.top;
    if (scale <= 0) {
        scale = largestWholeScale(kClientWidth, kClientHeight, workWidth - frame.cx,
                                  workHeight - frame.cy);
    }
    const SIZE outer = outerSize(kClientWidth * scale, kClientHeight * scale);
    if (scale == 1) {
        return {RECT{kWindowX, kWindowY, kWindowX + outer.cx, kWindowY + outer.cy}, scale};
    }
    const int x = work.left + (workWidth - outer.cx) / 2;
    const int y = work.top + (workHeight - outer.cy) / 2;
    return {RECT{x, y, x + outer.cx, y + outer.cy}, scale};
}

void fitClientArea(HWND window, int width, int height) {
    RECT outer{};
    RECT client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    const int dx = width - client.right;
    const int dy = height - client.bottom;
    if (dx == 0 && dy == 0) return;
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + dx,
                 outer.bottom - outer.top + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Fullscreen::set(HWND window, bool on) {
    if (on == on_) return;
    on_ = on;
    if (on) {
        windowed_.length = sizeof windowed_;
        GetWindowPlacement(window, &windowed_);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
        SetWindowLongPtrA(window, GWL_STYLE, WS_POPUP | WS_VISIBLE);
        SetWindowLongPtrA(window, GWL_EXSTYLE, 0);
        const RECT& m = monitor.rcMonitor;
        SetWindowPos(window, HWND_TOP, m.left, m.top, m.right - m.left, m.bottom - m.top,
                     SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
        return;
    }
    SetWindowLongPtrA(window, GWL_STYLE, kWindowStyle | WS_VISIBLE);
    SetWindowLongPtrA(window, GWL_EXSTYLE, kWindowExStyle);
    SetWindowPlacement(window, &windowed_);
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
}

}  // namespace kolvane::win32
