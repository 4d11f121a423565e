#pragma once
// The front-end core: every decision a window would otherwise make in its own
// copy, made once. A window (front_end_window.h) hands over its events in its
// own vocabulary (a key down or up with its repeat flag, the focus lost, the
// close box, a gamepad's state, "toggle fullscreen", "toggle mute") and its
// timer's ticks; the core decides where each goes (the game or the viewer,
// by the session's mode), keeps fullscreen and mute in the settings, hides
// the pointer, makes the sound after the first frame, keeps the session
// (through the mode) and tells the window what to show and when to end.
//
//   FrontEndCore core(window, mode, setup);
//   core.start();            // the session, its first frame presented
//   core.afterFirstFrame();  // the sound, the stores
//   ... core.keyDown(...), core.tick(due), ... until core.ended()
//
// Nothing here waits on a disk or a network: stores hand their writes to a
// background writer (app/storage), and network work, when it comes, goes to
// a worker of its own the same way.
#include <cstdint>
#include <memory>
#include <optional>

#include "app/front_end/front_end_window.h"
#include "app/front_end/gamepad_keys.h"
#include "app/front_end/reserved_keys.h"
#include "app/front_end/session_mode.h"
#include "app/session/session.h"
#include "app/settings/settings.h"
#include "app/sound/game_sound.h"
#include "app/storage/player_settings.h"
#include "app/storage/settings_store.h"
#include "core/keys.h"
#include "core/platform.h"

namespace kolvane {

struct GameWorld;

struct FrontEndSetup {
    PlayerSettings& settings;       // this run's, changed by the player's keys
    SettingsStore& settingsStore;   // where the settings to keep go
    std::int64_t wallClockSeconds;  // now, for a session that starts now
};

// Where a key-down went.
enum class KeyUse : std::uint8_t {
    kFrontEnd,  // a key the front end keeps (fullscreen): never the game's
    kGame,      // the game's, or the viewer's while watching
    kSystem,    // a system key left to the platform (Windows' Alt+F4)
};

class FrontEndCore final : private MessageBoxes {
public:
    FrontEndCore(FrontEndWindow& window, SessionMode& mode, const FrontEndSetup& setup);
    ~FrontEndCore();
    FrontEndCore(const FrontEndCore&) = delete;
    FrontEndCore& operator=(const FrontEndCore&) = delete;

    // The window is made: the session starts (from where the mode says:
    // so a ticket handed to Playing before this counts), the title screen's
    // first frame is presented. The window's events count from here on.
    void start();
    // The first frame is on the screen: the sound is made and played, and
    // the stores start (reading the table, making room).
    void afterFirstFrame();

    // The window's events. altHeld: an Alt key is down. systemKey: a key
    // the platform keeps for itself unless the front end takes it (Windows'
    // WM_SYSKEYDOWN); it never reaches the game.
    KeyUse keyDown(KeyEvent key, bool altHeld = false, bool systemKey = false);
    void keyUp(int key);
    void focusLost();
    void close();
    void padState(int slot, const PadState& pad);
    void toggleFullscreen();
    void toggleMute();
    // The page's choice of scaling, kept for the next run.
    void setScaleMode(ScaleMode mode);

    // `due` ticks of the window's timer, each ticked and painted; the last
    // frame is then presented. A window ticks every 15 ms (a TickPacer says
    // when).
    void tick(int due = 1);
    // The page is going away: the session kept now.
    void keepNow();

    bool ended() const { return ended_; }
    const Settings& settings() const { return settings_.current(); }
    // After start().
    const Session& session() const { return *session_; }
    // Null before afterFirstFrame().
    sound::GameSound* sound() { return sound_ ? &*sound_ : nullptr; }

private:
    void messageBox(const char* text, const char* caption) override;
    void change(const Settings& updated);
    void updatePointer();
    void endIfDone();
    // The session runs and has not ended: events count.
    bool live() const { return session_ && !ended_; }

    FrontEndWindow& window_;
    SessionMode& mode_;
    PlayerSettings& settings_;
    SettingsStore& settingsStore_;
    std::int64_t wallClockSeconds_;
    std::unique_ptr<GameWorld> world_;
    std::optional<Session> session_;  // from start() on
    ReservedKeys reserved_;
    std::optional<sound::GameSound> sound_;
    bool pointerHidden_ = false;
    bool ended_ = false;
};

}  // namespace kolvane
