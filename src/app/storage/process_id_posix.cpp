#include <unistd.h>

#include "app/storage/process_id.h"

namespace kolvane {

std::uint64_t processId() {
    return static_cast<std::uint64_t>(::getpid());
}

}  // namespace kolvane
