#include "app/sdl/window_game.h"

#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include "app/front_end/pointer.h"
#include "app/front_end/reserved_keys.h"
#include "app/replay/replay_viewer.h"
#include "app/scores/score_overlay.h"
#include "app/sdl/audio.h"
#include "app/sdl/gamepads.h"
#include "app/sdl/key_map.h"
#include "app/sdl/loop_probe.h"
#include "app/sdl/video.h"
#include "app/session/script_player.h"
#include "app/session/session.h"
#include "app/session/tick_and_field.h"
#include "app/session/tick_pacer.h"
#include "app/settings/window_options.h"
#include "app/sound/game_sound.h"
#include "app/storage/data_folders.h"
#include "app/storage/kept_games.h"
#include "app/storage/player_settings.h"
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

// What the window keeps besides the session and the video. While a recording
// is watched (`viewer` set), the keys and the close box are the viewer's and
// nothing reaches the replayed game.
struct Controls {
    PlayerSettings& settings;
    ReservedKeys keys;
    Gamepads pads;
    ReplayViewer* viewer = nullptr;
};

// F11 and Alt+Enter: fullscreen on or off, remembered for the next run.
void toggleFullscreen(Video& video, PlayerSettings& settings) {
    video.setFullscreen(!video.fullscreen());
    Settings changed = settings.current();
    changed.fullscreen = video.fullscreen();
    settings.change(changed);
}

// M: the sound on or off, remembered for the next run.
void toggleMute(sound::GameSound& sound, PlayerSettings& settings) {
    sound.setMuted(!sound.muted());
    Settings changed = settings.current();
    changed.muted = sound.muted();
    settings.change(changed);
}

void handleEvent(const SDL_Event& event, Session& session, Video& video, Controls& controls,
                 LoopProbe& probe, sound::GameSound& sound) {
    ReplayViewer* const viewer = controls.viewer;
    if (viewer == nullptr && controls.pads.handleEvent(event, session)) return;
    const auto close = [&] { viewer != nullptr ? viewer->stop() : session.quit(); };
    switch (event.type) {
        case SDL_QUIT:
            close();
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) close();
            video.handleWindowEvent(event.window);
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                viewer != nullptr ? viewer->releaseAllKeys() : session.releaseAllKeys();
            }
            break;
        case SDL_KEYDOWN: {
            const KeyEvent key{virtualKeyOf(event.key.keysym), event.key.repeat != 0};
            const ReservedKeys::Outcome outcome =
                controls.keys.keyDown(key, (event.key.keysym.mod & KMOD_ALT) != 0);
            if (outcome.command == ReservedCommand::kToggleFullscreen) {
                toggleFullscreen(video, controls.settings);
            }
            if (!outcome.forGame) break;
            // M also reaches the game, like any key (but never a watched one).
            if (sound::togglesMute(key)) toggleMute(sound, controls.settings);
            if (viewer != nullptr) {
                viewer->keyDown(key);
                break;
            }
            probe.keyDown(key.key);
            session.keyDown(key);
            break;
        }
        case SDL_KEYUP: {
            const int key = virtualKeyOf(event.key.keysym);
            if (!controls.keys.keyUp(key)) break;
            viewer != nullptr ? viewer->keyUp(key) : session.keyUp(key);
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

int runWindowGame(const WindowOptions& options, LoopProbe* probeOrNull, Recording* replay) {
    NoProbe noProbe;
    LoopProbe& probe = probeOrNull != nullptr ? *probeOrNull : static_cast<LoopProbe&>(noProbe);

    PlayerSettings settings(configFolder(), options, stderr);
    Controls controls{settings, {}, {}, nullptr};
    const Settings& run = settings.current();
    Video video;
    std::string error;
    if (!video.open({options.scale.value_or(0), run.fullscreen, run.scaleMode}, error)) {
        std::fprintf(stderr, "kolvane: could not create the window: %s\n", error.c_str());
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, "Dodozu", "Could not create window!",
                                 nullptr);
        return 1;
    }
    probe.windowOpened(video.window());

    const std::int64_t startedAt = std::time(nullptr);
    static GameWorld world;
    Session session(world, replay != nullptr ? sessionStartOf(replay->script.settings)
                                             : SessionStart{static_cast<std::int32_t>(startedAt), 1,
                                                            kDefaultClient});
    WindowMessageBoxes boxes(video.window());
    session.setMessageBoxes(&boxes);

    // Watching a recording, or playing: then the session is recorded and its
    // games go into the high-score table, shown over the title screen.
    std::optional<ReplayViewer> viewer;
    std::optional<KeptGames> kept;
    ScoreOverlay overlay;
    if (replay != nullptr) {
        viewer.emplace(std::move(replay->script));  // one copy of a long recording
        controls.viewer = &*viewer;
    } else {
        const std::string frontEnd = std::string("SDL window on ") + SDL_GetPlatform();
        kept.emplace(
            KeptGamesSetup{dataFolder(), run.record, frontEnd, startedAt, processId(), stderr});
        kept->attach(session);
        overlay.setTable(kept->table());
    }
    const bool showScores = kept && run.showScores;
    int tableShown = kept ? kept->tableChanges() : 0;
    const auto shown = [&](const gfx::Surface& frame) -> const gfx::Surface& {
        return overlay.compose(frame, showScores && !world.game.running);
    };
    // The window ends when the game quits, or when watching stops.
    const auto open = [&] { return viewer ? !viewer->stopped() : !session.quitRequested(); };

    session.start();
    // The window shows its first frame before the first tick.
    video.upload(shown(session.paint()));
    video.show();
    probe.framePresented();
    // The sound and the gamepads after the first frame, which they would
    // otherwise delay.
    sound::GameSound sound(run.volume, run.muted);
    session.addListener(sound.listener());
    const Audio audio(sound);
    if (!viewer) controls.pads.open(configFolder(), stderr);
    const SteadyClock::time_point epoch = SteadyClock::now();
    TickPacer pacer(0.0, 1);

    while (open()) {
        // One blocking sleep until the tick is due, then every event that came
        // meanwhile, in order, then the tick: keys still act before the tick
        // that follows them, and the tick starts on its deadline.
        std::this_thread::sleep_until(
            epoch + std::chrono::duration_cast<SteadyClock::duration>(
                        std::chrono::duration<double, std::milli>(pacer.deadlineMs())));
        probe.wokeUp();
        SDL_Event event;
        while (open() && SDL_PollEvent(&event) != 0) {
            handleEvent(event, session, video, controls, probe, sound);
        }
        if (!open()) break;
        if (pacer.ticksDue(nowMs(epoch)) == 0) continue;
        video.setPointerHidden(pointerHidden(video.fullscreen(), session.world()));

        probe.tickStarted();
        if (viewer) {
            // The recording's ticks, painted; paused or at its end the frame stays.
            if (viewer->advance(session) > 0) {
                video.upload(session.frame());
                video.show();
            }
            continue;
        }
        controls.pads.poll(session);
        if (session.quitRequested()) break;
        // A tick never quits (only a key-down does), so its frame is always shown.
        session.tick();
        video.upload(shown(session.paint()));
        video.show();
        // Files are written after the frame is shown, never inside the tick.
        kept->afterTick(session);
        if (kept->tableChanges() != tableShown) {
            tableShown = kept->tableChanges();
            overlay.setTable(kept->table());
        }
    }
    if (kept) kept->finish(session);
    return 0;
}

}  // namespace kolvane::sdl
