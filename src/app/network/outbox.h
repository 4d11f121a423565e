#pragma once
// Recordings waiting to be sent to the leaderboard server, each a file in the
// outbox folder of the data folder (outbox/NAME.kolvane, written atomically).
// A recording leaves the folder only once the server has taken it, or, when
// the server refuses it for good (not a recording, too large, the name is
// another player's), into outbox/refused/ with the reason beside it, where it
// stays for the player to see; it is never sent again by itself. So nothing
// is lost, and a copy is sent twice only when the program ends between the
// server's answer and the file's removal (the server then answers with the
// same id: it knows recordings by their bytes).
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kolvane {

inline constexpr const char* kOutboxFolderName = "outbox";
inline constexpr const char* kRefusedFolderName = "refused";

class Outbox {
public:
    explicit Outbox(std::filesystem::path folder) : folder_(std::move(folder)) {}

    // Queues the recording under name (a recording's file name), replacing a
    // copy of the same name not yet sent (a longer one of the same session).
    bool add(std::string_view name, std::string_view recording, std::string& error) const;
    // The names waiting, oldest first (recording names start with the date).
    std::vector<std::string> waiting() const;
    // A waiting recording's bytes; false with error set when it can't be read.
    bool read(const std::string& name, std::string& recording, std::string& error) const;
    // The server has it: the copy goes.
    void remove(const std::string& name) const;
    // Refused for good: moved to refused/ with NAME.reason beside it.
    void setAside(const std::string& name, std::string_view reason) const;

    const std::filesystem::path& folder() const { return folder_; }

private:
    std::filesystem::path folder_;
};

}  // namespace kolvane
