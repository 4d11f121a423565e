// settings.ini: kept between runs, and moved aside when it can't be used.
#include "app/storage/settings_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/scratch.h"

namespace kolvane {
namespace {

TEST(SettingsFile, KeptBetweenRunsAndABadFileMovedAside) {
    const std::filesystem::path folder = testing::scratchDir() / "config";
    std::FILE* errors = std::tmpfile();
    ASSERT_NE(errors, nullptr);
    EXPECT_EQ(loadSettings(folder, errors), Settings{}) << "no file yet";
    Settings s;
    s.volume = 12;
    std::string error;
    ASSERT_TRUE(saveSettings(folder, s, error)) << error;
    EXPECT_EQ(loadSettings(folder, errors), s);

    testing::writeText(folder / "settings.ini", std::string("volume = 3\n\0\x01\xff", 14));
    EXPECT_EQ(loadSettings(folder, errors), Settings{});
    EXPECT_TRUE(std::filesystem::exists(folder / "settings.ini.bad"));
    EXPECT_FALSE(std::filesystem::exists(folder / "settings.ini"));
    std::fclose(errors);
}
}  // namespace
}  // namespace kolvane
