// A test that cannot run where it is started (a tool, a font or a file it
// needs is not there) says why, as `return testsupport::CannotRun("...");`.
// Outside CI it is skipped, which CTest counts as skipped, never as passed;
// under CI=true, where scripts/setup.sh has installed everything, it fails.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <string_view>

namespace testsupport {

inline void CannotRun(const std::string& reason) {
    const char* ci = std::getenv("CI");
    if (ci && std::string_view(ci) == "true") FAIL() << "cannot run: " << reason << " (CI=true: every test must run)";
    GTEST_SKIP() << reason;
}

}  // namespace testsupport
