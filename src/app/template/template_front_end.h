#pragma once
// A whole front end in its plainest form: the template window, stores in
// memory, the session's mode and the front-end core between them. A window's
// program does the same with its platform's parts:
//
//   TemplateFrontEnd front({});   // settings, a recording to watch, the clock
//   front.core().start();         // the first frame
//   front.core().afterFirstFrame();
//   while (!front.core().ended()) {
//       ... the platform's events: front.core().keyDown(...) and so on
//       front.core().tick();      // every 15 ms
//   }
#include <cstdint>
#include <optional>

#include "app/front_end/front_end_core.h"
#include "app/front_end/session_modes.h"
#include "app/session/script.h"
#include "app/storage/player_settings.h"
#include "app/template/memory_store.h"
#include "app/template/template_window.h"

namespace kolvane {

struct TemplateLaunch {
    Settings settings;            // as kept between runs
    std::optional<Script> watch;  // a recording to watch instead of playing
    std::int64_t wallClock = 1000000000;
};

class TemplateFrontEnd {
public:
    explicit TemplateFrontEnd(const TemplateLaunch& launch);
    TemplateFrontEnd(const TemplateFrontEnd&) = delete;
    TemplateFrontEnd& operator=(const TemplateFrontEnd&) = delete;

    FrontEndCore& core() { return core_; }
    TemplateWindow& window() { return window_; }
    MemoryStore& store() { return store_; }
    // The session's keeping, while playing (null while watching).
    const KeptGames* kept() const { return modes_.kept(); }
    // Playing, for a ticket to start from (null while watching).
    Playing* playing() { return modes_.playing(); }

private:
    TemplateWindow window_;
    MemoryStore store_;
    PlayerSettings settings_;
    SessionModes modes_;
    FrontEndCore core_;
};

}  // namespace kolvane
