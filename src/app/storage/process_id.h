#pragma once
// This process's id: what tells two instances' recordings apart.
#include <cstdint>

namespace kolvane {

std::uint64_t processId();

}  // namespace kolvane
