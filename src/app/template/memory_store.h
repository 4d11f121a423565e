#pragma once
// Stores that keep everything in memory (game_store.h, settings_store.h): the
// template front end's, and the plainest example of a store. What it keeps is
// there to read back at once.
#include <map>
#include <optional>
#include <string>

#include "app/storage/game_store.h"
#include "app/storage/settings_store.h"

namespace kolvane {

class MemoryStore final : public GameStore, public SettingsStore {
public:
    void open(std::string_view ownRecording) override;
    void keepRecording(const RecordingSnapshot& recording) override;
    void keepGames(std::vector<ScoreEntry> games) override;
    bool takeTable(ScoreTable& table) override;
    void finish() override { finished_ = true; }
    void keep(const Settings& settings) override { settings_ = settings; }

    // A table as another instance left it, given at the next takeTable().
    void setTable(const ScoreTable& table);

    const std::map<std::string, std::string>& recordings() const { return recordings_; }
    const ScoreTable& table() const { return table_; }
    const std::optional<Settings>& settings() const { return settings_; }
    bool opened() const { return opened_; }
    bool finished() const { return finished_; }

private:
    std::map<std::string, std::string> recordings_;
    ScoreTable table_;
    bool tableNew_ = false;
    std::optional<Settings> settings_;
    bool opened_ = false;
    bool finished_ = false;
};

}  // namespace kolvane
