#include "toolbar/core/ToolbarSettings.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using toolbar::IniBooleanOr;
using toolbar::IniIntegerOr;
using toolbar::ParseIniInteger;

namespace {

struct IntegerCase {
    const char* text;
    std::optional<std::int32_t> expected;
};

void PrintTo(const IntegerCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class IniIntegerText : public testing::TestWithParam<IntegerCase> {};

TEST_P(IniIntegerText, ParsesAsTheSettingsFileMeansIt) {
    EXPECT_EQ(ParseIniInteger(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Decimal, IniIntegerText,
                         testing::Values(IntegerCase{"0", 0}, IntegerCase{"1", 1}, IntegerCase{"007", 7},
                                         IntegerCase{" -3", -3}, IntegerCase{"\t 42", 42}, IntegerCase{"+5", 5},
                                         IntegerCase{"2147483647", 2147483647},
                                         IntegerCase{"-2147483648", INT32_MIN}));

INSTANTIATE_TEST_SUITE_P(Hexadecimal, IniIntegerText,
                         testing::Values(IntegerCase{"$1F", 31}, IntegerCase{"0x1f", 31}, IntegerCase{"0X10", 16},
                                         IntegerCase{"x2", 2}, IntegerCase{"XaB", 0xAB}, IntegerCase{"-$10", -16},
                                         IntegerCase{"  $0", 0}, IntegerCase{"$FFFFFFFF", -1},
                                         IntegerCase{"$7fffffff", 2147483647}));

INSTANTIATE_TEST_SUITE_P(NotAnInteger, IniIntegerText,
                         testing::Values(IntegerCase{"", std::nullopt}, IntegerCase{"   ", std::nullopt},
                                         IntegerCase{"-", std::nullopt}, IntegerCase{"+", std::nullopt},
                                         IntegerCase{"0x", std::nullopt}, IntegerCase{"$", std::nullopt},
                                         IntegerCase{"12abc", std::nullopt}, IntegerCase{"abc", std::nullopt},
                                         IntegerCase{"1 ", std::nullopt}, IntegerCase{"1.5", std::nullopt},
                                         IntegerCase{"- 1", std::nullopt}, IntegerCase{"--1", std::nullopt},
                                         IntegerCase{"$-1", std::nullopt}, IntegerCase{"0x0x1", std::nullopt},
                                         IntegerCase{"$G", std::nullopt}, IntegerCase{"1e3", std::nullopt},
                                         IntegerCase{"2147483648", std::nullopt},
                                         IntegerCase{"-2147483649", std::nullopt},
                                         IntegerCase{"99999999999999999999999", std::nullopt},
                                         IntegerCase{"$100000000", std::nullopt},
                                         IntegerCase{"\xE3\x81\x82", std::nullopt}));

TEST(IniInteger, DigitsCutShortByAZeroByteAreNotTheWholeValue) {
    EXPECT_EQ(ParseIniInteger(std::string("1\0" "2", 3)), std::nullopt);
}

TEST(IniInteger, FallsBackToTheDefaultOnlyWhenTheTextIsNoInteger) {
    EXPECT_EQ(IniIntegerOr("", 0), 0);
    EXPECT_EQ(IniIntegerOr("0x", 7), 7);
    EXPECT_EQ(IniIntegerOr("12abc", -1), -1);
    EXPECT_EQ(IniIntegerOr("0", 7), 0);
    EXPECT_EQ(IniIntegerOr(" -3", 7), -3);
}

TEST(IniBoolean, NonZeroIsTrueAndNoIntegerGivesTheDefault) {
    EXPECT_FALSE(IniBooleanOr("0", true));
    EXPECT_FALSE(IniBooleanOr("$0", true));
    EXPECT_TRUE(IniBooleanOr("1", false));
    EXPECT_TRUE(IniBooleanOr("-1", false));
    EXPECT_TRUE(IniBooleanOr("0x10", false));
    EXPECT_TRUE(IniBooleanOr("", true));
    EXPECT_FALSE(IniBooleanOr("", false));
    EXPECT_TRUE(IniBooleanOr("false", true));
    EXPECT_TRUE(IniBooleanOr("yes", true));
}

TEST(ToolbarPlacement, FixedMenuPositionsWinOverTheHost) {
    for (std::uint8_t layout : {0, 1, 2, 3, 255}) {
        EXPECT_EQ(toolbar::ToolbarLeft(1, layout), 369) << int(layout);
        EXPECT_EQ(toolbar::ToolbarLeft(2, layout), 314) << int(layout);
    }
    EXPECT_FALSE(toolbar::ToolbarLeftNeedsHost(1));
    EXPECT_FALSE(toolbar::ToolbarLeftNeedsHost(2));
}

TEST(ToolbarPlacement, OtherMenuPositionsFollowTheHostLayout) {
    for (std::int32_t position : {0, 3, -1, 369, INT32_MIN}) {
        EXPECT_TRUE(toolbar::ToolbarLeftNeedsHost(position));
        EXPECT_EQ(toolbar::ToolbarLeft(position, 2), 369) << position;
        for (std::uint8_t layout : {0, 1, 3, 4, 11})
            EXPECT_EQ(toolbar::ToolbarLeft(position, layout), 314) << position << " " << int(layout);
    }
}

TEST(ToolbarPlacement, FlatToolbarSitsHigherWithABorder) {
    const auto flat = toolbar::ToolbarFrameFor(true);
    EXPECT_EQ(flat.top, -2);
    EXPECT_EQ(flat.borderWidth, 1);
    const auto raised = toolbar::ToolbarFrameFor(false);
    EXPECT_EQ(raised.top, 0);
    EXPECT_EQ(raised.borderWidth, 0);
}

}  // namespace
