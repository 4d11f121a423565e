// The web front end: the game in a page. The display's frame callback runs
// the 15 ms ticks that are due by the clock, each followed by a paint, and
// shows the last frame on the canvas; key events reach the game as key-down
// messages between ticks, as in the desktop window. The page records every
// session, keeps the high scores, plays the sound, and watches a recording
// instead when it was loaded to (page.js).
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/front_end/gamepad_keys.h"
#include "app/front_end/pointer.h"
#include "app/front_end/reserved_keys.h"
#include "app/front_end/scale_layout.h"
#include "app/replay/recording.h"
#include "app/replay/replay_viewer.h"
#include "app/scores/score_overlay.h"
#include "app/session/script_player.h"
#include "app/session/session.h"
#include "app/session/tick_and_field.h"
#include "app/session/tick_pacer.h"
#include "app/settings/settings.h"
#include "app/sound/game_sound.h"
#include "app/web/frame_copy.h"
#include "app/web/key_map.h"
#include "app/web/page.h"
#include "app/web/page_games.h"
#include "app/web/page_storage.h"
#include "game/game_world.h"

namespace {

using kolvane::KeyEvent;
using kolvane::Settings;
using kolvane::web::Storage;

// The settings, as settings.ini keeps them on the desktop.
constexpr const char* kSettingsItem = "kolvane.settings";
// Two programs are built from this file: the page that plays (and records,
// and keeps the high scores), and the page that watches a recording
// (kolvane-watch.js), each without the other's parts, which keeps each wasm
// small. index.html loads the one it needs.
#ifndef KOLVANE_WATCH_PAGE
#define KOLVANE_WATCH_PAGE 0
#endif
constexpr bool kWatchPage = KOLVANE_WATCH_PAGE != 0;

// A recording the page was loaded to watch (index.html puts it there).
constexpr const char* kWatchItem = "kolvane.watch";
constexpr const char* kWatchNameItem = "kolvane.watch-name";

// The game's message boxes, as alert dialogs.
class PageMessageBoxes final : public kolvane::MessageBoxes {
public:
    void messageBox(const char* text, const char* caption) override {
        kolvane_alert(text, caption);
    }
};

Settings loadSettings() {
    const std::optional<std::string> text = kolvane::web::readItem(Storage::kLocal, kSettingsItem);
    if (!text) return Settings{};
    std::vector<std::string> problems;
    const Settings settings = kolvane::parseSettings(*text, problems);
    for (const std::string& problem : problems) {
        kolvane_log(("settings line " + problem + " (ignored)").c_str());
    }
    return settings;
}

// The recording the page was loaded to watch, taken out of the session's
// storage so that a reload plays the game again; nothing when there is none
// or it is refused (then the page says why, and that there is nothing to
// watch).
std::optional<kolvane::Recording> recordingToWatch() {
    const std::optional<std::string> text = kolvane::web::readItem(Storage::kSession, kWatchItem);
    if (!text) return std::nullopt;
    const std::string name =
        kolvane::web::readItem(Storage::kSession, kWatchNameItem).value_or("recording");
    kolvane::web::removeItem(Storage::kSession, kWatchItem);
    kolvane::web::removeItem(Storage::kSession, kWatchNameItem);
    kolvane::Recording recording;
    std::string error;
    if (!kolvane::readRecording(*text, name, kolvane::kReplayLimits, recording, error)) {
        const std::string problem = "Not a Kolvane recording: " + error;
        kolvane_log(problem.c_str());
        kolvane_show_problem(problem.c_str());
        return std::nullopt;
    }
    return recording;
}

class WebGame {
public:
    explicit WebGame(std::optional<kolvane::Recording> watched)
        : settings_(loadSettings()),
          session_(world_, watched ? kolvane::sessionStartOf(watched->script.settings)
                                   : kolvane::SessionStart{kolvane_time_seconds(), 1,
                                                           kolvane::kDefaultClient}),
          rgba_(kolvane::kClientWidth, kolvane::kClientHeight) {
        session_.setMessageBoxes(&boxes_);
        if (kWatchPage) {
            if (watched) viewer_.emplace(std::move(watched->script));
        } else {
            kept_.emplace(settings_.record, session_.startedFrom().clockSeconds,
                          static_cast<std::uint64_t>(kolvane_instance()));
            kept_->attach(session_);
            overlay_.setTable(kept_->table());
            tableShown_ = kept_->tableChanges();
        }
    }
    WebGame(const WebGame&) = delete;
    WebGame& operator=(const WebGame&) = delete;

    // Window creation, and the first frame before the first tick; then the
    // sound, which would otherwise delay it.
    void start() {
        kolvane_page_ready();
        session_.start();
        present(session_.paint());
        sound_.emplace(settings_.volume, settings_.muted);
        session_.addListener(sound_->listener());
        kolvane_show_muted(settings_.muted ? 1 : 0);
        kolvane_start_audio_on_gesture();
        if (!kWatchPage) kolvane_list_recordings();
    }

    // One display frame; false once the program has ended.
    bool frame(double nowMs) {
        if (ended_) return false;
        // The first frame only starts the count.
        if (!pacer_) {
            pacer_.emplace(nowMs, kMaxTicksPerFrame);
            return true;
        }
        const int due = pacer_->ticksDue(nowMs);
        if (kWatchPage) return watch(due);
        kolvane_poll_gamepads();
        if (ended_) return false;
        for (int i = 0; i < due; ++i) {
            session_.tick();
            session_.paint();
            // Stored after the paint, never inside the tick.
            kept_->afterTick(session_);
        }
        if (kept_->tableChanges() != tableShown_) {
            tableShown_ = kept_->tableChanges();
            overlay_.setTable(kept_->table());
        }
        if (due > 0) present(session_.frame());
        showPointer();
        return true;
    }

    // True when the page's own action for the key is to be kept from it.
    bool keyDown(const EmscriptenKeyboardEvent& event) {
        if (ended_) return false;
        const KeyEvent key{kolvane::web::virtualKeyFromEvent(event.key, event.code),
                           event.repeat != 0};
        const kolvane::ReservedKeys::Outcome outcome = keys_.keyDown(key, event.altKey != 0);
        if (outcome.command == kolvane::ReservedCommand::kToggleFullscreen) {
            kolvane_toggle_fullscreen();
        }
        if (outcome.forGame) gameKeyDown(key);
        // The browser keeps its shortcuts (with Ctrl, Alt or Meta, and the
        // function keys), except for keys that would scroll the page.
        const bool modified = event.ctrlKey || event.altKey || event.metaKey;
        const bool functionKey = key.key >= 0x70 && key.key <= 0x7B;
        return kolvane::web::movesThePage(key.key) || (!modified && !functionKey) ||
               !outcome.forGame;
    }

    bool keyUp(const EmscriptenKeyboardEvent& event) {
        if (ended_) return false;
        const int key = kolvane::web::virtualKeyFromEvent(event.key, event.code);
        if (keys_.keyUp(key)) gameKeyUp(key);
        return kolvane::web::movesThePage(key);
    }

    // A key of the touch pad.
    void touchKey(int key, bool down) {
        if (ended_) return;
        down ? gameKeyDown(KeyEvent{key, false}) : gameKeyUp(key);
    }

    void padState(int slot, const kolvane::PadState& pad) {
        if (kWatchPage || ended_) return;
        kolvane::PadKeyEvents events;
        pads_.update(slot, pad, kolvane::padContextOf(world_), events);
        for (int i = 0; i < events.count && !ended_; ++i) {
            const kolvane::PadKeyEvent& e = events.events[static_cast<std::size_t>(i)];
            e.down ? gameKeyDown(KeyEvent{e.key, false}) : gameKeyUp(e.key);
        }
    }

    // The keys held now are let go: the viewer's while watching (the
    // recording's own held keys stay the recording's), else the game's.
    void lostFocus() {
        if (!kWatchPage) {
            session_.releaseAllKeys();
        } else if (viewer_) {
            viewer_->releaseAllKeys();
        }
    }

    // The mute button, or M.
    void toggleMute() {
        if (!sound_) return;
        sound_->setMuted(!sound_->muted());
        settings_.muted = sound_->muted();
        saveSettings();
        kolvane_show_muted(settings_.muted ? 1 : 0);
    }

    void chooseScaleMode(kolvane::ScaleMode mode) {
        settings_.scaleMode = mode;
        saveSettings();
    }
    kolvane::ScaleMode scaleMode() const { return settings_.scaleMode; }

    void storeRecording() {
        if (!kWatchPage && kept_) kept_->store(session_);
    }
    void pruneRecordings(const char* names) {
        if (!kWatchPage && kept_) kept_->prune(names);
    }

    float* soundBlock(int frames) {
        if (!sound_ || frames <= 0 || frames > kMaxSoundFrames) return nullptr;
        sound_->render(soundBlock_.data(), frames);
        return soundBlock_.data();
    }

private:
    static constexpr int kMaxTicksPerFrame = 4;
    static constexpr int kMaxSoundFrames = 4096;

    void gameKeyDown(KeyEvent key) {
        // M also reaches the game, like any key (but never a watched one).
        if (kolvane::sound::togglesMute(key)) toggleMute();
        if (kWatchPage) {
            if (viewer_) viewer_->keyDown(key);
            if (!viewer_ || viewer_->stopped()) end();
            return;
        }
        session_.keyDown(key);
        if (session_.quitRequested()) end();
    }

    void gameKeyUp(int key) {
        if (!kWatchPage) {
            session_.keyUp(key);
        } else if (viewer_) {
            viewer_->keyUp(key);
        }
    }

    // The recording's ticks, painted; paused or at its end the frame stays.
    bool watch(int due) {
        // Nothing to watch (the recording was refused): the page says why.
        if (!viewer_) {
            ended_ = true;
            kolvane_show_ended(2);
            return false;
        }
        int played = 0;
        for (int i = 0; i < due; ++i) played += viewer_->advance(session_);
        if (played > 0) present(session_.frame());
        showPointer();
        return true;
    }

    void present(const kolvane::gfx::Surface& frame) {
        if (kWatchPage) {
            rgba_.convert(frame);
        } else {
            const bool showScores = settings_.showScores && !world_.game.running;
            rgba_.convert(overlay_.compose(frame, showScores));
        }
        kolvane_present(rgba_.bytes(), rgba_.width(), rgba_.height());
    }

    void showPointer() {
        const bool hidden = kolvane::pointerHidden(kolvane_fullscreen() != 0, world_);
        if (hidden != pointerHidden_) {
            pointerHidden_ = hidden;
            kolvane_set_pointer_hidden(hidden ? 1 : 0);
        }
    }

    void saveSettings() {
        if (!kolvane::web::writeItem(Storage::kLocal, kSettingsItem,
                                     kolvane::formatSettings(settings_))) {
            kolvane_log("the settings can't be kept in this browser");
        }
    }

    void end() {
        ended_ = true;
        session_.releaseAllKeys();
        if (!kWatchPage && kept_) kept_->store(session_);
        if (sound_) sound_->setMuted(true);
        kolvane_show_ended(kWatchPage ? 1 : 0);
    }

    Settings settings_;
    kolvane::GameWorld world_;
    PageMessageBoxes boxes_;
    kolvane::Session session_;
    kolvane::web::RgbaFrame rgba_;
    std::optional<kolvane::web::PageGames> kept_;
    std::optional<kolvane::ReplayViewer> viewer_;
    kolvane::ScoreOverlay overlay_;
    int tableShown_ = 0;
    std::optional<kolvane::sound::GameSound> sound_;
    std::array<float, kMaxSoundFrames> soundBlock_{};
    kolvane::ReservedKeys keys_;
    kolvane::GamepadKeys pads_;
    std::optional<kolvane::TickPacer> pacer_;
    bool pointerHidden_ = false;
    bool ended_ = false;
};

WebGame* theGame = nullptr;

EM_BOOL onFrame(double nowMs, void* game) {
    return static_cast<WebGame*>(game)->frame(nowMs) ? EM_TRUE : EM_FALSE;
}

EM_BOOL onKeyDown(int, const EmscriptenKeyboardEvent* event, void* game) {
    return static_cast<WebGame*>(game)->keyDown(*event) ? EM_TRUE : EM_FALSE;
}

EM_BOOL onKeyUp(int, const EmscriptenKeyboardEvent* event, void* game) {
    return static_cast<WebGame*>(game)->keyUp(*event) ? EM_TRUE : EM_FALSE;
}

EM_BOOL onBlur(int, const EmscriptenFocusEvent*, void* game) {
    static_cast<WebGame*>(game)->lostFocus();
    return EM_FALSE;
}

}  // namespace

// What the page calls (page.js, index.html).
extern "C" {

// frames samples of the sound, mono at 48 kHz, in the module's memory; null
// before the sound is made.
EMSCRIPTEN_KEEPALIVE float* kolvane_sound_block(int frames) {
    return theGame != nullptr ? theGame->soundBlock(frames) : nullptr;
}

EMSCRIPTEN_KEEPALIVE void kolvane_toggle_mute() {
    if (theGame != nullptr) theGame->toggleMute();
}

// The page goes away, or is to show another recording: the recording now.
EMSCRIPTEN_KEEPALIVE void kolvane_store_now() {
    if (theGame != nullptr) theGame->storeRecording();
}

// The names of the recordings kept, one a line.
EMSCRIPTEN_KEEPALIVE void kolvane_prune_recordings(const char* names) {
    if (theGame != nullptr) theGame->pruneRecordings(names);
}

// A key of the touch pad pressed (down 1) or let go (0).
EMSCRIPTEN_KEEPALIVE void kolvane_touch_key(int key, int down) {
    if (theGame != nullptr) theGame->touchKey(key, down != 0);
}

// Gamepad `slot`: buttons as bits (kPad* below), the left stick's axes.
EMSCRIPTEN_KEEPALIVE void kolvane_pad_state(int slot, int buttons, float stickX, float stickY) {
    if (theGame == nullptr || slot < 0 || slot >= kolvane::GamepadKeys::kMaxPads) return;
    kolvane::PadState pad;
    const auto bit = [buttons](int n) { return (buttons >> n & 1) != 0; };
    pad.south = bit(0);
    pad.east = bit(1);
    pad.west = bit(2);
    pad.back = bit(8);
    pad.start = bit(9);
    pad.up = bit(12);
    pad.down = bit(13);
    pad.left = bit(14);
    pad.right = bit(15);
    pad.stickX = stickX;
    pad.stickY = stickY;
    theGame->padState(slot, pad);
}

// Where the frame goes in a stage of width x height device pixels: factor,
// x, y, width, height.
EMSCRIPTEN_KEEPALIVE const std::int32_t* kolvane_layout(int width, int height) {
    static std::array<std::int32_t, 5> place{};
    if (theGame == nullptr) return place.data();
    const kolvane::ScaleLayout layout = kolvane::scaleLayout(
        kolvane::kClientWidth, kolvane::kClientHeight, width, height, theGame->scaleMode());
    place = {layout.factor, layout.x, layout.y, layout.width, layout.height};
    return place.data();
}

// 1: whole pixels only; 0: sharp.
EMSCRIPTEN_KEEPALIVE int kolvane_whole_pixels() {
    return theGame != nullptr && theGame->scaleMode() == kolvane::ScaleMode::kWhole ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void kolvane_choose_whole_pixels(int whole) {
    if (theGame != nullptr) {
        theGame->chooseScaleMode(whole != 0 ? kolvane::ScaleMode::kWhole
                                            : kolvane::ScaleMode::kSharp);
    }
}

}  // extern "C"

int main() {
    // Lives as long as the page; the runtime stays up after main returns.
    static WebGame game(kWatchPage ? recordingToWatch() : std::nullopt);
    theGame = &game;
    game.start();
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, &game, EM_FALSE, onKeyDown);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, &game, EM_FALSE, onKeyUp);
    emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, &game, EM_FALSE, onBlur);
    emscripten_request_animation_frame_loop(onFrame, &game);
    return 0;
}
