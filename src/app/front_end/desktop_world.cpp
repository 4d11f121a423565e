#include "app/front_end/desktop_world.h"

#include <algorithm>
#include <utility>
#include <variant>

#include "app/network/player_key.h"
#include "app/session/tick_and_field.h"
#include "app/storage/data_folders.h"

namespace kolvane {

namespace {

// A verdict is asked for a second after its recording was sent, then after
// twice as long each time it is still queued, up to half a minute, a dozen
// times at most (about five minutes).
constexpr std::int64_t kFirstVerdictTicks = 1000 / kTickMilliseconds;
constexpr std::int64_t kLongestVerdictWaitTicks = 30000 / kTickMilliseconds;
constexpr int kMostVerdictAsks = 12;

}  // namespace

DesktopWorld::DesktopWorld(NetworkSetup setup, bool askTicket, std::unique_ptr<HttpClient> http)
    : worker_(std::move(setup), std::move(http)),
      ticketAsked_(askTicket),
      ticketDeadline_(std::chrono::steady_clock::now() + std::chrono::milliseconds(kTicketWaitMs)) {
    if (ticketAsked_) worker_.fetchTicket();
}

std::optional<SessionTicket> DesktopWorld::awaitTicket() {
    if (!ticketAsked_) return std::nullopt;
    ticketAsked_ = false;
    // The ticket is the first job's answer: nothing else comes before it.
    while (std::optional<NetworkResult> result = worker_.waitForResult(ticketDeadline_)) {
        if (auto* ticket = std::get_if<TicketResult>(&*result)) {
            if (!ticket->answer) return std::nullopt;
            return SessionTicket{ticket->answer.value->clockSeconds,
                                 std::move(ticket->answer.value->token)};
        }
        take(*result);
    }
    return std::nullopt;
}

void DesktopWorld::open() {
    worker_.loadVerifiedGames();
    worker_.sendOutbox();
    worker_.fetchWorldTable(kTopCount);
}

void DesktopWorld::submit(const std::string& name, std::string recording) {
    worker_.submit(name, std::move(recording));
}

void DesktopWorld::afterTick(std::int64_t ticks) {
    ticks_ = ticks;
    while (std::optional<NetworkResult> result = worker_.poll()) take(*result);
    for (Awaited& awaited : awaited_) {
        if (awaited.asked || ticks < awaited.dueTick) continue;
        awaited.asked = true;
        ++awaited.asks;
        worker_.fetchVerdict(awaited.id);
    }
}

void DesktopWorld::finish() {
    worker_.stop();
}

bool DesktopWorld::verified(const ScoreEntry& entry) const {
    return std::find(verified_.begin(), verified_.end(),
                     VerifiedGameMark{entry.recording, entry.endTick}) != verified_.end();
}

const std::vector<WorldRow>* DesktopWorld::topTen() const {
    return topTen_ ? &*topTen_ : nullptr;
}

void DesktopWorld::take(NetworkResult& result) {
    if (const auto* event = std::get_if<OutboxEvent>(&result)) {
        if (event->kind == OutboxEventKind::kSent && event->id) {
            awaited_.push_back(Awaited{*event->id, event->name, ticks_ + kFirstVerdictTicks,
                                       kFirstVerdictTicks, 0, false});
        }
    } else if (auto* verdict = std::get_if<VerdictResult>(&result)) {
        takeVerdict(*verdict);
    } else if (const auto* table = std::get_if<WorldTableResult>(&result)) {
        if (!table->answer) return;  // the table shown stays as it was
        std::vector<WorldRow> rows;
        for (const WorldEntry& entry : table->answer.value->entries) {
            if (rows.size() == static_cast<std::size_t>(kTopCount)) break;
            rows.push_back(WorldRow{entry.rank, entry.score, entry.level, entry.player});
        }
        topTen_ = std::move(rows);
        ++changes_;
    } else if (auto* games = std::get_if<VerifiedGamesResult>(&result)) {
        for (VerifiedGameMark& game : games->games) {
            if (std::find(verified_.begin(), verified_.end(), game) == verified_.end()) {
                verified_.push_back(std::move(game));
            }
        }
        ++changes_;
    }
    // A ticket that came too late: this session started from the wall clock.
}

void DesktopWorld::takeVerdict(VerdictResult& result) {
    const auto awaited = std::find_if(awaited_.begin(), awaited_.end(),
                                      [&](const Awaited& a) { return a.id == result.id; });
    if (awaited == awaited_.end()) return;
    const Verdict* verdict = result.answer ? &*result.answer.value : nullptr;
    // Queued still, or no answer: asked again later, for a while.
    if (verdict == nullptr || verdict->status == VerdictStatus::kQueued) {
        if (awaited->asks >= kMostVerdictAsks ||
            (verdict == nullptr && result.answer.error.problem != ServerProblem::kUnreachable)) {
            awaited_.erase(awaited);
            return;
        }
        awaited->waitTicks = std::min(awaited->waitTicks * 2, kLongestVerdictWaitTicks);
        awaited->dueTick = ticks_ + awaited->waitTicks;
        awaited->asked = false;
        return;
    }
    if (verdict->status == VerdictStatus::kVerified) {
        std::vector<VerifiedGameMark> games;
        for (const VerifiedGame& game : verdict->games) {
            games.push_back(VerifiedGameMark{awaited->name, game.endTick});
            if (std::find(verified_.begin(), verified_.end(), games.back()) == verified_.end()) {
                verified_.push_back(games.back());
            }
        }
        worker_.keepVerifiedGames(std::move(games));
        // The table may have changed with it.
        worker_.fetchWorldTable(kTopCount);
        ++changes_;
    }
    awaited_.erase(awaited);
}

std::unique_ptr<DesktopWorld> makeDesktopWorld(const Settings& settings, bool playing,
                                               std::FILE* log) {
    if (settings.server.empty() || !playing) return nullptr;
    std::optional<ServerUrl> server = ServerUrl::parse(settings.server);
    if (!server) {
        std::fprintf(log,
                     "kolvane: server \"%s\" in settings.ini is not an http or https address: "
                     "no world table\n",
                     settings.server.c_str());
        return nullptr;
    }
    const std::filesystem::path data = dataFolder();
    const std::filesystem::path config = configFolder();
    NetworkSetup setup{std::move(*server),
                       {PlayerName::fromText(settings.name),
                        config.empty() ? config : config / kPlayerKeyFileName},
                       data.empty() ? data : data / kOutboxFolderName,
                       HttpTimeouts{},
                       data.empty() ? data : data / kVerifiedGamesFileName,
                       log};
    return std::make_unique<DesktopWorld>(std::move(setup), settings.record);
}

}  // namespace kolvane
