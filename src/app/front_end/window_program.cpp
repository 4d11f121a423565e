#include "app/front_end/window_program.h"

#include <filesystem>
#include <string>

#include "app/network/network_commands.h"
#include "app/network/player_key.h"
#include "app/storage/data_folders.h"
#include "app/storage/recording_file.h"
#include "app/storage/score_file.h"
#include "app/storage/settings_file.h"
#include "app/version.h"

namespace kolvane {

namespace {

// --submit FILE or --world, with the settings' server and name.
int worldAction(const WindowOptions& options) {
    const Settings settings = loadSettings(configFolder(), stderr);
    const std::filesystem::path config = configFolder();
    CommandSetup setup;
    setup.server = settings.server;
    setup.player = {PlayerName::fromText(settings.name),
                    config.empty() ? config : config / kPlayerKeyFileName};
    if (options.printWorld) return worldCommand(setup);
    return submitCommand(setup, options.submitPath);
}

}  // namespace

std::optional<int> prepareWindowProgram(int argc, const char* const* argv, WindowLaunch& launch,
                                        ProgramOutput output) {
    std::string error;
    if (!parseWindowOptions(argc, argv, launch.options, error)) {
        output(("kolvane: " + error + "\n" + windowUsage()).c_str(), true);
        return 2;
    }
    const WindowOptions& options = launch.options;
    if (options.help) {
        output(windowUsage(), false);
        return 0;
    }
    if (options.version) {
        output((std::string("kolvane ") + kVersion + "\n").c_str(), false);
        return 0;
    }
    if (options.printScores) {
        output(scoreReport(loadScoreTable(dataFolder(), stderr)).c_str(), false);
        return 0;
    }
    if (!options.submitPath.empty() || options.printWorld) return worldAction(options);
    if (options.replayPath.empty()) return std::nullopt;
    // A recording to watch is read before any window opens.
    Recording recording;
    const RecordingRead read = readRecordingFile(options.replayPath, recording, error);
    if (read != RecordingRead::kRead) {
        output(("kolvane: recording refused: " + error + "\n").c_str(), true);
        return read == RecordingRead::kUnreadable ? 1 : 2;
    }
    launch.replay = std::move(recording);
    return std::nullopt;
}

}  // namespace kolvane
