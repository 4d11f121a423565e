#include "gfx/golden.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "gfx/png.h"

namespace kolvane::testing {

namespace {

bool updating() {
    const char* flag = std::getenv("KOLVANE_UPDATE_GOLDEN");
    return flag != nullptr && std::string(flag) == "1";
}

gfx::Image imageOf(const gfx::Surface& surface) {
    gfx::Image image;
    image.width = surface.width();
    image.height = surface.height();
    image.pixels.assign(surface.pixels(),
                        surface.pixels() + static_cast<std::size_t>(image.width) * image.height);
    return image;
}

// Mismatching pixels in red, matching ones as a dimmed grey of the reference.
gfx::Image diffOf(const gfx::Image& expected, const gfx::Image& actual) {
    gfx::Image diff = actual;
    for (std::size_t i = 0; i < diff.pixels.size(); ++i) {
        const std::uint32_t e = expected.pixels[i];
        if (e != actual.pixels[i]) {
            diff.pixels[i] = 0xFF0000;
        } else {
            const std::uint32_t grey = (((e >> 16) & 0xFF) + ((e >> 8) & 0xFF) + (e & 0xFF)) / 9;
            diff.pixels[i] = (grey << 16) | (grey << 8) | grey;
        }
    }
    return diff;
}

}  // namespace

std::string scratchDirectory(const std::string& name) {
    const std::filesystem::path dir =
        std::filesystem::path(KOLVANE_BINARY_DIR) / "gfx-scratch" / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string();
}

::testing::AssertionResult matchesGolden(const gfx::Surface& surface, const std::string& name) {
    const std::string goldenPath = std::string(KOLVANE_TEST_DATA) + "/gfx/golden/" + name + ".png";
    const gfx::Image actual = imageOf(surface);
    std::string error;
    if (updating()) {
        if (!gfx::writePng(goldenPath, actual, error))
            return ::testing::AssertionFailure() << error;
        return ::testing::AssertionSuccess() << "rewrote " << goldenPath;
    }

    gfx::Image expected;
    if (!gfx::readPng(goldenPath, expected, error)) {
        return ::testing::AssertionFailure()
               << error << " (run with KOLVANE_UPDATE_GOLDEN=1 to create it)";
    }
    std::ostringstream problem;
    int mismatches = 0;
    if (expected.width != actual.width || expected.height != actual.height) {
        problem << "size " << actual.width << "x" << actual.height << ", expected "
                << expected.width << "x" << expected.height;
    } else {
        for (std::size_t i = 0; i < actual.pixels.size(); ++i) {
            if (actual.pixels[i] == expected.pixels[i]) continue;
            if (mismatches++ == 0) {
                problem << "first at (" << i % actual.width << ", " << i / actual.width
                        << "): " << std::hex << actual.pixels[i] << " instead of "
                        << expected.pixels[i] << std::dec;
            }
        }
        if (mismatches == 0) return ::testing::AssertionSuccess();
        problem << "; " << mismatches << " pixels differ";
    }

    const std::filesystem::path dir = std::filesystem::path(KOLVANE_BINARY_DIR) / "golden-failures";
    std::filesystem::create_directories(dir);
    const std::string actualPath = (dir / (name + ".actual.png")).string();
    auto failure = ::testing::AssertionFailure();
    failure << name << " differs from " << goldenPath << ": " << problem.str();
    if (gfx::writePng(actualPath, actual, error)) {
        failure << "\n  actual: " << actualPath;
    } else {
        failure << "\n  " << error;
    }
    if (expected.width == actual.width && expected.height == actual.height) {
        const std::string diffPath = (dir / (name + ".diff.png")).string();
        if (gfx::writePng(diffPath, diffOf(expected, actual), error)) {
            failure << "\n  diff:   " << diffPath;
        } else {
            failure << "\n  " << error;
        }
    }
    return failure;
}

}  // namespace kolvane::testing
