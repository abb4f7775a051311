// The host protocol's rules that need no window: the layout code, the system's name, the block's
// name and which text lengths are read.

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "hostlink/core/HostProtocol.h"

namespace {

using hostlink::MapLayoutCode;
using hostlink::ReadableTextLength;
using hostlink::WindowsVersionNameFor;

TEST(MapLayoutCode, TableOfTheHostsAnswers) {
    const int expected[] = {1, 2, 3, 5, 6, 7, 8, 9, 10, 11, 4};
    for (int answer = 0; answer <= 10; ++answer) EXPECT_EQ(MapLayoutCode(answer), expected[answer]) << "answer " << answer;
}

TEST(MapLayoutCode, NegativeAndUnknownAnswersGiveOne) {
    for (std::intptr_t answer : {std::intptr_t{-1}, std::intptr_t{-10}, std::intptr_t{11}, std::intptr_t{12},
                                 std::intptr_t{255}, std::intptr_t{256}, std::intptr_t{257}, std::intptr_t{266},
                                 std::intptr_t{INT_MAX}, std::intptr_t{INT_MIN}, INTPTR_MAX, INTPTR_MIN})
        EXPECT_EQ(MapLayoutCode(answer), 1) << "answer " << answer;
}

TEST(WindowsVersionNameFor, PlatformAndMinorVersion) {
    EXPECT_EQ(WindowsVersionNameFor(0, 0), "Win3.1");
    EXPECT_EQ(WindowsVersionNameFor(0, 10), "Win3.1");
    EXPECT_EQ(WindowsVersionNameFor(1, 0), "Win95");
    EXPECT_EQ(WindowsVersionNameFor(1, 10), "Win98");
    EXPECT_EQ(WindowsVersionNameFor(1, 90), "WinMe");
    EXPECT_EQ(WindowsVersionNameFor(2, 0), "WinNT");
    EXPECT_EQ(WindowsVersionNameFor(2, 3), "WinNT");
}

TEST(WindowsVersionNameFor, UnknownCombinationsAreEmpty) {
    for (unsigned long minor : {1ul, 9ul, 11ul, 89ul, 91ul, 4294967295ul})
        EXPECT_EQ(WindowsVersionNameFor(1, minor), "") << "minor " << minor;
    for (unsigned long platform : {3ul, 4ul, 4294967295ul}) EXPECT_EQ(WindowsVersionNameFor(platform, 0), "");
}

TEST(SharedBlockName, UnsignedDecimalHandle) {
    EXPECT_EQ(hostlink::SharedBlockName(655794), "Kestrix_Map_655794");
    EXPECT_EQ(hostlink::SharedBlockName(0), "Kestrix_Map_0");
    EXPECT_EQ(hostlink::SharedBlockName(4294967295u), "Kestrix_Map_4294967295");
}

// Up to the cap on the NT family, up to 65,534 elsewhere; past either, and below 0, unreadable.
TEST(ReadableTextLength, TheCapsOnEitherFamily) {
    constexpr std::intptr_t kCap = hostlink::kMaxHostTextLength;
    static_assert(kCap + 1 == 64 * 1024 * 1024, "the buffer with its zero byte stays within 64 MiB");
    const struct {
        std::intptr_t answer;
        int nt, older;
    } table[] = {{0, 0, 0},
                 {70000, 70000, -1},
                 {0xFFFE, 0xFFFE, 0xFFFE},
                 {0xFFFF, 0xFFFF, -1},
                 {kCap, static_cast<int>(kCap), -1},
                 {kCap + 1, -1, -1},
                 {INT_MAX - 1, -1, -1},
                 {INT_MAX, -1, -1},
                 {-1, -1, -1},
                 {INT_MIN, -1, -1},
                 {INTPTR_MAX, -1, -1},
                 {INTPTR_MIN, -1, -1}};
    for (const auto& row : table) {
        EXPECT_EQ(ReadableTextLength(row.answer, true), row.nt) << row.answer;
        EXPECT_EQ(ReadableTextLength(row.answer, false), row.older) << row.answer;
    }
}

}  // namespace
