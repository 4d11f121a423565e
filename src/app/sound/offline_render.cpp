#include "app/sound/offline_render.h"

#include <memory>

#include "app/session/script_player.h"
#include "app/sound/game_sound.h"
#include "game/game_world.h"

namespace kolvane::sound {

std::vector<std::int16_t> renderScriptSound(const Script& script, const SessionStart& start,
                                            const OfflineSound& settings,
                                            SessionListener* alsoListening) {
    auto world = std::make_unique<GameWorld>();
    Session session(*world, start);
    GameSound sound(settings.volume, settings.muted);
    session.addListener(sound.listener());
    if (alsoListening != nullptr) session.addListener(*alsoListening);
    session.start();
    session.paint();

    std::vector<std::int16_t> samples;
    auto renderTick = [&] {
        const std::size_t at = samples.size();
        samples.resize(at + kFramesPerTick);
        sound.render(samples.data() + at, kFramesPerTick);
        return true;
    };
    for (const Command& command : script.commands) {
        if (!playCommand(session, command, renderTick)) break;
    }
    return samples;
}

}  // namespace kolvane::sound
