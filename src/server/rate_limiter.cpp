#include "server/rate_limiter.h"

#include <algorithm>
#include <cmath>

namespace kolvane::server {

std::int64_t RateLimiter::wait(const std::string& address, std::int64_t nowMs) {
    if (perMinute_ <= 0) return 0;
    const std::lock_guard lock(mutex_);
    if (buckets_.size() >= kMaxAddresses && buckets_.count(address) == 0) buckets_.clear();
    auto [it, added] = buckets_.try_emplace(address, Bucket{static_cast<double>(burst_), nowMs});
    Bucket& bucket = it->second;
    const double perMs = perMinute_ / 60000.0;
    bucket.tokens = std::min<double>(burst_, bucket.tokens + (nowMs - bucket.atMs) * perMs);
    bucket.atMs = nowMs;
    if (bucket.tokens >= 1) {
        bucket.tokens -= 1;
        return 0;
    }
    return std::max<std::int64_t>(
        1, static_cast<std::int64_t>(std::ceil((1 - bucket.tokens) / perMs / 1000)));
}

}  // namespace kolvane::server
