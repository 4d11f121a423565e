#include "app/template/template_front_end.h"

#include <utility>

namespace kolvane {

namespace {

std::optional<KeptGames> keptGamesOf(const TemplateLaunch& launch, GameStore& store) {
    if (launch.watch) return std::nullopt;
    return std::optional<KeptGames>(
        std::in_place, store,
        KeptGamesSetup{launch.settings.record, "template", launch.wallClock, 1});
}

std::optional<Playing> playingOf(const TemplateLaunch& launch, std::optional<KeptGames>& kept) {
    if (launch.watch) return std::nullopt;
    return std::optional<Playing>(std::in_place, &*kept, launch.settings.showScores);
}

std::optional<Watching> watchingOf(TemplateLaunch& launch) {
    if (!launch.watch) return std::nullopt;
    return std::optional<Watching>(std::in_place, std::move(*launch.watch));
}

}  // namespace

TemplateFrontEnd::TemplateFrontEnd(TemplateLaunch launch)
    : settings_(launch.settings, launch.settings),
      kept_(keptGamesOf(launch, store_)),
      playing_(playingOf(launch, kept_)),
      watching_(watchingOf(launch)),
      core_(window_, modeOf(playing_, watching_),
            FrontEndSetup{settings_, store_, launch.wallClock}) {}

SessionMode& TemplateFrontEnd::modeOf(std::optional<Playing>& playing,
                                      std::optional<Watching>& watching) {
    if (watching) return *watching;
    return *playing;
}

}  // namespace kolvane
