#include "app/win32/window_game.h"

#include <cstdio>
#include <ctime>
#include <optional>
#include <string>

#include "app/front_end/desktop_keeping.h"
#include "app/front_end/front_end_core.h"
#include "app/front_end/front_end_window.h"
#include "app/front_end/window_program.h"
#include "app/session/tick_and_field.h"
#include "app/win32/key_event.h"
#include "app/win32/wave_out.h"
#include "app/win32/window_frame.h"
#include "app/win32/window_picture.h"
#include "app/win32/xinput_pads.h"

namespace kolvane::win32 {

namespace {

constexpr UINT_PTR kTimerId = 1;
// WM_DPICHANGED, named here since older SDKs lack it.
constexpr UINT kDpiChangedMessage = 0x02E0;
// Bit 29 of a key message's data: Alt was held.
constexpr LPARAM kAltBit = LPARAM{1} << 29;

// The window as the core sees it, and everything the window procedure
// reaches through the window's user data.
class Win32Window final : public FrontEndWindow {
public:
    void present(const gfx::Surface& frame) override { picture.draw(handle, frame); }
    bool fullscreen() const override { return fullscreenState.on(); }
    void setFullscreen(bool on) override { fullscreenState.set(handle, on); }
    // WM_SETCURSOR keeps the pointer so as the mouse moves; this changes it
    // at once, if the mouse is over the window.
    void setPointerHidden(bool hidden) override {
        hidingPointer = hidden;
        POINT at{};
        if (GetCursorPos(&at) != FALSE && WindowFromPoint(at) == handle) {
            SetCursor(hidden ? nullptr : LoadCursorA(nullptr, IDC_ARROW));
        }
    }
    void playSound(sound::GameSound& sound) override {
        std::string error;
        speaker.emplace(sound, error);
        if (!speaker->playing()) {
            std::fprintf(stderr, "kolvane: no sound (%s); playing silently\n", error.c_str());
            std::fflush(stderr);
        }
    }
    void stopSound() override { speaker.reset(); }
    void messageBox(const char* text, const char* caption) override {
        MessageBoxA(handle, text, caption, MB_OK);
    }
    // Escape leaves the loop with the window still there; it goes with the process.
    void end() override { PostQuitMessage(0); }

    HWND handle = nullptr;
    FrontEndCore* core = nullptr;
    WindowPicture picture;
    Fullscreen fullscreenState;
    std::optional<WaveOut> speaker;
    std::optional<XInputPads> pads;  // from the first frame on
    bool hidingPointer = false;
};

void present(HWND window, const Win32Window& w) {
    PAINTSTRUCT record{};
    HDC paintDC = BeginPaint(window, &record);
    w.picture.present(paintDC, record.rcPaint);
    EndPaint(window, &record);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* found = reinterpret_cast<Win32Window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (found == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    Win32Window& w = *found;
    FrontEndCore& core = *w.core;

    switch (message) {
        case WM_CREATE: {
            w.handle = window;
            RECT client{};
            GetClientRect(window, &client);
            w.picture.resize(window, client.right, client.bottom);
            // The first frame, before the first tick.
            core.start();
            SetTimer(window, kTimerId, kTickMilliseconds, nullptr);
            return 0;
        }
        case WM_DESTROY:
            KillTimer(window, kTimerId);
            PostQuitMessage(0);
            return 0;
        case WM_CLOSE:
            core.close();
            KillTimer(window, kTimerId);
            DestroyWindow(window);
            return 0;
        case WM_SIZE:
            w.picture.resize(window, LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_ERASEBKGND:
            // The picture covers every pixel of the client area.
            return 1;
        case WM_PAINT:
            present(window, w);
            return 0;
        case WM_TIMER:
            if (w.pads) w.pads->poll(core);
            core.tick();
            return 0;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            // Alt+F4 and the system menu stay the system's, as they always were.
            const KeyUse use = core.keyDown(keyEventFromMessage(wParam, lParam),
                                            (lParam & kAltBit) != 0, message == WM_SYSKEYDOWN);
            if (use != KeyUse::kSystem) return 0;
            break;
        }
        case WM_KEYUP:
        case WM_SYSKEYUP:
            core.keyUp(static_cast<int>(wParam & 0xFF));
            if (message == WM_KEYUP) return 0;
            break;
        case WM_SYSCHAR:
            // Alt+Enter is ours: no beep for a menu key that isn't there.
            if (wParam == '\r') return 0;
            break;
        case WM_KILLFOCUS:
            // No key-up comes for the keys down now.
            core.focusLost();
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT && w.hidingPointer) {
                SetCursor(nullptr);
                return TRUE;
            }
            break;
        case WM_GETMINMAXINFO: {
            // No smaller than the frame itself.
            const SIZE least = outerSize(kClientWidth, kClientHeight);
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{least.cx, least.cy};
            return 0;
        }
        case kDpiChangedMessage:
            // Moved to a monitor of another density: the size Windows suggests.
            if (!w.fullscreenState.on()) {
                const auto* suggested = reinterpret_cast<const RECT*>(lParam);
                SetWindowPos(window, nullptr, suggested->left, suggested->top,
                             suggested->right - suggested->left, suggested->bottom - suggested->top,
                             SWP_NOZORDER | SWP_NOACTIVATE);
            }
            return 0;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void failure(const char* what) {
    std::fprintf(stderr, "kolvane: %s\n", what);
    std::fflush(stderr);
    MessageBoxA(nullptr, kNoWindowText, kNoWindowCaption, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

int runWindowGame(WindowLaunch& launch, HINSTANCE instance, int showCommand) {
    const std::int64_t startedAt = std::time(nullptr);
    DesktopKeeping keeping(launch, "Win32 window on Windows", startedAt);
    const Settings& run = keeping.settings();
    Win32Window w;
    w.picture.setMode(run.scaleMode);
    FrontEndCore core(w, keeping.mode(), keeping.setup());
    w.core = &core;

    HBRUSH background = CreateSolidBrush(RGB(0, 0, 0));
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = 0;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = kWindowTitle;
    windowClass.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
    if (RegisterClassExA(&windowClass) == 0) {
        failure("could not register the window class");
        DeleteObject(background);
        return 1;
    }

    // Creating the window runs WM_CREATE: the title screen and the timer.
    const Opening opening = openingRect(launch.options.scale.value_or(0));
    const RECT& outer = opening.outer;
    HWND window = CreateWindowExA(kWindowExStyle, kWindowTitle, kWindowTitle, kWindowStyle,
                                  outer.left, outer.top, outer.right - outer.left,
                                  outer.bottom - outer.top, nullptr, nullptr, instance, &w);
    if (window == nullptr) {
        failure("could not create the window");
        DeleteObject(background);
        return 1;
    }
    fitClientArea(window, kClientWidth * opening.scale, kClientHeight * opening.scale);
    ShowWindow(window, showCommand);
    if (run.fullscreen) w.fullscreenState.set(window, true);
    UpdateWindow(window);

    // The sound, the stores and the gamepads after the first frame, which
    // they would otherwise delay.
    core.afterFirstFrame();
    w.pads.emplace();

    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    // The window may outlive the loop (Escape): it no longer reaches the game.
    if (IsWindow(window) != FALSE) SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    DeleteObject(background);
    return static_cast<int>(message.wParam);
}

}  // namespace kolvane::win32
