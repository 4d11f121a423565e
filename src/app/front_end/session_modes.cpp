#include "app/front_end/session_modes.h"

#include <utility>

namespace kolvane {

SessionModes::SessionModes(std::optional<Script> watch, GameStore& store,
                           const KeptGamesSetup& keeping, bool showScores) {
    if (watch) {
        watching_.emplace(std::move(*watch));
        return;
    }
    kept_.emplace(store, keeping);
    playing_.emplace(*kept_, showScores);
}

SessionMode& SessionModes::mode() {
    if (watching_) return *watching_;
    return *playing_;
}

}  // namespace kolvane
