// The desktop front end: one fixed-size window, a 15 ms tick on the thread
// that handles the events, and a paint after every tick shown in one copy.
#include <SDL.h>

#include <cstring>
#include <thread>

#include "app/frame_cycle.h"
#include "app/sdl/frame_copy.h"
#include "app/sdl/keymap.h"
#include "app/sdl/pacing_log.h"
#include "app/sdl/sdl_platform.h"
#include "app/sdl/tick_pacer.h"
#include "core/random.h"
#include "game/world.h"

namespace {

using kolvane::Rect;
using kolvane::sdl::TickPacer;

constexpr int kClientWidth = 740;
constexpr int kClientHeight = 580;
constexpr Rect kClientRect{0, 0, kClientWidth, kClientHeight};

// With no display to reach, SDL falls back to an invisible off-screen driver
// unless one was asked for by name; for a player that is no window at all.
bool onScreen() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr) return false;
    if (SDL_GetHint(SDL_HINT_VIDEODRIVER) != nullptr) return true;
    return std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0;
}

// The window and its surface. Each frame is copied once into the window's own
// surface, which SDL hands to the window system in one piece.
struct Video {
    SDL_Window* window = nullptr;
    // The surface last filled black around the frame, and its size.
    SDL_Surface* cleared = nullptr;
    int clearedWidth = 0;
    int clearedHeight = 0;

    Video() = default;
    Video(const Video&) = delete;
    Video& operator=(const Video&) = delete;
    ~Video() {
        if (window != nullptr) SDL_DestroyWindow(window);
    }

    bool open() {
        // Where SDL shows the surface through a texture of its own (no native
        // surface on the platform), it is scaled up without smoothing.
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
        SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
        if (!onScreen()) return false;
        // X11 takes the surface as one shared-memory image. Left to itself SDL
        // would show it through an OpenGL texture instead, which under a
        // software OpenGL costs a quarter of a core and 0.3 s of start-up.
        // Platforms without a surface of their own keep the texture.
        if (std::strcmp(SDL_GetCurrentVideoDriver(), "x11") == 0) {
            SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        }
        window = SDL_CreateWindow("Kolvane", 100, 100, kClientWidth, kClientHeight,
                                  SDL_WINDOW_ALLOW_HIGHDPI);
        return window != nullptr && SDL_GetWindowSurface(window) != nullptr;
    }

    // The surface is made again only when the window's size changes.
    void upload(const kolvane::gfx::Surface& frame) {
        SDL_Surface* surface = SDL_GetWindowSurface(window);
        if (surface == nullptr) return;
        if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
        if (surface != cleared || surface->w != clearedWidth || surface->h != clearedHeight) {
            SDL_FillRect(surface, nullptr, 0);
            cleared = surface;
            clearedWidth = surface->w;
            clearedHeight = surface->h;
        }
        kolvane::sdl::copyFrame(frame, *surface);
        if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    }

    void show() { SDL_UpdateWindowSurface(window); }
};

void handleEvent(const SDL_Event& event, kolvane::FrameCycle& cycle,
                 kolvane::sdl::SdlPlatform& platform, Video& video) {
    switch (event.type) {
        case SDL_QUIT:
            platform.quit();
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) platform.quit();
            // A window uncovered shows the last frame again; only a tick paints anew.
            if (event.window.event == SDL_WINDOWEVENT_EXPOSED) video.show();
            break;
        case SDL_KEYDOWN: {
            const int vk = kolvane::sdl::virtualKeyFromKeycode(event.key.keysym.sym);
            if (vk != 0) {
                kolvane::sdl::pacing::keyDown(vk);
                cycle.keyDown(kClientRect, vk, kolvane::sdl::keyDataFor(event.key.repeat != 0));
            }
            break;
        }
        default:
            break;
    }
}

int run() {
    static kolvane::World world;
    kolvane::sdl::SdlPlatform platform;
    kolvane::bindRandomClock(&platform);

    Video video;
    if (!video.open()) {
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, "Dodozu", "Could not create window!",
                                 nullptr);
        kolvane::bindRandomClock(nullptr);
        return 1;
    }
    platform.setWindow(video.window);
    kolvane::sdl::pacing::windowOpened(video.window);

    kolvane::FrameCycle cycle(world, platform);
    cycle.create(kClientRect);
    // The window shows its first frame before the first tick.
    video.upload(cycle.paint(kClientRect));
    video.show();
    kolvane::sdl::pacing::framePresented();
    TickPacer pacer(TickPacer::Clock::now());

    while (!platform.quitRequested()) {
        // One blocking sleep until the tick is due, then every event that came
        // meanwhile, in order, then the tick: keys still act before the tick
        // that follows them, and the tick starts on its deadline.
        std::this_thread::sleep_until(pacer.deadline());
        kolvane::sdl::pacing::wokeUp();
        SDL_Event event;
        while (!platform.quitRequested() && SDL_PollEvent(&event) != 0) {
            handleEvent(event, cycle, platform, video);
        }
        if (platform.quitRequested()) break;
        if (!pacer.takeTick(TickPacer::Clock::now())) continue;

        // A tick never quits (only a key-down does), so its frame is always shown.
        kolvane::sdl::pacing::tickStarted();
        cycle.tick(kClientRect);
        video.upload(cycle.paint(kClientRect));
        video.show();
    }
    kolvane::sdl::pacing::end();

    platform.setWindow(nullptr);
    kolvane::bindRandomClock(nullptr);
    return 0;
}

}  // namespace

// No command line is read (only the measurement build takes its log file).
int main(int argc, char* argv[]) {
    kolvane::sdl::pacing::begin(argc, argv);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, "Dodozu", "Could not create window!",
                                 nullptr);
        return 1;
    }
    const int code = run();
    SDL_Quit();
    return code;
}
