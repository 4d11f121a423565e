#include "app/storage/data_folders.h"

#include <cstdlib>

namespace kolvane {

namespace {

// An environment variable, or an empty path when it is unset or empty.
std::filesystem::path fromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] == '\0') return {};
    return std::filesystem::path(value);
}

#ifdef _WIN32
std::filesystem::path applicationFolder() {
    const std::filesystem::path appData = fromEnvironment("APPDATA");
    return appData.empty() ? appData : appData / "Kolvane";
}
#else
// $VARIABLE/kolvane, or $HOME/FALLBACK/kolvane. The XDG rules ignore a
// relative path in the variable.
std::filesystem::path xdgFolder(const char* variable, const char* fallback) {
    const std::filesystem::path base = fromEnvironment(variable);
    if (!base.empty() && base.is_absolute()) return base / "kolvane";
    const std::filesystem::path home = fromEnvironment("HOME");
    if (home.empty()) return {};
    return home / fallback / "kolvane";
}
#endif

}  // namespace

std::filesystem::path dataFolder() {
#ifdef _WIN32
    return applicationFolder();
#else
    return xdgFolder("XDG_DATA_HOME", ".local/share");
#endif
}

std::filesystem::path configFolder() {
#ifdef _WIN32
    return applicationFolder();
#else
    return xdgFolder("XDG_CONFIG_HOME", ".config");
#endif
}

}  // namespace kolvane
