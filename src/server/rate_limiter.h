#pragma once
// Per-address rate limits: a bucket of `burst` requests for each address,
// refilled at `perMinute`. An address whose bucket is empty is told how many
// seconds to wait (the 429's Retry-After). The table of addresses is bounded:
// when full, it is cleared, which forgives everyone at once rather than
// growing without end.
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>

namespace kolvane::server {

class RateLimiter {
public:
    static constexpr std::size_t kMaxAddresses = 100000;

    // perMinute 0: no limit.
    RateLimiter(int perMinute, int burst) : perMinute_(perMinute), burst_(burst) {}

    // 0 when the request may go ahead (and is counted); otherwise the whole
    // seconds until it may.
    std::int64_t wait(const std::string& address, std::int64_t nowMs);

private:
    struct Bucket {
        double tokens = 0;
        std::int64_t atMs = 0;
    };
    int perMinute_;
    int burst_;
    std::mutex mutex_;
    std::unordered_map<std::string, Bucket> buckets_;
};

}  // namespace kolvane::server
