// kolvane: the game in an SDL window.
#include <SDL.h>

#include <cstdio>
#include <string>

#include "app/sdl/window_game.h"
#include "app/settings/window_options.h"
#include "app/storage/data_folders.h"
#include "app/storage/recording_file.h"
#include "app/storage/score_file.h"
#include "app/version.h"

int main(int argc, char* argv[]) {
    kolvane::WindowOptions options;
    std::string error;
    if (!kolvane::parseWindowOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "kolvane: %s\n%s", error.c_str(), kolvane::windowUsage());
        return 2;
    }
    if (options.help) {
        std::fputs(kolvane::windowUsage(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("kolvane %s\n", kolvane::kVersion);
        return 0;
    }
    if (options.printScores) {
        std::fputs(
            kolvane::scoreReport(kolvane::loadScoreTable(kolvane::dataFolder(), stderr)).c_str(),
            stdout);
        return 0;
    }
    // A recording to watch is read before any window opens.
    kolvane::Recording replay;
    if (!options.replayPath.empty()) {
        const auto read = kolvane::readRecordingFile(options.replayPath, replay, error);
        if (read != kolvane::RecordingRead::kRead) {
            std::fprintf(stderr, "kolvane: recording refused: %s\n", error.c_str());
            return read == kolvane::RecordingRead::kUnreadable ? 1 : 2;
        }
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "kolvane: could not start SDL: %s\n", SDL_GetError());
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, "Dodozu", "Could not create window!",
                                 nullptr);
        return 1;
    }
    const int code = kolvane::sdl::runWindowGame(options, nullptr,
                                                 options.replayPath.empty() ? nullptr : &replay);
    SDL_Quit();
    return code;
}
