#pragma once
// Where the page keeps things: the session's recording in IndexedDB (through
// page.js, with what the page's list shows of it), the high-score table and
// the settings in localStorage. The same store interfaces as the desktop's
// (app/storage/game_store.h, settings_store.h); the browser's storage is
// written at once, as the page has no threads, and never inside a tick.
#include <cstdint>
#include <string>
#include <string_view>

#include "app/settings/settings.h"
#include "app/storage/game_store.h"
#include "app/storage/settings_store.h"

namespace kolvane::web {

// Where the table is kept in localStorage, and where a table that can't be
// read is moved aside.
inline constexpr const char* kScoresItem = "kolvane.scores";
inline constexpr const char* kBadScoresItem = "kolvane.scores.bad";
// The settings, as settings.ini keeps them on the desktop.
inline constexpr const char* kSettingsItem = "kolvane.settings";

class PageStore final : public GameStore {
public:
    void open(std::string_view ownRecording) override;
    void keepRecording(const RecordingSnapshot& recording) override;
    void keepGames(std::vector<ScoreEntry> games) override;
    bool takeTable(ScoreTable& table) override;
    void finish() override {}

    // The names of the recordings kept (one a line, from page.js): deletes
    // those the keeping rule lets go.
    void prune(std::string_view names) const;

private:
    // The table as kept now (another page may have added its games); a table
    // that can't be read is set aside, and `whole` is false.
    static ScoreTable loadTable(bool& whole);

    std::string own_;
    ScoreTable table_;
    bool tableNew_ = false;
};

// The settings kept in this browser, or the defaults.
Settings loadPageSettings();

class PageSettings final : public SettingsStore {
public:
    void keep(const Settings& settings) override;
};

}  // namespace kolvane::web
