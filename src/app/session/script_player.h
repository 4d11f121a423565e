#pragma once
// The one place that applies a script command to a running game: the replay
// runner, the recorded-game viewer and every test and benchmark that replays
// a script go through it.
#include "app/session/script.h"
#include "app/session/session.h"
#include "app/session/tick_and_field.h"

namespace kolvane {

// Applies one command to a session (already started).
// - tick N: N times one tick and one paint, each followed by afterTick(),
//   which returns false to stop;
// - down KEY / repeat KEY: a key-down message (a repeat for `repeat`), the
//   key held from now on;
// - up KEY: the key is let go (no message);
// - press KEY: a key-down message, the key let go straight after;
// - shot: nothing (only the replay runner writes frames).
// Returns false when the run must stop: the game quit (Escape), or afterTick
// asked to stop.
template <class AfterTick>
bool playCommand(Session& session, const Command& command, AfterTick&& afterTick) {
    switch (command.kind) {
        case CommandKind::kTick:
            for (std::int32_t n = 0; n < command.count; ++n) {
                session.tick();
                session.paint();
                if (!afterTick()) return false;
            }
            break;
        case CommandKind::kDown:
            session.keyDown(KeyEvent{command.key, false});
            break;
        case CommandKind::kRepeat:
            session.keyDown(KeyEvent{command.key, true});
            break;
        case CommandKind::kUp:
            session.keyUp(command.key);
            break;
        case CommandKind::kPress:
            session.keyDown(KeyEvent{command.key, false});
            session.keyUp(command.key);
            break;
        case CommandKind::kShot:
            break;
    }
    return !session.quitRequested();
}

inline bool playCommand(Session& session, const Command& command) {
    return playCommand(session, command, [] { return true; });
}

// What a session starts from to replay a script: its settings lines, and the
// replay runner's defaults for those it lacks.
inline SessionStart sessionStartOf(const ScriptSettings& settings) {
    SessionStart start;
    start.client = kDefaultClient;
    if (settings.clock) start.clockSeconds = *settings.clock;
    if (settings.seed) start.seed = *settings.seed;
    if (settings.size) start.client = Rect{0, 0, settings.size->width, settings.size->height};
    return start;
}

}  // namespace kolvane
