#pragma once
// Compares a drawn surface with a reference image in tests/gfx/golden/.
// With KOLVANE_UPDATE_GOLDEN=1 in the environment the reference is rewritten
// instead. On a mismatch the actual image and a diff (mismatches in red over
// the dimmed reference) are written under the build directory.
#include <gtest/gtest.h>

#include <string>

#include "gfx/surface.h"

namespace kolvane::testing {

::testing::AssertionResult matchesGolden(const gfx::Surface& surface, const std::string& name);

// A scratch directory under the build directory, emptied for each caller.
std::string scratchDirectory(const std::string& name);

}  // namespace kolvane::testing
