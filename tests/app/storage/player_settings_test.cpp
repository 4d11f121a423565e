// A run's settings: the file's with the command line's options over them.
#include "app/storage/player_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/storage/settings_file.h"
#include "support/scratch.h"

namespace kolvane {
namespace {

TEST(PlayerSettings, KeepWhatThePlayerChangesAndNotTheOptions) {
    const std::filesystem::path folder = testing::scratchDir() / "config";
    std::string error;
    Settings saved;
    saved.volume = 12;
    ASSERT_TRUE(saveSettings(folder, saved, error)) << error;
    WindowOptions options;
    options.record = false;  // --no-record: this run only
    PlayerSettings settings(folder, options, stderr);
    EXPECT_FALSE(settings.current().record);
    EXPECT_EQ(settings.current().volume, 12);

    Settings changed = settings.current();
    changed.muted = true;  // the player turned the sound off
    settings.change(changed);
    EXPECT_EQ(settings.current(), changed);
    Settings expected = saved;
    expected.muted = true;
    EXPECT_EQ(loadSettings(folder, stderr), expected);
}

}  // namespace
}  // namespace kolvane
