// The keys the front end keeps for itself.
#include "app/front_end/reserved_keys.h"

#include <gtest/gtest.h>

namespace kolvane {
namespace {

TEST(ReservedKeys, F11AndAltEnterToggleFullscreenAndNeverReachTheGame) {
    ReservedKeys keys;
    using Outcome = ReservedKeys::Outcome;
    const auto same = [](Outcome a, Outcome b) {
        return a.command == b.command && a.forGame == b.forGame;
    };
    const Outcome toggle{ReservedCommand::kToggleFullscreen, false};
    const Outcome kept{ReservedCommand::kNone, false};
    const Outcome game{};

    EXPECT_TRUE(same(keys.keyDown({kF11Key, false}, false), toggle));
    EXPECT_TRUE(same(keys.keyDown({kF11Key, true}, false), kept)) << "a repeat toggles nothing";
    EXPECT_FALSE(keys.keyUp(kF11Key));

    EXPECT_TRUE(same(keys.keyDown({kReturnKey, false}, true), toggle));
    EXPECT_TRUE(same(keys.keyDown({kReturnKey, true}, false), kept)) << "Alt let go first";
    EXPECT_FALSE(keys.keyUp(kReturnKey));

    EXPECT_TRUE(same(keys.keyDown({kReturnKey, false}, false), game)) << "Enter alone";
    EXPECT_TRUE(same(keys.keyDown({kReturnKey, true}, true), game)) << "Alt pressed after";
    EXPECT_TRUE(keys.keyUp(kReturnKey));
    EXPECT_TRUE(same(keys.keyDown({vk::kSpace, false}, true), game));
    EXPECT_TRUE(keys.keyUp(vk::kSpace));
}
}  // namespace
}  // namespace kolvane
