// kolvane: the game in an SDL window.
#include <SDL.h>

#include <cstdio>
#include <optional>

#include "app/front_end/window_program.h"
#include "app/sdl/window_game.h"

namespace {

void writeText(const char* text, bool error) {
    std::fputs(text, error ? stderr : stdout);
}

}  // namespace

int main(int argc, char* argv[]) {
    kolvane::WindowLaunch launch;
    if (const std::optional<int> code =
            kolvane::prepareWindowProgram(argc, argv, launch, writeText)) {
        return *code;
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        kolvane::sdl::showNoWindow("could not start SDL", SDL_GetError());
        return 1;
    }
    const int code = kolvane::sdl::runWindowGame(launch, nullptr);
    SDL_Quit();
    return code;
}
