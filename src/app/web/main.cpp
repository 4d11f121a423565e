// The web front end: the game in a page. The display's frame callback runs
// the 15 ms ticks that are due by the clock and shows the last frame on the
// canvas; key events reach the game between ticks, as in the desktop window.
// The page turns the browser's events into the front-end core's calls and
// puts frames and sound on the canvas and speaker; the core decides the rest:
// it records every session, keeps the high scores, plays the sound, or
// watches a recording instead when the page was loaded to (page.js).
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <array>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

#include "app/front_end/front_end_core.h"
#include "app/front_end/front_end_window.h"
#include "app/front_end/gamepad_keys.h"
#include "app/front_end/playing.h"
#include "app/front_end/scale_layout.h"
#include "app/front_end/session_ticket.h"
#include "app/front_end/watching.h"
#include "app/replay/recording.h"
#include "app/session/script.h"
#include "app/session/tick_and_field.h"
#include "app/session/tick_pacer.h"
#include "app/storage/kept_games.h"
#include "app/storage/player_settings.h"
#include "app/web/frame_copy.h"
#include "app/web/key_map.h"
#include "app/web/page.h"
#include "app/web/page_storage.h"
#include "app/web/page_store.h"

namespace {

using kolvane::KeyEvent;
using kolvane::web::Storage;

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

// The page as the core sees it: the canvas, Web Audio and alert dialogs.
class PageWindow final : public kolvane::FrontEndWindow {
public:
    PageWindow() : rgba_(kolvane::kClientWidth, kolvane::kClientHeight) {}

    void present(const kolvane::gfx::Surface& frame) override {
        rgba_.convert(frame);
        kolvane_present(rgba_.bytes(), rgba_.width(), rgba_.height());
    }
    bool fullscreen() const override { return kolvane_fullscreen() != 0; }
    void setFullscreen(bool on) override {
        if (on != fullscreen()) kolvane_toggle_fullscreen();
    }
    void setPointerHidden(bool hidden) override { kolvane_set_pointer_hidden(hidden ? 1 : 0); }
    void playSound(kolvane::sound::GameSound& /*sound*/) override {
        // Browsers start audio only after a key, click or touch; page.js then
        // pulls the samples through kolvane_sound_block.
        kolvane_start_audio_on_gesture();
    }
    void stopSound() override {}
    void showMuted(bool muted) override { kolvane_show_muted(muted ? 1 : 0); }
    void messageBox(const char* text, const char* caption) override {
        kolvane_alert(text, caption);
    }
    void end() override { kolvane_show_ended(kWatchPage ? 1 : 0); }

private:
    kolvane::web::RgbaFrame rgba_;
};

// What the page that plays keeps: the store, the session's keeping, playing,
// from the leaderboard's ticket when the page got one for this session.
struct PlayParts {
    explicit PlayParts(const kolvane::Settings& settings)
        : kept(store, kolvane::KeptGamesSetup{settings.record, "web page", kolvane_time_seconds(),
                                              static_cast<std::uint64_t>(kolvane_instance())}),
          playing(kept, settings.showScores) {
        std::array<char, kolvane::kMaxTicketLength + 1> token{};
        const int clock = kolvane_ticket(token.data(), static_cast<int>(token.size()));
        if (clock >= 0) playing.useTicket(kolvane::SessionTicket{clock, token.data()});
    }
    // Always: the page shows "nothing to watch" otherwise.
    static bool ready() { return true; }
    kolvane::SessionMode& mode() { return playing; }
    void prune(const char* names) const { store.prune(names); }

    kolvane::web::PageStore store;
    kolvane::KeptGames kept;
    kolvane::Playing playing;
};

// What the page that watches has: the recording's viewer, over the recording
// the page was loaded to watch (taken once, by ready()).
struct WatchParts {
    explicit WatchParts(const kolvane::Settings& /*settings*/)
        : watching(std::move(watched()->script)) {}
    static bool ready() { return watched().has_value(); }
    kolvane::SessionMode& mode() { return watching; }
    void prune(const char* /*names*/) const {}

    static std::optional<kolvane::Recording>& watched() {
        static std::optional<kolvane::Recording> recording = recordingToWatch();
        return recording;
    }

    kolvane::Watching watching;
};

// Each program has only its own parts, which keeps each wasm small.
using Parts = std::conditional_t<kWatchPage, WatchParts, PlayParts>;

// The page's program: its window, stores and mode, the core between them.
class WebGame {
public:
    WebGame()
        : settings_(pageSettings()),
          parts_(settings_.current()),
          core_(window_, parts_.mode(),
                kolvane::FrontEndSetup{settings_, settingsStore_, kolvane_time_seconds()}) {}
    WebGame(const WebGame&) = delete;
    WebGame& operator=(const WebGame&) = delete;

    // The first frame before the first tick; then the sound and the stores,
    // which would otherwise delay it.
    void start() {
        kolvane_page_ready();
        core_.start();
        core_.afterFirstFrame();
    }

    // One display frame; false once the program has ended.
    bool frame(double nowMs) {
        if (core_.ended()) return false;
        // The first frame only starts the count.
        if (!pacer_) {
            pacer_.emplace(nowMs, kMaxTicksPerFrame);
            return true;
        }
        const int due = pacer_->ticksDue(nowMs);
        if (!kWatchPage) kolvane_poll_gamepads();
        core_.tick(due);
        return !core_.ended();
    }

    // True when the page's own action for the key is to be kept from it.
    bool keyDown(const EmscriptenKeyboardEvent& event) {
        if (core_.ended()) return false;
        const KeyEvent key{kolvane::web::virtualKeyFromEvent(event.key, event.code),
                           event.repeat != 0};
        const kolvane::KeyUse use = core_.keyDown(key, event.altKey != 0);
        // The browser keeps its shortcuts (with Ctrl, Alt or Meta, and the
        // function keys), except for keys that would scroll the page.
        const bool modified = event.ctrlKey || event.altKey || event.metaKey;
        const bool functionKey = key.key >= 0x70 && key.key <= 0x7B;
        return kolvane::web::movesThePage(key.key) || (!modified && !functionKey) ||
               use == kolvane::KeyUse::kFrontEnd;
    }

    bool keyUp(const EmscriptenKeyboardEvent& event) {
        if (core_.ended()) return false;
        const int key = kolvane::web::virtualKeyFromEvent(event.key, event.code);
        core_.keyUp(key);
        return kolvane::web::movesThePage(key);
    }

    // A key of the touch pad.
    void touchKey(int key, bool down) {
        if (down) {
            core_.keyDown(KeyEvent{key, false});
        } else {
            core_.keyUp(key);
        }
    }
    void padState(int slot, const kolvane::PadState& pad) { core_.padState(slot, pad); }
    void lostFocus() { core_.focusLost(); }
    void toggleMute() { core_.toggleMute(); }
    void chooseScaleMode(kolvane::ScaleMode mode) { core_.setScaleMode(mode); }
    kolvane::ScaleMode scaleMode() const { return core_.settings().scaleMode; }
    void keepNow() { core_.keepNow(); }
    void pruneRecordings(const char* names) { parts_.prune(names); }

    float* soundBlock(int frames) {
        kolvane::sound::GameSound* sound = core_.sound();
        if (sound == nullptr || frames <= 0 || frames > kMaxSoundFrames) return nullptr;
        sound->render(soundBlock_.data(), frames);
        return soundBlock_.data();
    }

private:
    static constexpr int kMaxTicksPerFrame = 4;
    static constexpr int kMaxSoundFrames = 4096;

    // No options in a page: the run's settings are the kept ones.
    static kolvane::PlayerSettings pageSettings() {
        const kolvane::Settings kept = kolvane::web::loadPageSettings();
        return kolvane::PlayerSettings(kept, kept);
    }

    PageWindow window_;
    kolvane::web::PageSettings settingsStore_;
    kolvane::PlayerSettings settings_;
    Parts parts_;
    kolvane::FrontEndCore core_;
    std::array<float, kMaxSoundFrames> soundBlock_{};
    std::optional<kolvane::TickPacer> pacer_;
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
    if (theGame != nullptr) theGame->keepNow();
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
    // Nothing to watch (the recording was refused): the page says why.
    if (!Parts::ready()) {
        kolvane_page_ready();
        kolvane_show_ended(2);
        return 0;
    }
    // Lives as long as the page: never destroyed, as the runtime stays up
    // after main returns.
    WebGame& game = *new WebGame();
    theGame = &game;
    game.start();
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, &game, EM_FALSE, onKeyDown);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, &game, EM_FALSE, onKeyUp);
    emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, &game, EM_FALSE, onBlur);
    emscripten_request_animation_frame_loop(onFrame, &game);
    return 0;
}
