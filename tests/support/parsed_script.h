#pragma once
// A script from its text, for tests that know it is one.
#include <gtest/gtest.h>

#include <string>

#include "app/session/script.h"

namespace kolvane::testing {

inline Script parsed(const std::string& text) {
    Script script;
    std::string error;
    EXPECT_TRUE(parseScript(text, "test", script, error)) << error;
    return script;
}

}  // namespace kolvane::testing
