// kolvane: the game in an SDL window.
#include <SDL.h>

#include "app/sdl/window_game.h"

// No command line is read.
int main(int /*argc*/, char* /*argv*/[]) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, "Dodozu", "Could not create window!",
                                 nullptr);
        return 1;
    }
    const int code = kolvane::sdl::runWindowGame(nullptr);
    SDL_Quit();
    return code;
}
