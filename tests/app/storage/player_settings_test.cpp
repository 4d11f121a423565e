// A run's settings: the kept ones with the command line's options over them,
// and only what the player changes kept for the next run, written to
// settings.ini by the background writer.
#include "app/storage/player_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/settings/window_options.h"
#include "app/storage/background_writer.h"
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
    const Settings kept = loadSettings(folder, stderr);
    PlayerSettings settings(kept, applyOptions(kept, options));
    EXPECT_FALSE(settings.current().record);
    EXPECT_EQ(settings.current().volume, 12);

    Settings changed = settings.current();
    changed.muted = true;  // the player turned the sound off
    {
        BackgroundWriter writer;
        SettingsFile file(writer, folder, stderr);
        ASSERT_TRUE(settings.change(changed));
        file.keep(settings.kept());
        EXPECT_FALSE(settings.change(changed)) << "nothing new to keep";
    }
    EXPECT_EQ(settings.current(), changed);
    Settings expected = saved;
    expected.muted = true;
    EXPECT_EQ(loadSettings(folder, stderr), expected);
}

}  // namespace
}  // namespace kolvane
