#include "app/sdl/window_game.h"

#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <optional>
#include <string>
#include <thread>

#include "app/front_end/desktop_keeping.h"
#include "app/front_end/front_end_core.h"
#include "app/front_end/front_end_window.h"
#include "app/front_end/window_program.h"
#include "app/sdl/audio.h"
#include "app/sdl/gamepads.h"
#include "app/sdl/key_map.h"
#include "app/sdl/loop_probe.h"
#include "app/sdl/video.h"
#include "app/session/tick_pacer.h"
#include "app/storage/data_folders.h"

namespace kolvane::sdl {

namespace {

using SteadyClock = std::chrono::steady_clock;

// Does nothing: the shipped program's probe.
class NoProbe final : public LoopProbe {
public:
    void windowOpened(SDL_Window*) override {}
    void wokeUp() override {}
    void tickStarted() override {}
    void framePresented() override {}
    void keyDown(int) override {}
};

// The window as the core sees it: SDL's video, audio and message boxes.
class SdlWindow final : public FrontEndWindow {
public:
    explicit SdlWindow(Video& video) : video_(video) {}

    void present(const gfx::Surface& frame) override {
        video_.upload(frame);
        video_.show();
    }
    bool fullscreen() const override { return video_.fullscreen(); }
    void setFullscreen(bool on) override { video_.setFullscreen(on); }
    void setPointerHidden(bool hidden) override { video_.setPointerHidden(hidden); }
    void playSound(sound::GameSound& sound) override { audio_.emplace(sound); }
    void stopSound() override { audio_.reset(); }
    void messageBox(const char* text, const char* caption) override {
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption, text, video_.window());
    }
    void end() override {}

private:
    Video& video_;
    std::optional<Audio> audio_;
};

// One SDL event, as the core's call.
void handleEvent(const SDL_Event& event, FrontEndCore& core, Video& video, Gamepads& pads,
                 LoopProbe& probe) {
    if (pads.handleEvent(event, core)) return;
    switch (event.type) {
        case SDL_QUIT:
            core.close();
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) core.close();
            video.handleWindowEvent(event.window);
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) core.focusLost();
            break;
        case SDL_KEYDOWN: {
            const KeyEvent key{virtualKeyOf(event.key.keysym), event.key.repeat != 0};
            probe.keyDown(key.key);
            core.keyDown(key, (event.key.keysym.mod & KMOD_ALT) != 0);
            break;
        }
        case SDL_KEYUP:
            core.keyUp(virtualKeyOf(event.key.keysym));
            break;
        default:
            break;
    }
}

double nowMs(SteadyClock::time_point epoch) {
    return std::chrono::duration<double, std::milli>(SteadyClock::now() - epoch).count();
}

}  // namespace

void showNoWindow(const char* what, const char* reason) {
    std::fprintf(stderr, "kolvane: %s: %s\n", what, reason);
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, kNoWindowCaption, kNoWindowText, nullptr);
}

int runWindowGame(WindowLaunch& launch, LoopProbe* probeOrNull) {
    NoProbe noProbe;
    LoopProbe& probe = probeOrNull != nullptr ? *probeOrNull : static_cast<LoopProbe&>(noProbe);

    const std::int64_t startedAt = std::time(nullptr);
    DesktopKeeping keeping(launch, std::string("SDL window on ") + SDL_GetPlatform(), startedAt);
    const Settings& run = keeping.settings();
    Video video;
    std::string error;
    if (!video.open({launch.options.scale.value_or(0), run.fullscreen, run.scaleMode}, error)) {
        showNoWindow("could not create the window", error.c_str());
        return 1;
    }
    probe.windowOpened(video.window());

    SdlWindow window(video);
    FrontEndCore core(window, keeping.mode(), keeping.setup());
    core.start();
    probe.framePresented();
    // The sound, the stores and the gamepads after the first frame, which
    // they would otherwise delay.
    core.afterFirstFrame();
    Gamepads pads;
    pads.open(configFolder(), stderr);
    const SteadyClock::time_point epoch = SteadyClock::now();
    TickPacer pacer(0.0, 1);

    while (!core.ended()) {
        // One blocking sleep until the tick is due, then every event that came
        // meanwhile, in order, then the tick: keys still act before the tick
        // that follows them, and the tick starts on its deadline.
        std::this_thread::sleep_until(
            epoch + std::chrono::duration_cast<SteadyClock::duration>(
                        std::chrono::duration<double, std::milli>(pacer.deadlineMs())));
        probe.wokeUp();
        SDL_Event event;
        while (!core.ended() && SDL_PollEvent(&event) != 0) {
            handleEvent(event, core, video, pads, probe);
        }
        if (core.ended() || pacer.ticksDue(nowMs(epoch)) == 0) continue;
        probe.tickStarted();
        pads.poll(core);
        core.tick();
    }
    return 0;
}

}  // namespace kolvane::sdl
