#pragma once
// What the sound's tests listen to: scripts (the golden battle above all)
// played with a detector beside the game, every cue kept with its tick.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/session/script.h"
#include "app/session/session.h"
#include "app/sound/event_detector.h"

namespace kolvane::sound::testing {

// tests/golden/battle.script runs with this seed (its header says so).
inline constexpr std::uint32_t kBattleSeed = 188;

inline Script readScript(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    Script script;
    std::string error;
    EXPECT_TRUE(parseScript(text.str(), path, script, error)) << error;
    return script;
}

inline Script battleScript() {
    return readScript(std::string(KOLVANE_TEST_DATA) + "/golden/battle.script");
}

inline Script scriptOf(const std::string& text) {
    Script script;
    std::string error;
    EXPECT_TRUE(parseScript(text, "test", script, error)) << error;
    return script;
}

struct Heard {
    std::int64_t tick;  // ticks done when it was heard
    SoundCues cues;
};

// A detector and what it said, as a listener of its own.
class Ears final : public SessionListener, private SoundCueSink {
public:
    void started(const Session& s) override { detector_.started(s); }
    void keyDown(const Session& s, KeyEvent k) override {
        hear(s, [&] { detector_.keyDown(s, k); });
    }
    void keyUp(const Session& s, int k) override {
        hear(s, [&] { detector_.keyUp(s, k); });
    }
    void ticked(const Session& s) override {
        hear(s, [&] { detector_.ticked(s); });
    }

    const std::vector<Heard>& heard() const { return heard_; }

    // The ticks at which a sound started.
    std::vector<std::int64_t> ticksOf(Sound s) const {
        std::vector<std::int64_t> ticks;
        for (const Heard& h : heard_) {
            if (h.cues.starts.has(s)) ticks.push_back(h.tick);
        }
        return ticks;
    }

private:
    template <class Call>
    void hear(const Session& s, Call&& call) {
        tick_ = s.ticksDone();
        call();
    }
    void cue(const SoundCues& cues) override { heard_.push_back({tick_, cues}); }

    EventDetector detector_{*this};
    std::int64_t tick_ = 0;
    std::vector<Heard> heard_;
};

}  // namespace kolvane::sound::testing
