#include "app/network/http_client.h"

namespace kolvane {

std::string_view httpFailureName(HttpFailure failure) {
    switch (failure) {
        case HttpFailure::kNone:
            return "answered";
        case HttpFailure::kUnreachable:
            return "server unreachable";
        case HttpFailure::kTimeout:
            return "timed out";
        case HttpFailure::kTooLarge:
            return "answer too large";
        case HttpFailure::kTls:
            return "TLS refused";
        case HttpFailure::kCancelled:
            return "cancelled";
        case HttpFailure::kOther:
            break;
    }
    return "request failed";
}

}  // namespace kolvane
