// DPI awareness declared: the window's pixels are the monitor's own. (Wine 8
// does not scale a program that is not DPI-aware, so the window tests under
// Wine can't tell the two apart.)
#include "app/win32/window_frame.h"

#include <gtest/gtest.h>

namespace kolvane::win32 {
namespace {

TEST(WindowFrame, DeclaresDpiAwareness) {
    declareDpiAwareness();
    EXPECT_NE(IsProcessDPIAware(), FALSE);
}

}  // namespace
}  // namespace kolvane::win32
