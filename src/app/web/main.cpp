// The web front end: the game in a page. The display's frame callback runs
// the 15 ms ticks that are due by the clock, each followed by a paint, and
// shows the last frame on the canvas; key events reach the game as key-down
// messages between ticks, as in the desktop window.
#include <emscripten/html5.h>

#include <optional>

#include "app/front_end.h"
#include "app/session.h"
#include "app/tick_pacer.h"
#include "app/web/frame_copy.h"
#include "app/web/key_map.h"
#include "app/web/page.h"
#include "game/game_world.h"

namespace {

using kolvane::KeyEvent;

// The game's message boxes, as alert dialogs.
class PageMessageBoxes final : public kolvane::MessageBoxes {
public:
    void messageBox(const char* text, const char* caption) override {
        kolvane_alert(text, caption);
    }
};

class WebGame {
public:
    WebGame()
        : session_(world_,
                   kolvane::SessionStart{kolvane_time_seconds(), 1, kolvane::kDefaultClient}),
          rgba_(kolvane::kClientWidth, kolvane::kClientHeight) {
        session_.setMessageBoxes(&boxes_);
    }
    WebGame(const WebGame&) = delete;
    WebGame& operator=(const WebGame&) = delete;

    // Window creation, and the first frame before the first tick.
    void start() {
        session_.start();
        present(session_.paint());
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
        for (int i = 0; i < due; ++i) {
            session_.tick();
            session_.paint();
        }
        if (due > 0) present(session_.frame());
        return true;
    }

    // True when the event was the game's (the page then does nothing with it).
    bool keyDown(const EmscriptenKeyboardEvent& event) {
        if (ended_ || event.ctrlKey || event.altKey || event.metaKey) return false;
        const int key = kolvane::web::virtualKeyFromEvent(event.key, event.code);
        if (key == 0) return false;
        session_.keyDown(KeyEvent{key, event.repeat != 0});
        if (session_.quitRequested()) end();
        return true;
    }

    bool keyUp(const EmscriptenKeyboardEvent& event) {
        const int key = kolvane::web::virtualKeyFromEvent(event.key, event.code);
        if (key == 0) return false;
        session_.keyUp(key);
        return !ended_;
    }

    void lostFocus() { session_.releaseAllKeys(); }

private:
    static constexpr int kMaxTicksPerFrame = 4;

    void present(const kolvane::gfx::Surface& frame) {
        rgba_.convert(frame);
        kolvane_present(rgba_.bytes(), rgba_.width(), rgba_.height());
    }

    void end() {
        ended_ = true;
        session_.releaseAllKeys();
        kolvane_show_ended();
    }

    kolvane::GameWorld world_;
    PageMessageBoxes boxes_;
    kolvane::Session session_;
    kolvane::web::RgbaFrame rgba_;
    std::optional<kolvane::TickPacer> pacer_;
    bool ended_ = false;
};

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

int main() {
    // Lives as long as the page; the runtime stays up after main returns.
    static WebGame game;
    game.start();
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, &game, EM_FALSE, onKeyDown);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, &game, EM_FALSE, onKeyUp);
    emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, &game, EM_FALSE, onBlur);
    emscripten_request_animation_frame_loop(onFrame, &game);
    return 0;
}
