#include "app/network/network_worker.h"

#include <chrono>
#include <condition_variable>
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
using Job = std::variant<TicketJob, SubmitJob, OutboxJob, VerdictJob, TableJob>;

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
        const std::lock_guard lock(mailMutex);
        mail.push_back(std::move(result));
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
