// The integer rules of the host's settings file.

#include "hostlink/core/HostSettings.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using hostlink::ParseIniInteger;

TEST(IniInteger, ReadsDecimalAndHexadecimalWithBlanksAndSign) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"0", 0},         {"007", 7},      {" -3", -3},        {"\t 42", 42},          {"+5", 5},
        {"$1F", 31},      {"0x1f", 31},    {"0X10", 16},       {"x2", 2},              {"XaB", 0xAB},
        {"-$10", -16},    {"$FFFFFFFF", -1}, {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN}};
    for (const auto& [text, value] : cases) EXPECT_EQ(ParseIniInteger(text), value) << '"' << text << '"';
}

TEST(IniInteger, AnyOtherTextIsNoInteger) {
    for (const char* text : {"", "   ", "-", "+", "0x", "$", "12abc", "abc", "1 ", "1.5", "- 1", "--1", "$-1",
                             "0x0x1", "$G", "1e3", "2147483648", "-2147483649", "99999999999999999999999",
                             "$100000000", "\xE3\x81\x82"})
        EXPECT_EQ(ParseIniInteger(text), std::nullopt) << '"' << text << '"';
    EXPECT_EQ(ParseIniInteger(std::string("1\0" "2", 3)), std::nullopt);
}

TEST(IniSettings, NoIntegerGivesTheDefaultAndNonZeroIsTrue) {
    EXPECT_EQ(hostlink::IniIntegerOr("0x", 7), 7);
    EXPECT_EQ(hostlink::IniIntegerOr("", 0), 0);
    EXPECT_EQ(hostlink::IniIntegerOr("0", 7), 0);
    EXPECT_FALSE(hostlink::IniBooleanOr("$0", true));
    EXPECT_TRUE(hostlink::IniBooleanOr("-1", false));
    EXPECT_TRUE(hostlink::IniBooleanOr("", true));
    EXPECT_TRUE(hostlink::IniBooleanOr("false", true));
}

}  // namespace
