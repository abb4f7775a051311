// The host protocol's rules that need no window: the layout code and the system's name.

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "hostlink/core/HostProtocol.h"

namespace {

using kestrix::MapLayoutCode;
using kestrix::WindowsVersionNameFor;

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
    EXPECT_EQ(kestrix::SharedBlockName(655794), "Kestrix_Map_655794");
    EXPECT_EQ(kestrix::SharedBlockName(0), "Kestrix_Map_0");
    EXPECT_EQ(kestrix::SharedBlockName(4294967295u), "Kestrix_Map_4294967295");
}

}  // namespace
