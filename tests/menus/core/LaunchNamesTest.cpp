// The folder launch menu's naming and ordering rules, without Windows.

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <cstdint>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "menus/core/LaunchNames.h"

namespace {

using menus::CaptionForFile;
using menus::FolderEntries;
using menus::IconKeyForFile;

bool CaseBlindLess(const std::wstring& a, const std::wstring& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](wchar_t x, wchar_t y) {
        return std::towlower(static_cast<wint_t>(x)) < std::towlower(static_cast<wint_t>(y));
    });
}

std::vector<std::wstring> Listing(const FolderEntries& entries) {
    std::vector<std::wstring> out;
    for (size_t i = 0; i < entries.Count(); ++i)
        out.push_back((entries.IsFolder(i) ? L"dir " : L"file ") + std::wstring(entries.Name(i)));
    return out;
}

TEST(LaunchCaption, CutsAtTheLastDotOnly) {
    EXPECT_EQ(CaptionForFile(L"alpha.url"), L"alpha");
    EXPECT_EQ(CaptionForFile(L"a.b.url"), L"a.b");
    EXPECT_EQ(CaptionForFile(L".url"), L"");
    EXPECT_EQ(CaptionForFile(L"-.url"), L"-");
    EXPECT_EQ(CaptionForFile(L"R&&D.url"), L"R&&D");  // access-key marks are the menu's business
    EXPECT_EQ(CaptionForFile(L"A&B.url"), L"A&B");
    EXPECT_EQ(CaptionForFile(L"README"), L"README");
    EXPECT_EQ(CaptionForFile(L"trailing."), L"trailing");
    EXPECT_EQ(CaptionForFile(L""), L"");
    // Names of any script pass through unchanged, "表" (whose second Shift-JIS byte is "\"), "¥",
    // letters no ANSI code page of the region holds, and characters beyond the basic plane.
    EXPECT_EQ(CaptionForFile(L"表示.url"), L"表示");
    EXPECT_EQ(CaptionForFile(L"¥100 café.url"), L"¥100 café");
    EXPECT_EQ(CaptionForFile(L"한국어 简体 \U0001F600.html.url"), L"한국어 简体 \U0001F600.html");
}

// The one listing per folder finds files by the pattern itself, as the listing by pattern did.
TEST(LaunchPattern, MatchesAsAFolderListingDoes) {
    struct Case {
        const wchar_t* name;
        const wchar_t* pattern;
        bool matches;
    };
    const Case cases[] = {
        {L"ALPHA.URL", L"*.URL", true},        {L"A.B.URL", L"*.URL", true},
        {L".URL", L"*.URL", true},             {L"ALPHA.URLX", L"*.URL", false},
        {L"ALPHA.UR", L"*.URL", false},        {L"URL", L"*.URL", false},
        {L"README", L"*.*", true},             {L"A.B", L"*.*", true},
        {L"", L"*", true},                     {L"X", L"", false},
        {L"NOTES", L"NOTES.*", true},          {L"NOTES.TXT", L"NOTES.*", true},
        {L"NOTES2", L"NOTES.*", false},        {L"A1.LNK", L"A?.LNK", true},
        {L"A.LNK", L"A?.LNK", false},          {L"AXXBXXC", L"A*B*C", true},
        {L"AXXBXXD", L"A*B*C", false},         {L"表示.URL", L"*.URL", true},
        {L"MISSISSIPPI", L"*SIP*I", true},     {L"AAAAAAAAAAAAAAAAAAAAAAAAAB", L"*A*A*A*A*A*C", false},
        {L"*X", L"*", true},                   {L"?*", L"*", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(menus::MatchesPattern(c.name, c.pattern), c.matches) << c.name << L" / " << c.pattern;
}

TEST(LaunchEntries, FoldersComeFirstAndNothingIsDropped) {
    FolderEntries entries;
    entries.AddFile(L"alpha.url");
    entries.AddFolder(L"zeta");
    entries.AddFile(L"Beta.url");
    entries.AddFolder(L"Alpha");
    entries.AddFile(L"beta.url");  // collates equal to "Beta.url": both stay, in the order found
    entries.AddFile(L"1.url");     // a name that starts like the file prefix
    entries.AddFolder(L"1");
    entries.Sort(&CaseBlindLess);
    EXPECT_EQ(Listing(entries), (std::vector<std::wstring>{L"dir 1", L"dir Alpha", L"dir zeta", L"file 1.url",
                                                           L"file alpha.url", L"file Beta.url", L"file beta.url"}));
}

TEST(LaunchListedFiles, GivesBackEachFilesFolderNameAndPathAcrossFoldersAndEmptyNames) {
    struct Case {
        const wchar_t* folder;
        const wchar_t* name;
    };
    // A folder's files come together; a folder may come again after another (its own files after
    // those of its subfolders), and a name may be empty or outside any code page.
    const Case cases[] = {
        {L"C:\\Fav\\Sub\\", L"inner.url"}, {L"C:\\Fav\\Sub\\", L"表示.url"}, {L"C:\\Fav\\", L"alpha.url"},
        {L"C:\\Fav\\", L""},                 {L"C:\\Fav\\Sub\\", L"again.url"}, {L"\\\\server\\share\\", L"x"},
    };
    menus::ListedFiles files;
    for (const Case& c : cases) files.Add(c.folder, c.name);
    files.ShrinkToFit();
    ASSERT_EQ(files.Count(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(files.Folder(i), cases[i].folder) << i;
        EXPECT_EQ(files.Name(i), cases[i].name) << i;
        EXPECT_EQ(files.Path(i), std::wstring(cases[i].folder) + cases[i].name) << i;
    }
    EXPECT_THROW(files.Name(std::size(cases)), std::out_of_range);
    EXPECT_EQ(menus::ListedFiles().Count(), 0u);
}

TEST(LaunchEntries, SortToleratesAnInconsistentCollation) {
    FolderEntries entries;
    for (int i = 0; i < 200; ++i) entries.AddFile(L"f" + std::to_wstring(i * 7919 % 200));
    entries.Sort([](const std::wstring&, const std::wstring&) { return true; });  // not a strict weak order
    EXPECT_EQ(entries.Count(), 200u);
}

TEST(LaunchIconKey, GroupsByTypeIgnoringCaseButNeverMergesDistinctTypes) {
    EXPECT_EQ(IconKeyForFile(L"a.url"), IconKeyForFile(L"B.URL"));
    EXPECT_EQ(IconKeyForFile(L"x.y.Url"), L".url");
    EXPECT_EQ(IconKeyForFile(L"noext"), L"");
    EXPECT_NE(IconKeyForFile(L"a.url"), IconKeyForFile(L"a.urlx"));
    EXPECT_NE(IconKeyForFile(L"a.url"), IconKeyForFile(L"a"));
    // "ア" and "ャ" (83 41 and 83 61 in Shift-JIS) are different types; only A to Z are lowered.
    EXPECT_NE(IconKeyForFile(L"a.ア"), IconKeyForFile(L"a.ャ"));
    EXPECT_EQ(IconKeyForFile(L"a.アX"), L".アx");
    EXPECT_NE(IconKeyForFile(L"a.É"), IconKeyForFile(L"a.é"));
}

TEST(LaunchMonoCopy, PlacesBitsAtAnyColumnAndLeavesTheRestAlone) {
    // A 5 x 2 block: rows 10110 and 01001.
    const std::uint8_t block[] = {0xB0, 0x00, 0x00, 0x00, 0x48, 0x00, 0x00, 0x00};
    std::vector<std::uint8_t> strip(2 * 8, 0xFF);
    menus::CopyMonoBlock(block, 4, strip.data(), 8, 13, 5, 2);
    // Row 0: bits 13..17 = 10110 over all ones; row 1: bits 13..17 = 01001.
    EXPECT_EQ(strip[1], 0xFD);  // bits 8..15: 11111 101
    EXPECT_EQ(strip[2], 0xBF);  // bits 16..23: 10 111111
    EXPECT_EQ(strip[8 + 1], 0xFA);
    EXPECT_EQ(strip[8 + 2], 0x7F);
    for (size_t i : {0, 3, 4, 7, 8, 11, 15}) EXPECT_EQ(strip[i], 0xFF) << i;

    const std::uint8_t cell[] = {0x12, 0x34, 0, 0, 0x56, 0x78, 0, 0};
    std::vector<std::uint8_t> aligned(2 * 8, 0);
    menus::CopyMonoBlock(cell, 4, aligned.data(), 8, 32, 16, 2);
    EXPECT_EQ((std::vector<std::uint8_t>(aligned.begin() + 4, aligned.begin() + 6)), (std::vector<std::uint8_t>{0x12, 0x34}));
    EXPECT_EQ((std::vector<std::uint8_t>(aligned.begin() + 12, aligned.begin() + 14)), (std::vector<std::uint8_t>{0x56, 0x78}));
    EXPECT_EQ(aligned[3], 0);
    EXPECT_EQ(aligned[6], 0);
}

}  // namespace
