#include <windows.h>

#include "app/storage/process_id.h"

namespace kolvane {

std::uint64_t processId() {
    return ::GetCurrentProcessId();
}

}  // namespace kolvane
