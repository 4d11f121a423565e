// Checks a screenshot of the window against the replay runner: the window
// shows the game's frame at exactly FACTOR times (every FACTOR x FACTOR block
// one colour, centred) and, shrunk back, it is pixel for pixel the runner's
// frame of the same state: the first frame or one of the ticks after it, for
// a session started at one of the given seconds.
//
//   scaled_frame_check SHOT.png FACTOR CLOCK-SECONDS...
//
// Exit 0 and the tick found; 1 with the reason.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/session/tick_and_field.h"
#include "app/sim/runner.h"
#include "gfx/png.h"

namespace {

// How far after the first frame the screenshot may be: a minute of ticks.
constexpr int kMaxTicks = 4000;

int fail(const std::string& why) {
    std::fprintf(stderr, "scaled_frame_check: %s\n", why.c_str());
    return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    using namespace kolvane;
    if (argc < 4) return fail("usage: scaled_frame_check SHOT.png FACTOR CLOCK-SECONDS...");
    gfx::Image shot;
    std::string error;
    if (!gfx::readPng(argv[1], shot, error)) return fail(error);
    const int k = std::atoi(argv[2]);
    const int w = kClientWidth;
    const int h = kClientHeight;
    if (k < 1 || shot.width < w * k || shot.height < h * k) {
        return fail("a " + std::to_string(shot.width) + "x" + std::to_string(shot.height) +
                    " shot has no room for the frame at " + std::to_string(k) + "x");
    }
    const int left = (shot.width - w * k) / 2;
    const int top = (shot.height - h * k) / 2;
    const auto at = [&](int x, int y) {
        return shot.pixels[static_cast<std::size_t>(y) * shot.width + x] & 0xFFFFFFu;
    };
    std::vector<std::uint32_t> shrunk(static_cast<std::size_t>(w) * h);
    int mixedBlocks = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::uint32_t c = at(left + x * k, top + y * k);
            for (int dy = 0; dy < k; ++dy) {
                for (int dx = 0; dx < k; ++dx) {
                    if (at(left + x * k + dx, top + y * k + dy) != c) {
                        ++mixedBlocks;
                        dy = k;
                        break;
                    }
                }
            }
            shrunk[static_cast<std::size_t>(y) * w + x] = c;
        }
    }
    if (mixedBlocks > 0) {
        return fail(std::to_string(mixedBlocks) + " blocks of " + std::to_string(k) + "x" +
                    std::to_string(k) + " are not one colour");
    }
    for (int i = 3; i < argc; ++i) {
        sim::Options options;
        options.clock = static_cast<std::int32_t>(std::atol(argv[i]));
        sim::Runner runner(options, nullptr);
        runner.start();
        for (int tick = 0; tick <= kMaxTicks; ++tick) {
            if (tick > 0) runner.tick();
            const gfx::Surface& frame = runner.frame();
            if (std::memcmp(frame.pixels(), shrunk.data(), shrunk.size() * 4) == 0) {
                std::printf("the runner's frame at clock %s, tick %d, scaled %dx\n", argv[i], tick,
                            k);
                return 0;
            }
        }
    }
    return fail("no frame of the runner's first " + std::to_string(kMaxTicks) +
                " ticks matches the shot");
}
