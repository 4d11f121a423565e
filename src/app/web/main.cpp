// The web front end: the frame cycle in a page. The display's frame callback
// runs the 15 ms ticks that are due by the clock, each followed by a paint,
// and shows the last frame on the canvas; key events reach the game as
// key-down messages between ticks, as in the desktop window.
#include <emscripten/html5.h>

#include "app/frame_cycle.h"
#include "app/web/frame_clock.h"
#include "app/web/key_map.h"
#include "app/web/page.h"
#include "app/web/rgba_frame.h"
#include "app/web/web_platform.h"
#include "core/random.h"
#include "game/world.h"

namespace {

using kolvane::Rect;

constexpr int kClientWidth = 740;
constexpr int kClientHeight = 580;
constexpr Rect kClientRect{0, 0, kClientWidth, kClientHeight};

class WebGame {
public:
    WebGame() : cycle_(world_, platform_), rgba_(kClientWidth, kClientHeight) {}
    WebGame(const WebGame&) = delete;
    WebGame& operator=(const WebGame&) = delete;

    // Window creation, and the first frame before the first tick.
    void start() {
        kolvane::bindRandomClock(&platform_);
        cycle_.create(kClientRect);
        present(cycle_.paint(kClientRect));
    }

    // One display frame; false once the program has ended.
    bool frame(double nowMs) {
        if (ended_) return false;
        const int due = clock_.ticksDue(nowMs);
        for (int i = 0; i < due; ++i) {
            cycle_.tick(kClientRect);
            if (platform_.quitRequested()) {
                end();
                return false;
            }
            cycle_.paint(kClientRect);
        }
        if (due > 0) present(cycle_.frame());
        return true;
    }

    // True when the event was the game's (the page then does nothing with it).
    bool keyDown(const EmscriptenKeyboardEvent& event) {
        if (ended_ || event.ctrlKey || event.altKey || event.metaKey) return false;
        const int key = kolvane::web::virtualKeyFromEvent(event.key, event.code);
        if (key == 0) return false;
        platform_.hold(key);
        cycle_.keyDown(kClientRect, key, kolvane::web::keyDataFor(event.repeat != 0));
        if (platform_.quitRequested()) end();
        return true;
    }

    bool keyUp(const EmscriptenKeyboardEvent& event) {
        const int key = kolvane::web::virtualKeyFromEvent(event.key, event.code);
        if (key == 0) return false;
        platform_.release(key);
        return !ended_;
    }

    void lostFocus() { platform_.releaseAll(); }

private:
    void present(const kolvane::gfx::Surface& frame) {
        rgba_.convert(frame);
        kolvane_present(rgba_.bytes(), rgba_.width(), rgba_.height());
    }

    void end() {
        ended_ = true;
        platform_.releaseAll();
        kolvane::bindRandomClock(nullptr);
        kolvane_show_ended();
    }

    kolvane::World world_;
    kolvane::web::WebPlatform platform_;
    kolvane::FrameCycle cycle_;
    kolvane::web::RgbaFrame rgba_;
    kolvane::web::FrameClock clock_;
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
