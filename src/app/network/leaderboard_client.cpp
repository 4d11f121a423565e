#include "app/network/leaderboard_client.h"

#include <algorithm>
#include <limits>

#include "app/network/api_fields.h"
#include "app/network/json_fields.h"
#include "app/network/server_text.h"
#include "app/session/script.h"
#include "app/text/utc_time.h"

namespace kolvane {

namespace {

constexpr std::int64_t kMaxCount = std::numeric_limits<std::int32_t>::max();

ServerError badAnswer(std::string what) {
    return {ServerProblem::kBadAnswer, "unexpected answer from the server: " + std::move(what)};
}

// The error for an answer that is not the one expected: the server's own
// message when a refusal carries one.
ServerError errorOf(const HttpResponse& response) {
    if (response.failure != HttpFailure::kNone) {
        const auto problem = response.failure == HttpFailure::kTooLarge
                                 ? ServerProblem::kBadAnswer
                                 : ServerProblem::kUnreachable;
        return {problem, printableServerText(response.error, api::kMaxReasonCharacters)};
    }
    const int status = response.status;
    std::string text = "HTTP " + std::to_string(status);
    if (const auto document = parseJson(response.body)) {
        if (const auto message = stringField(*document, api::kError, 4096)) {
            text += ": " + printableServerText(*message, api::kMaxReasonCharacters);
        }
    }
    // Down, overloaded, or asking to wait: worth another try later.
    if (status >= 500 || status == 429 || status == 408) return {ServerProblem::kUnreachable, text};
    if (status >= 400) return {ServerProblem::kRefused, text};
    return badAnswer(text);
}

// The JSON (an object or a list) of an answer with one of the expected
// statuses, or the error.
template <class T>
std::optional<Json> expectJson(const HttpResponse& response, std::initializer_list<int> statuses,
                                 ServerAnswer<T>& answer) {
    if (response.failure != HttpFailure::kNone ||
        std::find(statuses.begin(), statuses.end(), response.status) == statuses.end()) {
        answer.error = errorOf(response);
        return std::nullopt;
    }
    auto document = parseJson(response.body);
    if (!document || !(document->is_object() || document->is_array())) {
        answer.error = badAnswer("not JSON");
        return std::nullopt;
    }
    return document;
}

std::optional<RecordingId> idField(const Json& object, const char* name) {
    const auto text = stringField(object, name, 64);
    return text ? RecordingId::fromText(*text) : std::nullopt;
}

std::optional<VerdictStatus> statusNamed(std::string_view name) {
    if (name == api::kQueued) return VerdictStatus::kQueued;
    if (name == api::kVerified) return VerdictStatus::kVerified;
    if (name == api::kRejected) return VerdictStatus::kRejected;
    return std::nullopt;
}

std::optional<std::vector<VerifiedGame>> gamesOf(const Json& verdict) {
    std::vector<VerifiedGame> games;
    const auto it = verdict.find(api::kGames);
    if (it == verdict.end()) return games;  // none yet (queued, rejected)
    if (!it->is_array() || it->size() > api::kMaxGames) return std::nullopt;
    for (const Json& g : *it) {
        const auto score = integerField(g, api::kScore, 0, kMaxCount);
        const auto level = integerField(g, api::kLevel, 0, kMaxCount);
        const auto endTick =
            integerField(g, api::kEndTick, 0, std::numeric_limits<std::int64_t>::max());
        if (!score || !level || !endTick) return std::nullopt;
        games.push_back(
            {static_cast<std::int32_t>(*score), static_cast<std::int32_t>(*level), *endTick});
    }
    return games;
}

// A date as seconds since 1970 or as the UTC text the kept files use.
std::optional<std::int64_t> dateField(const Json& entry) {
    if (const auto seconds = integerField(entry, api::kDate, 0, std::int64_t{1} << 40))
        return seconds;
    std::int64_t seconds = 0;
    if (const auto text = stringField(entry, api::kDate, 32); text && parseUtc(*text, seconds)) {
        return seconds;
    }
    return std::nullopt;
}

std::optional<WorldEntry> worldEntryOf(const Json& e) {
    const auto rank = integerField(e, api::kRank, 1, kMaxCount);
    const auto player = stringField(e, api::kPlayer, 256);
    const auto score = integerField(e, api::kScore, 0, kMaxCount);
    const auto level = integerField(e, api::kLevel, 0, kMaxCount);
    const auto date = dateField(e);
    const auto recording = idField(e, api::kRecording);
    if (!rank || !player || !score || !level || !date || !recording) return std::nullopt;
    return WorldEntry{*rank,
                      printableServerText(*player, api::kMaxNameCharacters),
                      static_cast<std::int32_t>(*score),
                      static_cast<std::int32_t>(*level),
                      *date,
                      *recording};
}

}  // namespace

ServerAnswer<Ticket> LeaderboardClient::fetchTicket() {
    HttpRequest request{HttpMethod::kPost,    server_.at(api::kTicketsPath), "", "", "",
                        api::kMaxTicketAnswer};
    ServerAnswer<Ticket> answer;
    const auto document = expectJson(http_.send(request), {api::kCreated, api::kOk}, answer);
    if (!document) return answer;
    const auto token = stringField(*document, api::kTicket, kMaxTicketLength);
    const auto clock =
        integerField(*document, api::kClock, 0, std::numeric_limits<std::int32_t>::max());
    // The token goes into the recording's "ticket" line as it is: only one
    // that the script reader takes.
    if (!token || !isTicket(*token) || !clock) {
        answer.error = badAnswer("no ticket and clock");
        return answer;
    }
    answer.value = Ticket{*token, static_cast<std::int32_t>(*clock)};
    return answer;
}

ServerAnswer<Submission> LeaderboardClient::submit(std::string_view recording,
                                                   const PlayerName& player, const PlayerKey& key) {
    ServerAnswer<Submission> answer;
    if (recording.size() > api::kMaxRecordingBytes) {
        answer.error = {ServerProblem::kRefused, "the recording is too large to send (more than " +
                                                     std::to_string(api::kMaxRecordingBytes) +
                                                     " bytes)"};
        return answer;
    }
    HttpRequest request{HttpMethod::kPost,
                        server_.at(api::kRecordingsPath) + "?" +
                            std::string(api::kPlayerParameter) + "=" +
                            percentEncoded(player.text()),
                        std::string(api::kRecordingType),
                        std::string(recording),
                        key.bearerCredential(),
                        api::kMaxSubmissionAnswer};
    const HttpResponse response = http_.send(request);
    const auto document = expectJson(response, {api::kAccepted, api::kOk}, answer);
    if (!document) return answer;
    const auto id = idField(*document, api::kId);
    if (!id) {
        answer.error = badAnswer("no recording id");
        return answer;
    }
    answer.value = Submission{*id, response.status == api::kOk};
    return answer;
}

ServerAnswer<Verdict> LeaderboardClient::fetchVerdict(const RecordingId& id) {
    HttpRequest request{
        HttpMethod::kGet,      server_.at(api::kRecordingsPath) + "/" + id.text(), "", "", "",
        api::kMaxVerdictAnswer};
    ServerAnswer<Verdict> answer;
    const auto document = expectJson(http_.send(request), {api::kOk}, answer);
    if (!document) return answer;
    const auto status = stringField(*document, api::kStatus, 32);
    const auto verdictStatus = status ? statusNamed(*status) : std::nullopt;
    auto games = gamesOf(*document);
    if (!verdictStatus || !games) {
        answer.error = badAnswer("no status or games");
        return answer;
    }
    Verdict verdict{id,
                    *verdictStatus,
                    boolField(*document, api::kRanked).value_or(false),
                    integerField(*document, api::kRank, 1, kMaxCount),
                    "",
                    "",
                    std::move(*games)};
    const char* reasonField =
        verdict.status == VerdictStatus::kRejected ? api::kReason : api::kUnrankedReason;
    if (const auto reason = stringField(*document, reasonField, 4096)) {
        verdict.reason = printableServerText(*reason, api::kMaxReasonCharacters);
    }
    if (const auto player = stringField(*document, api::kPlayer, 256)) {
        verdict.player = printableServerText(*player, api::kMaxNameCharacters);
    }
    answer.value = std::move(verdict);
    return answer;
}

ServerAnswer<WorldTable> LeaderboardClient::fetchWorldTable(int limit, int offset) {
    limit = std::clamp(limit, 1, api::kMaxTableLimit);
    offset = std::max(offset, 0);
    HttpRequest request{HttpMethod::kGet,
                        server_.at(api::kScoresPath) + "?limit=" + std::to_string(limit) +
                            "&offset=" + std::to_string(offset),
                        "",
                        "",
                        "",
                        api::kMaxTableAnswer};
    ServerAnswer<WorldTable> answer;
    const auto document = expectJson(http_.send(request), {api::kOk}, answer);
    if (!document) return answer;
    const Json* list = &*document;
    if (document->is_object()) {
        const auto it = document->find(api::kScores);
        list = it == document->end() ? nullptr : &*it;
    }
    if (list == nullptr || !list->is_array() || list->size() > static_cast<std::size_t>(limit)) {
        answer.error = badAnswer("no table of scores");
        return answer;
    }
    WorldTable table;
    for (const Json& e : *list) {
        auto entry = worldEntryOf(e);
        if (!entry) {
            answer.error = badAnswer("a malformed entry in the table");
            return answer;
        }
        table.entries.push_back(std::move(*entry));
    }
    answer.value = std::move(table);
    return answer;
}

}  // namespace kolvane
