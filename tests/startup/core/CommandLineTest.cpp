// How the program reads its command line: splitting it into arguments and finding "/w=".

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "startup/core/CommandLine.h"

namespace {

using startup::FindParamValueIn;
using startup::SplitCommandLine;
using Args = std::vector<std::string>;

std::uint32_t ValueOf(std::string_view commandLine) { return FindParamValueIn(SplitCommandLine(commandLine), "/w="); }

TEST(SplitCommandLine, EveryControlCodeAndBlankSeparates) {
    for (int code = 1; code <= 32; ++code) {
        const std::string separator(1, static_cast<char>(code));
        EXPECT_EQ(SplitCommandLine("prog" + separator + "a" + separator + separator + "b"), (Args{"prog", "a", "b"}))
            << "separator code " << code;
    }
    // Codes above 32 do not separate, bytes of the upper half included.
    EXPECT_EQ(SplitCommandLine("prog a!b \x81\x40x \x7f"), (Args{"prog", "a!b", "\x81\x40x", "\x7f"}));
}

TEST(SplitCommandLine, QuotesGroupAndAreRemoved) {
    EXPECT_EQ(SplitCommandLine("\"C:\\My Tools\\Corvane.exe\" /w=12"), (Args{"C:\\My Tools\\Corvane.exe", "/w=12"}));
    EXPECT_EQ(SplitCommandLine("prog \"/w=1 2\""), (Args{"prog", "/w=1 2"}));
    EXPECT_EQ(SplitCommandLine("prog a\"b c\"d"), (Args{"prog", "ab cd"}));
    EXPECT_EQ(SplitCommandLine("prog \"\" x"), (Args{"prog", "", "x"}));
    // An unclosed quote runs to the end of the line, separators and all.
    EXPECT_EQ(SplitCommandLine("prog \"a b\tc"), (Args{"prog", "a b\tc"}));
    EXPECT_EQ(SplitCommandLine("prog \""), (Args{"prog", ""}));
}

TEST(SplitCommandLine, EmptyLinesAndZeroBytes) {
    EXPECT_TRUE(SplitCommandLine("").empty());
    EXPECT_TRUE(SplitCommandLine(" \t\r\n ").empty());
    EXPECT_EQ(SplitCommandLine("  prog  "), (Args{"prog"}));
    // A zero byte ends the line.
    EXPECT_EQ(SplitCommandLine(std::string_view("prog a\0/w=5", 11)), (Args{"prog", "a"}));
}

TEST(FindParamValue, ExamplesOfTheSwitch) {
    EXPECT_EQ(ValueOf("Corvane.exe /w=655794"), 655794u);
    EXPECT_EQ(ValueOf("Corvane.exe /W=123"), 123u);
    // Only the 8 characters after the prefix count.
    EXPECT_EQ(ValueOf("Corvane.exe /W=00123456789"), 123456u);
    EXPECT_EQ(ValueOf("Corvane.exe /w=99999999"), 99999999u);
    // Other characters among them are dropped wherever they stand.
    EXPECT_EQ(ValueOf("Corvane.exe /w=12a34"), 1234u);
    EXPECT_EQ(ValueOf("Corvane.exe /w=-1-2-3-4-5"), 1234u);
    EXPECT_EQ(ValueOf("Corvane.exe /w=\"1 2\""), 12u);
}

TEST(FindParamValue, FirstArgumentLongerThanThePrefixDecides) {
    EXPECT_EQ(ValueOf("Corvane.exe /w=abc /w=123"), 0u);
    EXPECT_EQ(ValueOf("Corvane.exe /w=0 /w=123"), 0u);
    EXPECT_EQ(ValueOf("Corvane.exe /w= /w=123"), 123u);
    EXPECT_EQ(ValueOf("Corvane.exe /W= /x=1 /w=77"), 77u);
    EXPECT_EQ(ValueOf("Corvane.exe other /w=8"), 8u);
}

TEST(FindParamValue, NoDecidingArgumentGivesZero) {
    EXPECT_EQ(ValueOf(""), 0u);
    EXPECT_EQ(ValueOf("Corvane.exe"), 0u);
    EXPECT_EQ(ValueOf("Corvane.exe /w="), 0u);
    EXPECT_EQ(ValueOf("Corvane.exe /w"), 0u);
    EXPECT_EQ(ValueOf("Corvane.exe w=12 -w=12 /ww=12 x/w=12"), 0u);
    // The program's own name is never an argument.
    EXPECT_EQ(ValueOf("/w=12"), 0u);
    EXPECT_EQ(FindParamValueIn({}, "/w="), 0u);
}

std::string UpperCaseTheAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

TEST(FindParamValue, ComparesThroughTheGivenLowerCasing) {
    const Args arguments = SplitCommandLine("prog /w=42");
    EXPECT_EQ(FindParamValueIn(arguments, "/W=", &UpperCaseTheAscii), 42u);
    EXPECT_EQ(FindParamValueIn(arguments, "/W="), 42u);
}

// Whatever bytes the line holds, splitting and scanning end normally (the sanitizers watch).
TEST(FindParamValue, ArbitraryBytesNeverBreakIt) {
    std::mt19937 random(20260101);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 64);
    const std::string pieces[] = {"/w=", "/W=", "\"", " ", "1", "\x81", std::string(1, '\0')};
    for (int round = 0; round < 3000; ++round) {
        std::string line = "p ";
        const int n = length(random);
        for (int i = 0; i < n; ++i) {
            if (byte(random) < 64)
                line += pieces[static_cast<size_t>(byte(random)) % std::size(pieces)];
            else
                line.push_back(static_cast<char>(byte(random)));
        }
        const Args arguments = SplitCommandLine(line);
        for (const std::string& argument : arguments) EXPECT_EQ(argument.find('"'), std::string::npos);
        EXPECT_LE(FindParamValueIn(arguments, "/w="), 99999999u);
    }
}

}  // namespace
