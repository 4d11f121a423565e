// The desktop front end: one fixed-size window, a 15 ms tick on the thread
// that handles the events, and a paint after every tick shown in one copy.
#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "app/frame_cycle.h"
#include "app/sdl/keymap.h"
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

// The window and what shows a frame in it, released in reverse order.
struct Video {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;

    Video() = default;
    Video(const Video&) = delete;
    Video& operator=(const Video&) = delete;
    ~Video() {
        if (texture != nullptr) SDL_DestroyTexture(texture);
        if (renderer != nullptr) SDL_DestroyRenderer(renderer);
        if (window != nullptr) SDL_DestroyWindow(window);
    }

    bool open() {
        // Scaled up on high-DPI screens by whole pixels only, never smoothed.
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
        SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
        if (!onScreen()) return false;
        window = SDL_CreateWindow("Kolvane", 100, 100, kClientWidth, kClientHeight,
                                  SDL_WINDOW_ALLOW_HIGHDPI);
        if (window == nullptr) return false;
        renderer = SDL_CreateRenderer(window, -1, 0);
        if (renderer == nullptr) return false;
        SDL_RenderSetLogicalSize(renderer, kClientWidth, kClientHeight);
        SDL_RenderSetIntegerScale(renderer, SDL_TRUE);
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        // 0x00RRGGBB, the surface's own pixel layout.
        texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                    kClientWidth, kClientHeight);
        return texture != nullptr;
    }

    void upload(const kolvane::gfx::Surface& frame) {
        const SDL_Rect area{0, 0, std::min(frame.width(), kClientWidth),
                            std::min(frame.height(), kClientHeight)};
        if (area.w <= 0 || area.h <= 0) return;
        SDL_UpdateTexture(texture, &area, frame.pixels(),
                          frame.width() * static_cast<int>(sizeof(std::uint32_t)));
    }

    void show() {
        SDL_RenderClear(renderer);
        SDL_RenderCopy(renderer, texture, nullptr, nullptr);
        SDL_RenderPresent(renderer);
    }
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

    kolvane::FrameCycle cycle(world, platform);
    cycle.create(kClientRect);
    // The window shows its first frame before the first tick.
    video.upload(cycle.paint(kClientRect));
    video.show();
    TickPacer pacer(TickPacer::Clock::now());

    while (!platform.quitRequested()) {
        // Block until an event arrives or the next tick is due.
        SDL_Event event;
        const int wait = pacer.waitMilliseconds(TickPacer::Clock::now());
        int got = wait > 0 ? SDL_WaitEventTimeout(&event, wait) : SDL_PollEvent(&event);
        while (got != 0 && !platform.quitRequested()) {
            handleEvent(event, cycle, platform, video);
            got = SDL_PollEvent(&event);
        }
        if (platform.quitRequested()) break;
        if (!pacer.takeTick(TickPacer::Clock::now())) continue;

        cycle.tick(kClientRect);
        if (platform.quitRequested()) break;
        video.upload(cycle.paint(kClientRect));
        video.show();
    }

    platform.setWindow(nullptr);
    kolvane::bindRandomClock(nullptr);
    return 0;
}

}  // namespace

// No command line is read.
int main(int /*argc*/, char* /*argv*/[]) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, "Dodozu", "Could not create window!",
                                 nullptr);
        return 1;
    }
    const int code = run();
    SDL_Quit();
    return code;
}
