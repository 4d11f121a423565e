#include "app/network/network_worker.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>

namespace kolvane {

namespace {

struct TicketJob {};
struct SubmitJob {
    std::string name;
    std::string recording;
};
struct OutboxJob {};
struct VerdictJob {
    RecordingId id;
};
struct TableJob {
    int limit = 10;
};
struct LoadVerifiedJob {};
struct KeepVerifiedJob {
    std::vector<VerifiedGameMark> games;
};
using Job = std::variant<TicketJob, SubmitJob, OutboxJob, VerdictJob, TableJob, LoadVerifiedJob,
                         KeepVerifiedJob>;

const char* outboxProblem(OutboxEventKind kind) {
    switch (kind) {
        case OutboxEventKind::kRefused:
            return "refused by the world table (kept in outbox/refused/)";
        case OutboxEventKind::kNotQueued:
            return "could not be queued for the world table";
        case OutboxEventKind::kWaiting:
            return "waits in the outbox for the world table";
        case OutboxEventKind::kSent:
            break;
    }
    return nullptr;
}

}  // namespace

struct NetworkWorker::State {
    explicit State(NetworkSetup s) : setup(std::move(s)) {}

    NetworkSetup setup;
    std::unique_ptr<HttpClient> http;  // null when the platform's client can't start
    std::string httpError;

    std::mutex jobsMutex;
    std::condition_variable jobsPosted;
    std::deque<Job> jobs;
    bool stopping = false;

    std::mutex mailMutex;
    std::condition_variable mailPosted;
    std::deque<NetworkResult> mail;

    std::mutex doneMutex;
    std::condition_variable doneSignal;
    bool done = false;

    void post(Job job) {
        {
            const std::lock_guard lock(jobsMutex);
            if (stopping) return;
            jobs.push_back(std::move(job));
        }
        jobsPosted.notify_one();
    }

    void deliver(NetworkResult result) {
        say(result);
        {
            const std::lock_guard lock(mailMutex);
            mail.push_back(std::move(result));
        }
        mailPosted.notify_all();
    }

    // One line on the log for what went wrong.
    void say(const NetworkResult& result) const {
        if (setup.log == nullptr) return;
        if (const auto* event = std::get_if<OutboxEvent>(&result)) {
            if (const char* problem = outboxProblem(event->kind)) {
                std::fprintf(setup.log, "kolvane: %s %s: %s\n", event->name.c_str(), problem,
                             event->reason.c_str());
            }
        } else if (const auto* ticket = std::get_if<TicketResult>(&result)) {
            if (!ticket->answer) {
                std::fprintf(setup.log,
                             "kolvane: no ticket from the world table (%s): this session's "
                             "games can't rank\n",
                             ticket->answer.error.text.c_str());
            }
        } else if (const auto* verdict = std::get_if<VerdictResult>(&result)) {
            if (verdict->answer && verdict->answer.value->status == VerdictStatus::kRejected) {
                std::fprintf(setup.log, "kolvane: the world table rejected recording %s: %s\n",
                             verdict->id.text().c_str(), verdict->answer.value->reason.c_str());
            }
        }
        std::fflush(setup.log);
    }

    // The next job to do; nothing once stopping and only dropped jobs are left.
    std::optional<Job> next(bool& leaving) {
        std::unique_lock lock(jobsMutex);
        jobsPosted.wait(lock, [&] { return stopping || !jobs.empty(); });
        leaving = stopping;
        while (!jobs.empty()) {
            Job job = std::move(jobs.front());
            jobs.pop_front();
            // Leaving: only the disk's part of a submission is still done.
            if (!leaving || std::holds_alternative<SubmitJob>(job)) return job;
        }
        return std::nullopt;
    }

    template <class T>
    ServerAnswer<T> noClient() const {
        ServerAnswer<T> answer;
        answer.error = {ServerProblem::kUnreachable, httpError};
        return answer;
    }

    void sendWaiting() {
        if (!http) {
            deliver(OutboxEvent{OutboxEventKind::kWaiting, "", std::nullopt, httpError});
            return;
        }
        LeaderboardClient client(*http, setup.server);
        for (OutboxEvent& event :
             kolvane::sendOutbox(Outbox(setup.outboxFolder), client, setup.player)) {
            deliver(std::move(event));
        }
    }

    void perform(Job& job, bool leaving) {
        std::optional<LeaderboardClient> client;
        if (http) client.emplace(*http, setup.server);
        if (auto* submit = std::get_if<SubmitJob>(&job)) {
            std::string error;
            if (!Outbox(setup.outboxFolder).add(submit->name, submit->recording, error)) {
                deliver(
                    OutboxEvent{OutboxEventKind::kNotQueued, submit->name, std::nullopt, error});
            } else if (!leaving) {
                sendWaiting();
            }
        } else if (std::holds_alternative<OutboxJob>(job)) {
            sendWaiting();
        } else if (std::holds_alternative<TicketJob>(job)) {
            deliver(TicketResult{client ? client->fetchTicket() : noClient<Ticket>()});
        } else if (const auto* verdict = std::get_if<VerdictJob>(&job)) {
            deliver(VerdictResult{
                verdict->id, client ? client->fetchVerdict(verdict->id) : noClient<Verdict>()});
        } else if (const auto* table = std::get_if<TableJob>(&job)) {
            deliver(WorldTableResult{client ? client->fetchWorldTable(table->limit, 0)
                                            : noClient<WorldTable>()});
        } else if (setup.verifiedFile.empty()) {
            // No data folder: no verified games kept.
        } else if (std::holds_alternative<LoadVerifiedJob>(job)) {
            deliver(VerifiedGamesResult{kolvane::loadVerifiedGames(setup.verifiedFile)});
        } else if (const auto* verified = std::get_if<KeepVerifiedJob>(&job)) {
            std::string error;
            if (!kolvane::keepVerifiedGames(setup.verifiedFile, verified->games, error) &&
                setup.log != nullptr) {
                std::fprintf(setup.log, "kolvane: cannot keep the verified games: %s\n",
                             error.c_str());
            }
        }
    }

    void run() {
        bool leaving = false;
        while (std::optional<Job> job = next(leaving)) perform(*job, leaving);
        {
            const std::lock_guard lock(doneMutex);
            done = true;
        }
        doneSignal.notify_all();
    }
};

NetworkWorker::NetworkWorker(NetworkSetup setup, std::unique_ptr<HttpClient> http)
    : state_(std::make_shared<State>(std::move(setup))) {
    state_->http =
        http ? std::move(http) : makeHttpClient(state_->setup.timeouts, state_->httpError);
    thread_ = std::thread([state = state_] { state->run(); });
}

void NetworkWorker::fetchTicket() {
    state_->post(TicketJob{});
}

void NetworkWorker::submit(std::string name, std::string recording) {
    state_->post(SubmitJob{std::move(name), std::move(recording)});
}

void NetworkWorker::sendOutbox() {
    state_->post(OutboxJob{});
}

void NetworkWorker::fetchVerdict(const RecordingId& id) {
    state_->post(VerdictJob{id});
}

void NetworkWorker::fetchWorldTable(int limit) {
    state_->post(TableJob{limit});
}

void NetworkWorker::loadVerifiedGames() {
    state_->post(LoadVerifiedJob{});
}

void NetworkWorker::keepVerifiedGames(std::vector<VerifiedGameMark> games) {
    state_->post(KeepVerifiedJob{std::move(games)});
}

std::optional<NetworkResult> NetworkWorker::waitForResult(
    std::chrono::steady_clock::time_point deadline) {
    std::unique_lock lock(state_->mailMutex);
    if (!state_->mailPosted.wait_until(lock, deadline, [&] { return !state_->mail.empty(); })) {
        return std::nullopt;
    }
    NetworkResult result = std::move(state_->mail.front());
    state_->mail.pop_front();
    return result;
}

std::optional<NetworkResult> NetworkWorker::poll() {
    std::unique_lock lock(state_->mailMutex, std::try_to_lock);
    if (!lock.owns_lock() || state_->mail.empty()) return std::nullopt;
    NetworkResult result = std::move(state_->mail.front());
    state_->mail.pop_front();
    return result;
}

void NetworkWorker::stop() {
    if (!thread_.joinable()) return;
    {
        const std::lock_guard lock(state_->jobsMutex);
        state_->stopping = true;
    }
    state_->jobsPosted.notify_all();
    if (state_->http) state_->http->cancel();
    std::unique_lock lock(state_->doneMutex);
    const bool finished = state_->doneSignal.wait_for(lock, std::chrono::milliseconds(kExitWaitMs),
                                                      [&] { return state_->done; });
    lock.unlock();
    // A thread that is still busy keeps the state alive and ends by itself.
    if (finished) {
        thread_.join();
    } else {
        thread_.detach();
    }
}

}  // namespace kolvane
