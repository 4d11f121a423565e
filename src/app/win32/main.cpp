// The Windows front end: one fixed-size window whose procedure runs the whole
// game. A 15 ms window timer ticks the world and invalidates the client area;
// a paint draws the frame into the game's own surface and copies it to the
// window in one block; key-downs go to the key rules. One thread, no locks.
#include <windows.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "app/front_end.h"
#include "app/session.h"
#include "app/version.h"
#include "app/win32/console.h"
#include "app/win32/frame_copy.h"
#include "app/win32/key_event.h"
#include "app/window_options.h"
#include "game/game_world.h"

namespace {

using kolvane::Rect;

constexpr UINT_PTR kTimerId = 1;
constexpr int kWindowX = 100;
constexpr int kWindowY = 100;
// The outer window, frame and caption included; the client area is what
// Windows leaves of it.
constexpr int kWindowWidth = 740;
constexpr int kWindowHeight = 580;

// The game's message boxes, owned by the window once it exists.
class WindowMessageBoxes final : public kolvane::MessageBoxes {
public:
    void messageBox(const char* text, const char* caption) override {
        MessageBoxA(window, text, caption, MB_OK);
    }
    HWND window = nullptr;
};

// The game: every object and the session, in static storage for the whole
// process (the window procedure has no other way to them). The clock starts
// at the second the program started.
struct Game {
    kolvane::GameWorld world;
    kolvane::Session session{
        world, kolvane::SessionStart{static_cast<std::int32_t>(std::time(nullptr)), 1, Rect{}}};
    WindowMessageBoxes boxes;
};

Game& game() {
    static Game instance;
    return instance;
}

void paint(HWND window, Game& g, const Rect& client) {
    PAINTSTRUCT record{};
    HDC paintDC = BeginPaint(window, &record);
    const kolvane::gfx::Surface& frame = g.session.paint();
    kolvane::win32::copyFrame(paintDC, frame, client);
    EndPaint(window, &record);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The client rectangle is read afresh for every message, before anything else.
    RECT clientRect{};
    GetClientRect(window, &clientRect);
    const Rect client{clientRect.left, clientRect.top, clientRect.right, clientRect.bottom};
    Game& g = game();
    g.session.setClient(client);

    switch (message) {
        case WM_CREATE:
            g.boxes.window = window;
            g.session.setMessageBoxes(&g.boxes);
            g.session.start();
            SetTimer(window, kTimerId, kolvane::kTickMilliseconds, nullptr);
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
            g.session.keyDown(kolvane::win32::keyEventFromMessage(wParam, lParam));
            if (g.session.quitRequested()) PostQuitMessage(0);
            return 0;
        case WM_KEYUP:
            g.session.keyUp(static_cast<int>(wParam & 0xFF));
            return 0;
        case WM_KILLFOCUS:
            // No key-up comes for the keys down now.
            g.session.releaseAllKeys();
            return 0;
        case WM_TIMER:
            g.session.tick();
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

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int showCommand) {
    kolvane::WindowOptions options;
    std::string error;
    if (!kolvane::parseWindowOptions(__argc, __argv, options, error)) {
        const std::string text = "kolvane: " + error + "\n" + kolvane::windowUsage();
        kolvane::win32::writeToConsole(text.c_str(), true);
        return 2;
    }
    if (options.help) {
        kolvane::win32::writeToConsole(kolvane::windowUsage(), false);
        return 0;
    }
    if (options.version) {
        const std::string text = std::string("kolvane ") + kolvane::kVersion + "\n";
        kolvane::win32::writeToConsole(text.c_str(), false);
        return 0;
    }
    game();
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
    windowClass.lpszClassName = kolvane::kWindowTitle;
    windowClass.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
    if (RegisterClassExA(&windowClass) == 0) {
        failure("Could not register window!");
        DeleteObject(background);
        return 1;
    }

    // Creating the window runs WM_CREATE: the title screen and the timer.
    HWND window = CreateWindowExA(WS_EX_CLIENTEDGE, kolvane::kWindowTitle, kolvane::kWindowTitle,
                                  WS_CAPTION | WS_SYSMENU, kWindowX, kWindowY, kWindowWidth,
                                  kWindowHeight, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        failure("Could not create window!");
        DeleteObject(background);
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
    DeleteObject(background);
    return static_cast<int>(message.wParam);
}
