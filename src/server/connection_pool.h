#pragma once
// A few database connections shared by the threads of one process: a thread
// borrows one for a request and gives it back. Connections are opened when
// first needed, up to a limit; a thread that finds none free waits for one.
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace kolvane::server {

template <class Connection>
class ConnectionPool {
public:
    using Opener = std::function<std::unique_ptr<Connection>()>;

    ConnectionPool(std::size_t limit, Opener open) : limit_(limit), open_(std::move(open)) {}

    class Lease {
    public:
        Lease(ConnectionPool& pool, std::unique_ptr<Connection> connection)
            : pool_(pool), connection_(std::move(connection)) {}
        ~Lease() { pool_.giveBack(std::move(connection_)); }
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        Connection* operator->() const { return connection_.get(); }
        Connection& operator*() const { return *connection_; }
        explicit operator bool() const { return connection_ != nullptr; }

    private:
        ConnectionPool& pool_;
        std::unique_ptr<Connection> connection_;
    };

    // A connection, or an empty lease when a new one could not be opened.
    Lease borrow() {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [&] { return !idle_.empty() || open_count_ < limit_; });
        if (!idle_.empty()) {
            std::unique_ptr<Connection> connection = std::move(idle_.back());
            idle_.pop_back();
            return Lease(*this, std::move(connection));
        }
        ++open_count_;
        lock.unlock();
        std::unique_ptr<Connection> connection = open_();
        if (!connection) {
            lock.lock();
            --open_count_;
            ready_.notify_one();
        }
        return Lease(*this, std::move(connection));
    }

private:
    void giveBack(std::unique_ptr<Connection> connection) {
        if (!connection) return;
        {
            const std::lock_guard lock(mutex_);
            idle_.push_back(std::move(connection));
        }
        ready_.notify_one();
    }

    std::size_t limit_;
    Opener open_;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::vector<std::unique_ptr<Connection>> idle_;
    std::size_t open_count_ = 0;
};

}  // namespace kolvane::server
