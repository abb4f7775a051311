// Linked into every test program: a failure the test bed reports fails the running test, a fatal
// one as a failed ASSERT does.

#include <gtest/gtest.h>

#include "tests/testbed/Failure.h"

namespace {

void FailRunningTest(testsupport::FailureKind kind, const std::string& message) {
    if (kind == testsupport::FailureKind::Fatal)
        [&] { FAIL() << message; }();
    else
        ADD_FAILURE() << message;
}

[[maybe_unused]] const bool installed = (testsupport::SetFailureHandler(&FailRunningTest), true);

}  // namespace
