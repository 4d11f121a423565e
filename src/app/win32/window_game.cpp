#include "app/win32/window_game.h"

#include <cstdio>
#include <ctime>
#include <optional>
#include <string>
#include <utility>

#include "app/front_end/pointer.h"
#include "app/front_end/reserved_keys.h"
#include "app/replay/recording.h"
#include "app/replay/replay_viewer.h"
#include "app/scores/score_overlay.h"
#include "app/session/script_player.h"
#include "app/session/session.h"
#include "app/session/tick_and_field.h"
#include "app/settings/window_options.h"
#include "app/sound/game_sound.h"
#include "app/storage/data_folders.h"
#include "app/storage/kept_games.h"
#include "app/storage/player_settings.h"
#include "app/win32/key_event.h"
#include "app/win32/wave_out.h"
#include "app/win32/window_frame.h"
#include "app/win32/window_picture.h"
#include "app/win32/xinput_pads.h"
#include "game/game_world.h"

namespace kolvane::win32 {

namespace {

constexpr UINT_PTR kTimerId = 1;
// WM_DPICHANGED, named here since older SDKs lack it.
constexpr UINT kDpiChangedMessage = 0x02E0;
// Bit 29 of a key message's data: Alt was held.
constexpr LPARAM kAltBit = LPARAM{1} << 29;

// The game's message boxes, over the window.
class WindowMessageBoxes final : public MessageBoxes {
public:
    void messageBox(const char* text, const char* caption) override {
        MessageBoxA(window, text, caption, MB_OK);
    }
    HWND window = nullptr;
};

// Everything the window procedure reaches, through the window's user data.
// While a recording is watched (`viewer` set), the keys and the close box are
// the viewer's and nothing reaches the replayed game.
struct WindowGame {
    WindowGame(PlayerSettings& s, Session& played) : settings(s), session(played) {}

    PlayerSettings& settings;
    Session& session;
    KeptGames* kept = nullptr;
    ReplayViewer* viewer = nullptr;
    sound::GameSound* sound = nullptr;  // from the first frame on
    XInputPads* pads = nullptr;         // from the first frame on, unless watching
    WindowMessageBoxes boxes;
    ScoreOverlay overlay;
    ReservedKeys keys;
    WindowPicture picture;
    Fullscreen fullscreen;
    int tableShown = 0;
    bool hidingPointer = false;

    // The frame to show: the game's, with the high-score table over the title screen.
    const gfx::Surface& shown() {
        const bool show =
            kept != nullptr && settings.current().showScores && !session.world().game.running;
        return overlay.compose(session.frame(), show);
    }
};

// The pointer hides in fullscreen and while a game is played. WM_SETCURSOR
// keeps it so as the mouse moves; this changes it at once when the game's
// state does, if the mouse is over the window.
void updatePointer(HWND window, WindowGame& g) {
    const bool hidden = pointerHidden(g.fullscreen.on(), g.session.world());
    if (hidden == g.hidingPointer) return;
    g.hidingPointer = hidden;
    POINT at{};
    if (GetCursorPos(&at) != FALSE && WindowFromPoint(at) == window) {
        SetCursor(hidden ? nullptr : LoadCursorA(nullptr, IDC_ARROW));
    }
}

// F11 and Alt+Enter: fullscreen on or off, remembered for the next run.
void toggleFullscreen(HWND window, WindowGame& g) {
    g.fullscreen.set(window, !g.fullscreen.on());
    updatePointer(window, g);
    Settings changed = g.settings.current();
    changed.fullscreen = g.fullscreen.on();
    g.settings.change(changed);
}

// M: the sound on or off, remembered for the next run.
void toggleMute(WindowGame& g) {
    if (g.sound == nullptr) return;
    g.sound->setMuted(!g.sound->muted());
    Settings changed = g.settings.current();
    changed.muted = g.sound->muted();
    g.settings.change(changed);
}

void tick(HWND window, WindowGame& g) {
    if (g.viewer != nullptr) {
        // The recording's ticks, painted; paused or at its end the frame stays.
        if (g.viewer->advance(g.session) > 0) g.picture.draw(window, g.session.frame());
        return;
    }
    if (g.pads != nullptr) g.pads->poll(g.session);
    // Back with Start quits, as Escape does.
    if (g.session.quitRequested()) {
        PostQuitMessage(0);
        return;
    }
    g.session.tick();
    g.session.paint();
    g.picture.draw(window, g.shown());
    updatePointer(window, g);
    // Files are written after the frame is drawn, never inside the tick.
    g.kept->afterTick(g.session);
    if (g.kept->tableChanges() != g.tableShown) {
        g.tableShown = g.kept->tableChanges();
        g.overlay.setTable(g.kept->table());
    }
}

// A key-down: the front end's keys first, then the viewer's or the game's.
// Returns false for a system key (Alt held, F10) left to Windows.
bool keyDown(HWND window, WindowGame& g, UINT message, WPARAM wParam, LPARAM lParam) {
    const KeyEvent key = keyEventFromMessage(wParam, lParam);
    const ReservedKeys::Outcome outcome = g.keys.keyDown(key, (lParam & kAltBit) != 0);
    if (outcome.command == ReservedCommand::kToggleFullscreen) toggleFullscreen(window, g);
    if (!outcome.forGame) return true;
    // Alt+F4 and the system menu stay the system's, as they always were.
    if (message == WM_SYSKEYDOWN) return false;
    // M also reaches the game, like any key (but never a watched one).
    if (sound::togglesMute(key)) toggleMute(g);
    if (g.viewer != nullptr) {
        g.viewer->keyDown(key);
        if (g.viewer->stopped()) DestroyWindow(window);
        return true;
    }
    g.session.keyDown(key);
    // Escape leaves the loop with the window still there; it goes with the process.
    if (g.session.quitRequested()) PostQuitMessage(0);
    return true;
}

void keyUp(WindowGame& g, WPARAM wParam) {
    const int key = static_cast<int>(wParam & 0xFF);
    if (!g.keys.keyUp(key)) return;
    g.viewer != nullptr ? g.viewer->keyUp(key) : g.session.keyUp(key);
}

void present(HWND window, const WindowGame& g) {
    PAINTSTRUCT record{};
    HDC paintDC = BeginPaint(window, &record);
    g.picture.present(paintDC, record.rcPaint);
    EndPaint(window, &record);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* game = reinterpret_cast<WindowGame*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (game == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    WindowGame& g = *game;

    switch (message) {
        case WM_CREATE: {
            g.boxes.window = window;
            g.session.setMessageBoxes(&g.boxes);
            RECT client{};
            GetClientRect(window, &client);
            g.picture.resize(window, client.right, client.bottom);
            g.session.start();
            // The first frame, before the first tick.
            g.session.paint();
            g.picture.draw(window, g.shown());
            SetTimer(window, kTimerId, kTickMilliseconds, nullptr);
            return 0;
        }
        case WM_DESTROY:
            KillTimer(window, kTimerId);
            PostQuitMessage(0);
            return 0;
        case WM_CLOSE:
            if (g.viewer != nullptr) {
                g.viewer->stop();
            } else {
                g.session.quit();
            }
            KillTimer(window, kTimerId);
            DestroyWindow(window);
            return 0;
        case WM_SIZE:
            g.picture.resize(window, LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_ERASEBKGND:
            // The picture covers every pixel of the client area.
            return 1;
        case WM_PAINT:
            present(window, g);
            return 0;
        case WM_TIMER:
            tick(window, g);
            return 0;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (keyDown(window, g, message, wParam, lParam)) return 0;
            break;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            keyUp(g, wParam);
            if (message == WM_KEYUP) return 0;
            break;
        case WM_SYSCHAR:
            // Alt+Enter is ours: no beep for a menu key that isn't there.
            if (wParam == '\r') return 0;
            break;
        case WM_KILLFOCUS:
            // No key-up comes for the keys down now.
            g.viewer != nullptr ? g.viewer->releaseAllKeys() : g.session.releaseAllKeys();
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT && g.hidingPointer) {
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
            if (!g.fullscreen.on()) {
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

void failure(const char* text) {
    MessageBoxA(nullptr, text, "Dodozu", MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

int runWindowGame(const WindowOptions& options, HINSTANCE instance, int showCommand,
                  Recording* replay) {
    PlayerSettings settings(configFolder(), options, stderr);
    const Settings& run = settings.current();

    const std::int64_t startedAt = std::time(nullptr);
    // The game lives in static storage for the whole process.
    static GameWorld world;
    Session session(world, replay != nullptr ? sessionStartOf(replay->script.settings)
                                             : SessionStart{static_cast<std::int32_t>(startedAt), 1,
                                                            kDefaultClient});
    WindowGame game{settings, session};
    game.picture.setMode(run.scaleMode);

    // Watching a recording, or playing: then the session is recorded and its
    // games go into the high-score table, shown over the title screen.
    std::optional<ReplayViewer> viewer;
    std::optional<KeptGames> kept;
    if (replay != nullptr) {
        viewer.emplace(std::move(replay->script));  // one copy of a long recording
        game.viewer = &*viewer;
    } else {
        kept.emplace(KeptGamesSetup{dataFolder(), run.record, "Win32 window on Windows", startedAt,
                                    processId(), stderr});
        kept->attach(session);
        game.kept = &*kept;
        game.overlay.setTable(kept->table());
        game.tableShown = kept->tableChanges();
    }

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
        failure("Could not register window!");
        DeleteObject(background);
        return 1;
    }

    // Creating the window runs WM_CREATE: the title screen and the timer.
    const Opening opening = openingRect(options.scale.value_or(0));
    const RECT& outer = opening.outer;
    HWND window = CreateWindowExA(kWindowExStyle, kWindowTitle, kWindowTitle, kWindowStyle,
                                  outer.left, outer.top, outer.right - outer.left,
                                  outer.bottom - outer.top, nullptr, nullptr, instance, &game);
    if (window == nullptr) {
        failure("Could not create window!");
        DeleteObject(background);
        return 1;
    }
    fitClientArea(window, kClientWidth * opening.scale, kClientHeight * opening.scale);
    ShowWindow(window, showCommand);
    if (run.fullscreen) game.fullscreen.set(window, true);
    UpdateWindow(window);

    // The sound and the gamepads after the first frame, which they would
    // otherwise delay.
    sound::GameSound sound(run.volume, run.muted);
    session.addListener(sound.listener());
    game.sound = &sound;
    std::optional<XInputPads> pads;
    if (replay == nullptr) game.pads = &pads.emplace();
    std::string soundError;
    const WaveOut speaker(sound, soundError);
    if (!speaker.playing()) {
        std::fprintf(stderr, "kolvane: no sound (%s); playing silently\n", soundError.c_str());
        std::fflush(stderr);
    }

    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    // The window may outlive the loop (Escape): it no longer reaches the game.
    if (IsWindow(window) != FALSE) SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    if (kept) kept->finish(session);
    DeleteObject(background);
    return static_cast<int>(message.wParam);
}

}  // namespace kolvane::win32
