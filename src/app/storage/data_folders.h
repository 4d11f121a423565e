#pragma once
// Where the window programs keep their files: the data folder (recordings,
// high scores) and the config folder (settings, gamepad mappings).
// Linux and other Unix systems: $XDG_DATA_HOME/kolvane and
// $XDG_CONFIG_HOME/kolvane, defaulting to ~/.local/share and ~/.config.
// Windows: %APPDATA%\Kolvane for both. An empty result means there is no
// such folder (no HOME, no APPDATA): the game then keeps nothing.
#include <filesystem>

namespace kolvane {

std::filesystem::path dataFolder();
std::filesystem::path configFolder();

}  // namespace kolvane
