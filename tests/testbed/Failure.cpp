#include "tests/testbed/Failure.h"

#include <cstdio>

namespace testsupport {

namespace {

void PrintFailure(FailureKind kind, const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", kind == FailureKind::Fatal ? "fatal" : "failure", message.c_str());
}

FailureHandler handler = &PrintFailure;

}  // namespace

void SetFailureHandler(FailureHandler newHandler) { handler = newHandler ? newHandler : &PrintFailure; }

Fail::~Fail() { handler(kind_, message_.str()); }

}  // namespace testsupport
