#include "server/metrics.h"

#include <cstdio>

namespace kolvane::server {

namespace {

std::string number(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6g", value);
    return buffer;
}

}  // namespace

void Metrics::request(const std::string& route, int status) {
    const std::lock_guard lock(mutex_);
    ++requests_[{route, status}];
}

void Metrics::job(const std::string& outcome, double cpuSeconds) {
    const std::lock_guard lock(mutex_);
    ++jobs_[outcome];
    if (outcome == "failed") return;
    ++verifications_;
    verifySeconds_ += cpuSeconds;
    for (std::size_t i = 0; i < kSecondsBuckets.size(); ++i) {
        if (cpuSeconds <= kSecondsBuckets[i]) ++buckets_[i];
    }
}

std::string Metrics::text(std::int64_t queueDepth) const {
    const std::lock_guard lock(mutex_);
    std::string out;
    out += "# HELP kolvane_requests_total HTTP requests answered, by route and status.\n";
    out += "# TYPE kolvane_requests_total counter\n";
    for (const auto& [key, count] : requests_) {
        out += "kolvane_requests_total{route=\"" + key.first + "\",status=\"" +
               std::to_string(key.second) + "\"} " + std::to_string(count) + "\n";
    }
    if (queueDepth >= 0) {
        out += "# HELP kolvane_queue_depth Recordings waiting for verification.\n";
        out += "# TYPE kolvane_queue_depth gauge\n";
        out += "kolvane_queue_depth " + std::to_string(queueDepth) + "\n";
    }
    out += "# HELP kolvane_jobs_total Verification jobs finished by this process, by outcome.\n";
    out += "# TYPE kolvane_jobs_total counter\n";
    for (const auto& [outcome, count] : jobs_) {
        out += "kolvane_jobs_total{outcome=\"" + outcome + "\"} " + std::to_string(count) + "\n";
    }
    out += "# HELP kolvane_verification_seconds CPU time of each verification.\n";
    out += "# TYPE kolvane_verification_seconds histogram\n";
    for (std::size_t i = 0; i < kSecondsBuckets.size(); ++i) {
        out += "kolvane_verification_seconds_bucket{le=\"" + number(kSecondsBuckets[i]) + "\"} " +
               std::to_string(buckets_[i]) + "\n";
    }
    out +=
        "kolvane_verification_seconds_bucket{le=\"+Inf\"} " + std::to_string(verifications_) + "\n";
    out += "kolvane_verification_seconds_sum " + number(verifySeconds_) + "\n";
    out += "kolvane_verification_seconds_count " + std::to_string(verifications_) + "\n";
    return out;
}

}  // namespace kolvane::server
