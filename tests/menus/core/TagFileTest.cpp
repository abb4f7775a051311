// Tag.ini as the tag menu reads it: groups, entries, comments, line ends and code-page bytes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "menus/core/TagFile.h"

namespace {

using menus::ParseTagFile;
using menus::TagGroup;
using namespace std::string_literals;

// Lead bytes of code page 932 (Shift-JIS).
bool Cp932Lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

std::vector<TagGroup> Parse(const std::string& bytes) { return ParseTagFile(bytes, &Cp932Lead); }

struct Expected {
    std::string caption;
    std::vector<std::string> entries;
};

void ExpectGroups(const std::vector<TagGroup>& actual, const std::vector<Expected>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].caption, expected[i].caption) << "group " << i;
        EXPECT_EQ(actual[i].entries, expected[i].entries) << "group " << i;
    }
}

TEST(TagFile, GroupsAndEntriesInFileOrder) {
    ExpectGroups(Parse("This line is ignored.\r\n%Headings\r\n&<h1></h1>\r\n&<h2></h2>\r\n%Breaks\r\n&<br>\r\n"),
                 {{"Headings", {"<h1></h1>", "<h2></h2>"}}, {"Breaks", {"<br>"}}});
}

TEST(TagFile, LinesThatAreNotGroupsOrEntriesAreIgnored) {
    // Entries before any group, blank lines, comments, and a marker after a blank.
    ExpectGroups(Parse("&orphan\n\n; comment\n %not a group\n\t&not an entry\n%A\n\n&a1\n  &x\n"),
                 {{"A", {"a1"}}});
    EXPECT_TRUE(Parse("").empty());
    EXPECT_TRUE(Parse("&only entries\n&here\n").empty());
}

TEST(TagFile, EmptyGroupsStay) {
    ExpectGroups(Parse("%Empty\n%Full\n&x\n%Last"), {{"Empty", {}}, {"Full", {"x"}}, {"Last", {}}});
    ExpectGroups(Parse("%\n&\n"), {{"", {""}}});
}

TEST(TagFile, CaptionsAreKeptExactly) {
    // Nothing is trimmed; "-", "&" and "%" after the marker are ordinary text.
    ExpectGroups(Parse("% spaced group \n&  <p> \t\n&-\n&&&\n&&\n&a&b\n%-\n&%x\n%%\n"),
                 {{" spaced group ", {"  <p> \t", "-", "&&", "&", "a&b"}}, {"-", {"%x"}}, {"%", {}}});
}

TEST(TagFile, EveryKindOfLineEnd) {
    const std::vector<Expected> expected{{"A", {"1", "2", "3"}}, {"B", {"4"}}};
    ExpectGroups(Parse("%A\r&1\r&2\r&3\r%B\r&4"), expected);           // CR only
    ExpectGroups(Parse("%A\n&1\n&2\n&3\n%B\n&4\n"), expected);          // LF only
    ExpectGroups(Parse("%A\r\n&1\n&2\r&3\r\n\r\n%B\n\r&4\r\n"), expected);  // mixed, LF CR is two ends
    ExpectGroups(Parse("%A\r\n&1\r\n&2\r\n&3\r\n%B\r\n&4"), expected);  // no final line end
    // A line end never leaks into a caption.
    ExpectGroups(Parse("%A\r\r\n&x\r"), {{"A", {"x"}}});
}

TEST(TagFile, ZeroByteEndsTheText) {
    ExpectGroups(Parse("%A\n&x\n\0&y\n%B\n"s), {{"A", {"x"}}});
    ExpectGroups(Parse("%A\n&ab\0cd\n&z\n"s), {{"A", {"ab"}}});
    EXPECT_TRUE(Parse("\0%A\n"s).empty());
}

TEST(TagFile, DoubleByteCharacters) {
    // A line starting with a double-byte character is a comment, even the full-width "％" and "＆".
    ExpectGroups(Parse("%A\n\x81\x93not a group\n\x81\x95not an entry\n&x\n"), {{"A", {"x"}}});
    // Captions keep their bytes, trail bytes that look like "\" or "|" included.
    ExpectGroups(Parse("%\x8C\xA9\x8F\x6F\x82\xB5\n&\x95\x5C\n&<\x95\x5C>\x83\x7C\n"),
                 {{"\x8C\xA9\x8F\x6F\x82\xB5", {"\x95\x5C", "<\x95\x5C>\x83\x7C"}}});
}

TEST(TagFile, BytesThatAreNotValidTextKeepTheFollowingLines) {
    // A lead byte takes the next byte with it as one (invalid) character: not an entry marker.
    ExpectGroups(Parse("%A\n\x81&not an entry\n&x\n"), {{"A", {"x"}}});
    // A lead byte at the end of a line does not swallow the line end or the next line.
    ExpectGroups(Parse("%A\x81\n&x\x9F\r\n&y\xE0\r%B\x81"), {{"A\x81", {"x\x9F", "y\xE0"}}, {"B\x81", {}}});
    ExpectGroups(Parse("\x81\n%A\n&x"), {{"A", {"x"}}});
    // Bytes that are no character of the code page come through unchanged.
    ExpectGroups(Parse("%\x80\xA0\xFD\n&\xFE\xFF\x81\x7F\n"), {{"\x80\xA0\xFD", {"\xFE\xFF\x81\x7F"}}});
}

TEST(TagFile, PathBesideTheExecutable) {
    EXPECT_EQ(menus::TagFilePathFor(L"C:\\Program Files\\Corvane\\Corvane.exe"), L"C:\\Program Files\\Corvane\\Tag.ini");
    EXPECT_EQ(menus::TagFilePathFor(L"Z:/tmp/x/Corvane.exe"), L"Z:/tmp/x/Tag.ini");
    EXPECT_EQ(menus::TagFilePathFor(L"Corvane.exe"), L"Tag.ini");
    // "表" (0x95 0x5C in Shift-JIS) and "¥" are characters of a name, never separators; nor is a
    // letter that no ANSI code page of the region holds.
    EXPECT_EQ(menus::TagFilePathFor(L"C:\\表\\表示.exe"), L"C:\\表\\Tag.ini");
    EXPECT_EQ(menus::TagFilePathFor(L"C:\\¥ é 한\\Corvane.exe"), L"C:\\¥ é 한\\Tag.ini");
}

}  // namespace
