#include "app/network/network_commands.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>

#include "app/network/api_fields.h"
#include "app/network/leaderboard_client.h"
#include "app/network/world_report.h"
#include "app/storage/text_file.h"

namespace kolvane {

namespace {

using Clock = std::chrono::steady_clock;

// The leaderboard client a command uses, over the setup's HTTP client or the
// platform's.
class Connection {
public:
    bool open(const CommandSetup& setup, const char* option) {
        const auto server = ServerUrl::parse(setup.server);
        if (!server) {
            std::fprintf(setup.errors, "kolvane: %s: %s\n", option,
                         setup.server.empty()
                             ? "no server set (server = URL in settings.ini)"
                             : "the server setting is not an http or https address");
            return false;
        }
        HttpClient* http = setup.http;
        if (http == nullptr) {
            std::string error;
            owned_ = makeHttpClient(setup.timeouts, error);
            if (!owned_) {
                std::fprintf(setup.errors, "kolvane: %s: %s\n", option, error.c_str());
                return false;
            }
            http = owned_.get();
        }
        client_.emplace(*http, *server);
        return true;
    }

    LeaderboardClient& client() { return *client_; }

private:
    std::unique_ptr<HttpClient> owned_;
    std::optional<LeaderboardClient> client_;
};

void sayUnreachable(const CommandSetup& setup, const char* option, const ServerError& error) {
    std::fprintf(setup.errors, "kolvane: %s: %s\n", option, error.text.c_str());
}

// Asks for the verdict until it comes, the wait is over or the server fails.
int awaitVerdict(const CommandSetup& setup, LeaderboardClient& client, const RecordingId& id) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(setup.wait.totalMs);
    int delayMs = std::max(setup.wait.firstPollMs, 1);
    for (;;) {
        const ServerAnswer<Verdict> answer = client.fetchVerdict(id);
        if (!answer) {
            sayUnreachable(setup, "--submit", answer.error);
            return exit_status::kNoVerdict;
        }
        const Verdict& verdict = *answer.value;
        if (verdict.status != VerdictStatus::kQueued) {
            std::fprintf(setup.out, "%s\n", verdictLine(verdict).c_str());
            return verdict.status == VerdictStatus::kVerified ? exit_status::kVerified
                                                              : exit_status::kRejected;
        }
        if (Clock::now() + std::chrono::milliseconds(delayMs) > deadline) {
            std::fprintf(setup.out, "queued: no verdict within %d s (recording %s)\n",
                         setup.wait.totalMs / 1000, id.text().c_str());
            return exit_status::kNoVerdict;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        delayMs = std::min(delayMs * 2, std::max(setup.wait.everyPollMs, 1));
    }
}

}  // namespace

int submitCommand(const CommandSetup& setup, const std::filesystem::path& recordingFile) {
    Connection connection;
    if (!connection.open(setup, "--submit")) return exit_status::kNoVerdict;
    if (!setup.player.name) {
        std::fprintf(setup.errors,
                     "kolvane: --submit: no player name set (name = ... in settings.ini, 1 to 20 "
                     "characters)\n");
        return exit_status::kNoVerdict;
    }
    std::string recording;
    std::string error;
    const ReadOutcome read = readTextFile(recordingFile, api::kMaxRecordingBytes,
                                          api::kMaxRecordingBytes, recording, error);
    if (read != ReadOutcome::kRead) {
        if (read == ReadOutcome::kMissing) error = "no file \"" + recordingFile.string() + "\"";
        std::fprintf(setup.errors, "kolvane: --submit: %s\n", error.c_str());
        return exit_status::kNoVerdict;
    }
    const std::optional<PlayerKey> key = loadOrCreatePlayerKey(setup.player.keyFile, error);
    if (!key) {
        std::fprintf(setup.errors, "kolvane: --submit: no player key: %s\n", error.c_str());
        return exit_status::kNoVerdict;
    }
    const ServerAnswer<Submission> sent =
        connection.client().submit(recording, *setup.player.name, *key);
    if (!sent) {
        if (sent.error.problem == ServerProblem::kRefused) {
            std::fprintf(setup.out, "refused: %s\n", sent.error.text.c_str());
            return exit_status::kRejected;
        }
        sayUnreachable(setup, "--submit", sent.error);
        return exit_status::kNoVerdict;
    }
    return awaitVerdict(setup, connection.client(), sent.value->id);
}

int worldCommand(const CommandSetup& setup, int count) {
    Connection connection;
    if (!connection.open(setup, "--world")) return exit_status::kNoVerdict;
    const ServerAnswer<WorldTable> table = connection.client().fetchWorldTable(count, 0);
    if (!table) {
        sayUnreachable(setup, "--world", table.error);
        return 1;
    }
    std::fputs(worldReport(*table.value).c_str(), setup.out);
    return 0;
}

}  // namespace kolvane
