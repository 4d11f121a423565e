// The folders on Linux and other POSIX systems: the XDG base directories.
#include <cstdlib>

#include "app/storage/data_folders.h"

namespace kolvane {

namespace {

// $VARIABLE/kolvane, or $HOME/FALLBACK/kolvane. The XDG rules ignore a
// relative path in the variable.
std::filesystem::path xdgFolder(const char* variable, const char* fallback) {
    const char* base = std::getenv(variable);
    if (base != nullptr && base[0] != '\0' && std::filesystem::path(base).is_absolute()) {
        return std::filesystem::path(base) / "kolvane";
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') return {};
    return std::filesystem::path(home) / fallback / "kolvane";
}

}  // namespace

std::filesystem::path dataFolder() {
    return xdgFolder("XDG_DATA_HOME", ".local/share");
}

std::filesystem::path configFolder() {
    return xdgFolder("XDG_CONFIG_HOME", ".config");
}

}  // namespace kolvane
