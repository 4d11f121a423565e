// The folders on Windows: one, %APPDATA%\Kolvane, for data and settings.
#include <cstdlib>

#include "app/storage/data_folders.h"

namespace kolvane {

namespace {

std::filesystem::path applicationFolder() {
    const char* appData = std::getenv("APPDATA");
    if (appData == nullptr || appData[0] == '\0') return {};
    return std::filesystem::path(appData) / "Kolvane";
}

}  // namespace

std::filesystem::path dataFolder() {
    return applicationFolder();
}

std::filesystem::path configFolder() {
    return applicationFolder();
}

}  // namespace kolvane
