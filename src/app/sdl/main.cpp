// kolvane: the game in an SDL window.
#include <SDL.h>

#include <cstdio>
#include <string>

#include "app/sdl/window_game.h"
#include "app/version.h"
#include "app/window_options.h"

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
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "kolvane: could not start SDL: %s\n", SDL_GetError());
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, "Dodozu", "Could not create window!",
                                 nullptr);
        return 1;
    }
    const int code = kolvane::sdl::runWindowGame(options, nullptr);
    SDL_Quit();
    return code;
}
