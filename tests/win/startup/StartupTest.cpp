// Corvane's start end to end: which host it serves, refusal without one, one instance per host.
#include <gtest/gtest.h>
