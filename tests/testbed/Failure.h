#pragma once
// How the test bed says that something went wrong (a program that would not start, a window that
// never came): a test program turns each report into a failure of the running test
// (GTestFailure.cpp, linked as corvane_testbed_gtest); a benchmark or a tool prints it.

#include <sstream>
#include <string>

namespace testsupport {

// Check: the test goes on, as after a failed EXPECT. Fatal: the test's helper gives up, as after
// a failed ASSERT, and the test can see it (HasFatalFailure).
enum class FailureKind { Check, Fatal };

using FailureHandler = void (*)(FailureKind kind, const std::string& message);
// Replaces the handler; the default one writes each report to the standard error stream.
void SetFailureHandler(FailureHandler handler);

// Collects a message and reports it when the statement ends: Fail() << "cannot start " << exe;
class Fail {
public:
    explicit Fail(FailureKind kind = FailureKind::Check) : kind_(kind) {}
    Fail(const Fail&) = delete;
    Fail& operator=(const Fail&) = delete;
    ~Fail();

    template <typename T>
    Fail& operator<<(const T& part) {
        message_ << part;
        return *this;
    }

private:
    FailureKind kind_;
    std::ostringstream message_;
};

}  // namespace testsupport
