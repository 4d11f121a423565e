// Golden frames: each script under tests/golden/ is replayed by kolvane-sim
// and every frame it shoots must equal, pixel for pixel, the PNG of the same
// name kept beside it. A mismatch leaves the actual frame and a difference
// image (differing pixels red over a dimmed copy of the expected frame) in the
// build tree and names them. tests/golden/regenerate.sh remakes the PNGs.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/session/script.h"
#include "gfx/png.h"
#include "support/sim_process.h"

namespace kolvane::sim {
namespace {

using namespace kolvane::sim::testing;

const fs::path kGoldenDir = fs::path(KOLVANE_TEST_DATA) / "golden";

// The options a script asks for on its "# args:" line.
std::string argsOf(const std::string& text) {
    constexpr std::string_view kTag = "# args:";
    const auto at = text.find(kTag);
    if (at == std::string::npos) return "";
    const auto end = text.find('\n', at);
    return text.substr(at + kTag.size(), end - at - kTag.size());
}

void compareFrame(const fs::path& expectedPath, const fs::path& actualPath) {
    gfx::Image expected;
    gfx::Image actual;
    std::string error;
    ASSERT_TRUE(gfx::readPng(expectedPath.string(), expected, error))
        << error << "\n(regenerate with tests/golden/regenerate.sh)";
    ASSERT_TRUE(gfx::readPng(actualPath.string(), actual, error)) << error;
    ASSERT_EQ(actual.width, expected.width) << actualPath;
    ASSERT_EQ(actual.height, expected.height) << actualPath;
    std::size_t differing = 0;
    gfx::Image diff = expected;
    for (std::size_t i = 0; i < expected.pixels.size(); ++i) {
        if (actual.pixels[i] != expected.pixels[i]) {
            ++differing;
            diff.pixels[i] = 0xFF0000;
        } else {
            diff.pixels[i] = (expected.pixels[i] >> 2) & 0x3F3F3F;
        }
    }
    if (differing == 0) return;
    fs::path diffPath = actualPath;
    diffPath.replace_extension(".diff.png");
    ASSERT_TRUE(gfx::writePng(diffPath.string(), diff, error)) << error;
    ADD_FAILURE() << differing << " pixels differ from " << expectedPath
                  << "\n  actual: " << actualPath << "\n  diff:   " << diffPath;
}

void expectGolden(const std::string& scriptName) {
    const fs::path script = kGoldenDir / scriptName;
    const std::string text = readText(script);
    ASSERT_FALSE(text.empty()) << script;
    Script parsed;
    std::string error;
    ASSERT_TRUE(parseScript(text, script.string(), parsed, error)) << error;

    const fs::path dir = fs::path(KOLVANE_BINARY_DIR) / "golden-actual" / script.stem();
    fs::remove_all(dir);
    fs::create_directories(dir);
    const SimResult r = runSim(dir, argsOf(text) + " " + quoted(script.string()));
    ASSERT_EQ(r.exitCode, 0) << r.err;

    for (const Shot& shot : parsed.shots) {
        SCOPED_TRACE(shot.file);
        compareFrame(kGoldenDir / shot.file, dir / shot.file);
    }
    EXPECT_GT(parsed.shots.size(), 0u) << "a golden script shoots at least one frame";
}

TEST(GoldenFrames, TitleScreen) {
    expectGolden("title_screen.script");
}
TEST(GoldenFrames, TitleFieldAfterHundredTicks) {
    expectGolden("title_field.script");
}
TEST(GoldenFrames, FirstFrameOfAGame) {
    expectGolden("first_frame.script");
}
TEST(GoldenFrames, MessageLine) {
    expectGolden("message_line.script");
}
TEST(GoldenFrames, BattleScene) {
    expectGolden("battle.script");
}
TEST(GoldenFrames, TargetingAids) {
    expectGolden("targeting_aids.script");
}

}  // namespace
}  // namespace kolvane::sim
