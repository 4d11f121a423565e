#include "app/sdl/window_game.h"

#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <thread>

#include "app/data_folders.h"
#include "app/front_end.h"
#include "app/front_end_keys.h"
#include "app/pointer.h"
#include "app/sdl/audio.h"
#include "app/sdl/gamepads.h"
#include "app/sdl/key_map.h"
#include "app/sdl/loop_probe.h"
#include "app/sdl/video.h"
#include "app/session.h"
#include "app/settings_file.h"
#include "app/sound/game_sound.h"
#include "app/tick_pacer.h"
#include "app/window_options.h"
#include "game/game_world.h"

namespace kolvane::sdl {

namespace {

using SteadyClock = std::chrono::steady_clock;

// The game's message boxes, over the window.
class WindowMessageBoxes final : public MessageBoxes {
public:
    explicit WindowMessageBoxes(SDL_Window* window) : window_(window) {}
    void messageBox(const char* text, const char* caption) override {
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption, text, window_);
    }

private:
    SDL_Window* window_;
};

// Does nothing: the shipped program's probe.
class NoProbe final : public LoopProbe {
public:
    void windowOpened(SDL_Window*) override {}
    void wokeUp() override {}
    void tickStarted() override {}
    void framePresented() override {}
    void keyDown(int) override {}
};

// What the window keeps besides the session and the video.
struct Controls {
    FrontEndKeys keys;
    Gamepads pads;
    Settings saved;  // settings.ini as it is, without this run's options
};

void keepSettings(const Settings& saved) {
    std::string error;
    if (!saveSettings(configFolder(), saved, error)) {
        std::fprintf(stderr, "kolvane: settings not saved: %s\n", error.c_str());
    }
}

// F11 and Alt+Enter: fullscreen on or off, remembered for the next run.
void toggleFullscreen(Video& video, Settings& saved) {
    video.setFullscreen(!video.fullscreen());
    saved.fullscreen = video.fullscreen();
    keepSettings(saved);
}

// M: the sound on or off, remembered for the next run.
void toggleMute(sound::GameSound& sound, Settings& saved) {
    sound.setMuted(!sound.muted());
    saved.muted = sound.muted();
    keepSettings(saved);
}

void handleEvent(const SDL_Event& event, Session& session, Video& video, Controls& controls,
                 LoopProbe& probe, sound::GameSound& sound) {
    if (controls.pads.handleEvent(event, session)) return;
    switch (event.type) {
        case SDL_QUIT:
            session.quit();
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) session.quit();
            video.handleWindowEvent(event.window);
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) session.releaseAllKeys();
            break;
        case SDL_KEYDOWN: {
            const KeyEvent key{virtualKeyOf(event.key.keysym), event.key.repeat != 0};
            const FrontEndKeys::Outcome outcome =
                controls.keys.keyDown(key, (event.key.keysym.mod & KMOD_ALT) != 0);
            if (outcome.command == FrontEndCommand::kToggleFullscreen) {
                toggleFullscreen(video, controls.saved);
            }
            if (outcome.forGame) {
                probe.keyDown(key.key);
                session.keyDown(key);
                // M also reaches the game, like any key.
                if (sound::togglesMute(key)) toggleMute(sound, controls.saved);
            }
            break;
        }
        case SDL_KEYUP: {
            const int key = virtualKeyOf(event.key.keysym);
            if (controls.keys.keyUp(key)) session.keyUp(key);
            break;
        }
        default:
            break;
    }
}

double nowMs(SteadyClock::time_point epoch) {
    return std::chrono::duration<double, std::milli>(SteadyClock::now() - epoch).count();
}

}  // namespace

int runWindowGame(const WindowOptions& options, LoopProbe* probeOrNull) {
    NoProbe noProbe;
    LoopProbe& probe = probeOrNull != nullptr ? *probeOrNull : noProbe;

    Controls controls;
    controls.saved = loadSettings(configFolder(), stderr);
    const Settings settings = applyOptions(controls.saved, options);
    Video video;
    std::string error;
    if (!video.open({options.scale.value_or(0), settings.fullscreen, settings.scaleMode}, error)) {
        std::fprintf(stderr, "kolvane: could not create the window: %s\n", error.c_str());
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, "Dodozu", "Could not create window!",
                                 nullptr);
        return 1;
    }
    probe.windowOpened(video.window());

    static GameWorld world;
    Session session(world,
                    SessionStart{static_cast<std::int32_t>(std::time(nullptr)), 1, kDefaultClient});
    WindowMessageBoxes boxes(video.window());
    session.setMessageBoxes(&boxes);

    session.start();
    // The window shows its first frame before the first tick.
    video.upload(session.paint());
    video.show();
    probe.framePresented();
    // The sound and the gamepads after the first frame, which they would
    // otherwise delay.
    sound::GameSound sound(settings.volume, settings.muted);
    session.addListener(sound.listener());
    const Audio audio(sound);
    controls.pads.open(configFolder(), stderr);
    const SteadyClock::time_point epoch = SteadyClock::now();
    TickPacer pacer(0.0, 1);

    while (!session.quitRequested()) {
        // One blocking sleep until the tick is due, then every event that came
        // meanwhile, in order, then the tick: keys still act before the tick
        // that follows them, and the tick starts on its deadline.
        std::this_thread::sleep_until(
            epoch + std::chrono::duration_cast<SteadyClock::duration>(
                        std::chrono::duration<double, std::milli>(pacer.deadlineMs())));
        probe.wokeUp();
        SDL_Event event;
        while (!session.quitRequested() && SDL_PollEvent(&event) != 0) {
            handleEvent(event, session, video, controls, probe, sound);
        }
        if (session.quitRequested()) break;
        if (pacer.ticksDue(nowMs(epoch)) == 0) continue;
        controls.pads.poll(session);
        if (session.quitRequested()) break;
        video.setPointerHidden(pointerHidden(video.fullscreen(), session.world()));

        // A tick never quits (only a key-down does), so its frame is always shown.
        probe.tickStarted();
        session.tick();
        video.upload(session.paint());
        video.show();
    }
    return 0;
}

}  // namespace kolvane::sdl
