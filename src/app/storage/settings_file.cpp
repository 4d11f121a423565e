#include "app/storage/settings_file.h"

#include <system_error>
#include <vector>

#include "app/storage/text_file.h"
#include "core/atomic_file.h"

namespace kolvane {

namespace {

constexpr std::size_t kMaxBytes = std::size_t{64} * 1024;
constexpr std::size_t kMaxLine = 256;

}  // namespace

Settings loadSettings(const std::filesystem::path& folder, std::FILE* errors) {
    if (folder.empty()) return Settings{};
    const std::filesystem::path path = folder / kSettingsFileName;
    std::string text;
    std::string error;
    switch (readTextFile(path, kMaxBytes, kMaxLine, text, error)) {
        case ReadOutcome::kMissing:
            return Settings{};
        case ReadOutcome::kRefused: {
            std::string aside;
            if (moveAside(path, aside)) aside = "moved aside to settings.ini.bad";
            std::fprintf(errors, "kolvane: settings refused: %s; %s; using the defaults\n",
                         error.c_str(), aside.c_str());
            return Settings{};
        }
        case ReadOutcome::kRead:
            break;
    }
    std::vector<std::string> problems;
    Settings settings = parseSettings(text, problems);
    for (const std::string& problem : problems) {
        std::fprintf(errors, "kolvane: %s:%s (ignored)\n", path.string().c_str(), problem.c_str());
    }
    return settings;
}

bool saveSettings(const std::filesystem::path& folder, const Settings& settings,
                  std::string& error) {
    if (folder.empty()) {
        error = "no folder to keep settings in";
        return false;
    }
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        error = "cannot make \"" + folder.string() + "\": " + ec.message();
        return false;
    }
    return writeFileAtomically((folder / kSettingsFileName).string(), formatSettings(settings),
                               error);
}

void SettingsFile::keep(const Settings& settings) {
    writer_.post([this, settings] {
        std::string error;
        if (!saveSettings(folder_, settings, error) && !complained_) {
            complained_ = true;
            std::fprintf(errors_, "kolvane: cannot keep the settings: %s\n", error.c_str());
        }
    });
}

}  // namespace kolvane
