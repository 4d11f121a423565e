// The Windows front end: one fixed-size window whose procedure runs the whole
// game. A 15 ms window timer ticks the world and invalidates the client area;
// a paint draws the frame into the game's own surface and copies it to the
// window in one block; key-downs go to the key rules. One thread, no locks.
#include <windows.h>

#include "app/frame_cycle.h"
#include "app/win32/frame_copy.h"
#include "app/win32/win32_platform.h"
#include "core/random.h"
#include "game/world.h"

namespace {

using kolvane::Rect;

constexpr char kClassName[] = "Kolvane";
constexpr char kTitle[] = "Kolvane";
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTickMilliseconds = 15;
constexpr int kWindowX = 100;
constexpr int kWindowY = 100;
constexpr int kWindowWidth = 740;
constexpr int kWindowHeight = 580;

// The game: every object, the platform and the frame cycle, in static storage
// for the whole process (the window procedure has no other way to them).
struct Game {
    kolvane::World world;
    kolvane::win32::Win32Platform platform;
    kolvane::FrameCycle cycle{world, platform};
};

Game& game() {
    static Game instance;
    return instance;
}

void paint(HWND window, Game& g, const Rect& client) {
    PAINTSTRUCT record{};
    HDC paintDC = BeginPaint(window, &record);
    const kolvane::gfx::Surface& frame = g.cycle.paint(client);
    kolvane::win32::copyFrame(paintDC, frame, client);
    EndPaint(window, &record);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The client rectangle is read afresh for every message, before anything else.
    RECT clientRect{};
    GetClientRect(window, &clientRect);
    const Rect client{clientRect.left, clientRect.top, clientRect.right, clientRect.bottom};
    Game& g = game();

    switch (message) {
        case WM_CREATE:
            g.platform.setWindow(window);
            g.cycle.create(client);
            SetTimer(window, kTimerId, kTickMilliseconds, nullptr);
            return 0;
        case WM_DESTROY:
            KillTimer(window, kTimerId);
            PostQuitMessage(0);
            return 0;
        case WM_PAINT:
            paint(window, g, client);
            return 0;
        case WM_CLOSE:
            KillTimer(window, kTimerId);
            DestroyWindow(window);
            return 0;
        case WM_KEYDOWN:
            // Every key-down is consumed, also the keys the rules ignore.
            // lParam's bits 0..31 are the key data (bit 30: an auto-repeat).
            g.cycle.keyDown(client, static_cast<int>(wParam),
                            static_cast<std::int64_t>(static_cast<std::uint32_t>(lParam)));
            return 0;
        case WM_TIMER:
            g.cycle.tick(client);
            // The whole client area, without erasing: the paint covers every pixel.
            InvalidateRect(window, &clientRect, FALSE);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

void failure(const char* text) {
    MessageBoxA(nullptr, text, "Dodozu", MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

// The command line is not read.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int showCommand) {
    Game& g = game();
    kolvane::bindRandomClock(&g.platform);
    HBRUSH background = CreateSolidBrush(RGB(0, 0, 0));

    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = 0;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = kClassName;
    windowClass.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
    if (RegisterClassExA(&windowClass) == 0) {
        failure("Could not register window!");
        DeleteObject(background);
        kolvane::bindRandomClock(nullptr);
        return 1;
    }

    // Creating the window runs WM_CREATE: the title screen and the timer.
    HWND window =
        CreateWindowExA(WS_EX_CLIENTEDGE, kClassName, kTitle, WS_CAPTION | WS_SYSMENU, kWindowX,
                        kWindowY, kWindowWidth, kWindowHeight, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        failure("Could not create window!");
        DeleteObject(background);
        kolvane::bindRandomClock(nullptr);
        return 1;
    }
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }

    // Escape leaves the loop with the window still there; it goes with the process.
    g.platform.setWindow(nullptr);
    DeleteObject(background);
    kolvane::bindRandomClock(nullptr);
    return static_cast<int>(message.wParam);
}
