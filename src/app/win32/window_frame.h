#pragma once
// The window's frame on screens of every size and density: per-monitor DPI
// awareness (so Windows never stretches and blurs the picture: the client
// area is counted in the monitor's own pixels), the size the window opens
// at, and borderless fullscreen.
#include <windows.h>

namespace kolvane::win32 {

// A caption with the system menu, minimise and maximise boxes and a sizing
// border, and the sunken edge around the client area.
inline constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW;
inline constexpr DWORD kWindowExStyle = WS_EX_CLIENTEDGE;

// Per-monitor awareness where Windows has it (10 from 1703 on), else
// system-wide awareness (Vista on). Call before the first window.
void declareDpiAwareness();

// The outer window for a client area of the given size.
SIZE outerSize(int clientWidth, int clientHeight);

// Where the window opens: its client area at `scale` times the frame, or, with
// no scale asked (0), at the largest whole multiple that fits the work area of
// the monitor it opens on. At 1x the window sits at (100, 100), larger in the
// middle of the work area.
struct Opening {
    RECT outer{};
    int scale = 1;
};
Opening openingRect(int scale);

// Makes the client area exactly width x height, whatever the theme's frame
// metrics turned out to be.
void fitClientArea(HWND window, int width, int height);

// Borderless fullscreen over the window's monitor, and back to the place
// the window had.
class Fullscreen {
public:
    bool on() const { return on_; }
    void set(HWND window, bool on);

private:
    bool on_ = false;
    WINDOWPLACEMENT windowed_{};
};

}  // namespace kolvane::win32
