#include "server/verifier.h"

#include <mutex>

#include "server/rank_rules.h"
#include "server/recording_check.h"

namespace kolvane::server {

JobOutcome verifyJob(const Job& job, std::int64_t nowMs, const std::atomic<bool>* cancel,
                     std::int64_t cpuCapMs) {
    JobOutcome outcome;
    outcome.id = job.id;
    outcome.player = job.player;
    outcome.playerKey = job.playerKey;
    outcome.verifiedAtMs = nowMs;
    if (job.attempts >= kMaxAttempts) {
        outcome.reason =
            "verification stopped " + std::to_string(job.attempts) + " times without a verdict";
        return outcome;
    }
    // The game's generator and clock are one per process: one replay at a time.
    static std::mutex oneReplay;
    std::unique_lock replaying(oneReplay);
    const VerifyReport report = verifySubmission(job.body, cancel);
    replaying.unlock();
    if (report.verdict == Verdict::kCancelled || (cancel != nullptr && cancel->load())) {
        outcome.reason = "verification took more than " + std::to_string(cpuCapMs / 1000) +
                         " s of processor time";
        return outcome;
    }
    if (report.verdict != Verdict::kAgrees) {
        outcome.reason = report.message;
        return outcome;
    }
    outcome.verified = true;
    outcome.games = report.reached;
    RankFacts facts;
    facts.script = &report.recording.script;
    facts.ticks = report.ticks;
    facts.ticketIssuedAtMs = job.ticketIssuedAtMs;
    facts.submittedAtMs = job.submittedAtMs;
    outcome.unranked = whyUnranked(facts);
    if (outcome.unranked || !job.ticketIssuedAtMs) return outcome;
    // The best game: the highest score, the earlier one on a tie.
    const GameResult* best = &outcome.games.front();
    for (const GameResult& game : outcome.games) {
        if (game.score > best->score) best = &game;
    }
    outcome.best = BestGame{*best, *job.ticketIssuedAtMs + best->endTick * 15};
    return outcome;
}

}  // namespace kolvane::server
