#pragma once
// The counters behind GET /metrics, in Prometheus's text format: requests by
// route and status, the queue's depth (read from the database when asked),
// verification time (a histogram of CPU seconds) and jobs by outcome. Each
// process counts its own; Prometheus adds them up.
#include <array>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <utility>

namespace kolvane::server {

class Metrics {
public:
    static constexpr std::array<double, 10> kSecondsBuckets{0.01, 0.03, 0.1, 0.3, 1,
                                                            3,    10,   30,  60,  120};

    // route: the route's pattern ("/api/recordings/{id}"), never the path.
    void request(const std::string& route, int status);
    // outcome: "ranked", "unranked", "rejected" or "failed".
    void job(const std::string& outcome, double cpuSeconds);

    // The whole exposition; queueDepth < 0 leaves the gauge out (no database).
    std::string text(std::int64_t queueDepth) const;

private:
    mutable std::mutex mutex_;
    std::map<std::pair<std::string, int>, std::uint64_t> requests_;
    std::map<std::string, std::uint64_t> jobs_;
    std::array<std::uint64_t, kSecondsBuckets.size()> buckets_{};
    std::uint64_t verifications_ = 0;
    double verifySeconds_ = 0;
};

}  // namespace kolvane::server
