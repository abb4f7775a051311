// The folder launch menu's naming and ordering rules, without Windows.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

#include "menus/core/LaunchNames.h"

namespace {

using launchmenu::CaptionForFile;
using launchmenu::FolderEntries;
using launchmenu::IconKeyForFile;

bool ShiftJisLead(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

bool CaseBlindLess(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

std::vector<std::string> Listing(const FolderEntries& entries) {
    std::vector<std::string> out;
    for (size_t i = 0; i < entries.Count(); ++i)
        out.push_back((entries.IsFolder(i) ? "dir " : "file ") + std::string(entries.Name(i)));
    return out;
}

TEST(LaunchCaption, CutsAtTheLastDotOnly) {
    EXPECT_EQ(CaptionForFile("alpha.url"), "alpha");
    EXPECT_EQ(CaptionForFile("a.b.url"), "a.b");
    EXPECT_EQ(CaptionForFile(".url"), "");
    EXPECT_EQ(CaptionForFile("-.url"), "-");
    EXPECT_EQ(CaptionForFile("R&&D.url"), "R&&D");  // access-key marks are the menu's business
    EXPECT_EQ(CaptionForFile("A&B.url"), "A&B");
    EXPECT_EQ(CaptionForFile("README"), "README");
    EXPECT_EQ(CaptionForFile("trailing."), "trailing");
    EXPECT_EQ(CaptionForFile(""), "");
    // Shift-JIS text passes through byte for byte ("表示.url": the second byte of 表 is "\").
    EXPECT_EQ(CaptionForFile("\x95\x5C\x8E\xA6.url"), "\x95\x5C\x8E\xA6");
}

TEST(LaunchEntries, FoldersComeFirstAndNothingIsDropped) {
    FolderEntries entries;
    entries.AddFile("alpha.url");
    entries.AddFolder("zeta");
    entries.AddFile("Beta.url");
    entries.AddFolder("Alpha");
    entries.AddFile("beta.url");  // collates equal to "Beta.url": both stay, in the order found
    entries.AddFile("1.url");     // a name that starts like the file prefix
    entries.AddFolder("1");
    entries.Sort(&CaseBlindLess);
    EXPECT_EQ(Listing(entries), (std::vector<std::string>{"dir 1", "dir Alpha", "dir zeta", "file 1.url",
                                                          "file alpha.url", "file Beta.url", "file beta.url"}));
}

TEST(LaunchEntries, SortToleratesAnInconsistentCollation) {
    FolderEntries entries;
    for (int i = 0; i < 200; ++i) entries.AddFile("f" + std::to_string(i * 7919 % 200));
    entries.Sort([](const std::string&, const std::string&) { return true; });  // not a strict weak order
    EXPECT_EQ(entries.Count(), 200u);
}

TEST(LaunchIconKey, GroupsByTypeIgnoringCaseButNeverMergesDistinctTypes) {
    EXPECT_EQ(IconKeyForFile("a.url", &ShiftJisLead), IconKeyForFile("B.URL", &ShiftJisLead));
    EXPECT_EQ(IconKeyForFile("x.y.Url", &ShiftJisLead), ".url");
    EXPECT_EQ(IconKeyForFile("noext", &ShiftJisLead), "");
    EXPECT_NE(IconKeyForFile("a.url", &ShiftJisLead), IconKeyForFile("a.urlx", &ShiftJisLead));
    EXPECT_NE(IconKeyForFile("a.url", &ShiftJisLead), IconKeyForFile("a", &ShiftJisLead));
    // "ア" is 83 41 and "ャ" is 83 61: lowering the second byte would merge two different types.
    EXPECT_NE(IconKeyForFile("a.\x83\x41", &ShiftJisLead), IconKeyForFile("a.\x83\x61", &ShiftJisLead));
    EXPECT_EQ(IconKeyForFile("a.\x83\x41X", &ShiftJisLead), ".\x83\x41x");
}

TEST(LaunchMonoCopy, PlacesBitsAtAnyColumnAndLeavesTheRestAlone) {
    // A 5 x 2 block: rows 10110 and 01001.
    const std::uint8_t block[] = {0xB0, 0x00, 0x00, 0x00, 0x48, 0x00, 0x00, 0x00};
    std::vector<std::uint8_t> strip(2 * 8, 0xFF);
    launchmenu::CopyMonoBlock(block, 4, strip.data(), 8, 13, 5, 2);
    // Row 0: bits 13..17 = 10110 over all ones; row 1: bits 13..17 = 01001.
    EXPECT_EQ(strip[1], 0xFD);  // bits 8..15: 11111 101
    EXPECT_EQ(strip[2], 0xBF);  // bits 16..23: 10 111111
    EXPECT_EQ(strip[8 + 1], 0xFA);
    EXPECT_EQ(strip[8 + 2], 0x7F);
    for (size_t i : {0, 3, 4, 7, 8, 11, 15}) EXPECT_EQ(strip[i], 0xFF) << i;

    const std::uint8_t cell[] = {0x12, 0x34, 0, 0, 0x56, 0x78, 0, 0};
    std::vector<std::uint8_t> aligned(2 * 8, 0);
    launchmenu::CopyMonoBlock(cell, 4, aligned.data(), 8, 32, 16, 2);
    EXPECT_EQ((std::vector<std::uint8_t>(aligned.begin() + 4, aligned.begin() + 6)), (std::vector<std::uint8_t>{0x12, 0x34}));
    EXPECT_EQ((std::vector<std::uint8_t>(aligned.begin() + 12, aligned.begin() + 14)), (std::vector<std::uint8_t>{0x56, 0x78}));
    EXPECT_EQ(aligned[3], 0);
    EXPECT_EQ(aligned[6], 0);
}

}  // namespace
