// Internet shortcut files read for their address: the files the system writes, the INI reader's
// rules, the Unicode section in UTF-7, and files that are no shortcut at all.

#include <gtest/gtest.h>

#include <string>

#include "menus/core/InternetShortcut.h"

namespace {

using menus::DecodeUtf7;
using menus::ParseInternetShortcut;
using namespace std::string_literals;

// The address the favorites menu navigates to: the Unicode one, else the ANSI bytes widened
// byte by byte (enough for the ASCII addresses used here).
std::wstring Address(const std::string& file) {
    const menus::ShortcutAddress address = ParseInternetShortcut(file);
    if (address.unicode) return *address.unicode;
    return std::wstring(address.ansi.begin(), address.ansi.end());
}

// A shortcut as the system writes it for an address that the ANSI code page cannot hold.
const std::string kSystemShortcut =
    "[{000214A0-0000-0000-C000-000000000046}]\r\n"
    "Prop3=19,11\r\n"
    "[InternetShortcut.W]\r\n"
    "URL=https://example.org/caf+AOk-/+1VytbQ-/+e4BPUw-?q=+2D3eAA-\r\n"
    "[InternetShortcut]\r\n"
    "IDList=\r\n"
    "URL=https://example.org/caf?/??" "/??q=?\r\n"  // "??" "/" kept apart: no trigraph
    "IconFile=https://example.org/favicon.ico\r\n"
    "IconIndex=1\r\n"
    "HotKey=0\r\n"
    "[DEFAULT]\r\n"
    "BASEURL=https://example.org/\r\n";

TEST(InternetShortcut, TheUnicodeSectionGivesTheFullAddress) {
    // UTF-16 units, as the browser takes them: the emoji is a pair of surrogates.
    EXPECT_EQ(Address(kSystemShortcut), L"https://example.org/café/한국/简体?q=" + std::wstring(L"\xD83D\xDE00", 2));
    // The ANSI value is still read, as it was, for the case that the Unicode one is unusable.
    EXPECT_EQ(ParseInternetShortcut(kSystemShortcut).ansi, "https://example.org/caf?/??" "/??q=?");
}

TEST(InternetShortcut, AnUnusableUnicodeSectionFallsBackToTheAnsiAddress) {
    const std::string ansi = "[InternetShortcut]\r\nURL=http://a.example/\r\n";
    for (const char* section : {"URL=+AO",              // a run cut in the middle of a character
                                "URL=+2D3-",            // a high surrogate alone
                                "URL=http://\xE9.example/",  // 8-bit bytes are no UTF-7
                                "URL=+AAo-x",           // decodes to a line feed: no address
                                "URL=",                 // empty
                                "Other=http://b.example/"}) {
        EXPECT_EQ(Address("[InternetShortcut.W]\r\n"s + section + "\r\n" + ansi), L"http://a.example/") << section;
    }
    EXPECT_FALSE(ParseInternetShortcut("[InternetShortcut.W]\r\nURL=+AO\r\n").unicode);
}

TEST(InternetShortcut, ReadsLikeTheSystemsIniReader) {
    // Names without regard to case, blanks dropped, the first section and key that match.
    EXPECT_EQ(Address("[internetshortcut]\nurl=http://a/\n"), L"http://a/");
    EXPECT_EQ(Address("  [ InternetShortcut ]  \r\n\t URL  =  http://a/ b \t\r\n"), L"http://a/ b");
    EXPECT_EQ(Address("[InternetShortcut]\nURL=http://first/\nURL=http://second/\n"), L"http://first/");
    EXPECT_EQ(Address("[InternetShortcut]\nIconIndex=0\n[InternetShortcut]\nURL=http://second/\n"), L"");
    // A pair of quotes around the value goes; a single one stays.
    EXPECT_EQ(Address("[InternetShortcut]\nURL=\"http://q/\"\n"), L"http://q/");
    EXPECT_EQ(Address("[InternetShortcut]\nURL='http://q/'\n"), L"http://q/");
    EXPECT_EQ(Address("[InternetShortcut]\nURL=\"http://q/\n"), L"\"http://q/");
    // Keys of other sections, and keys that only start like "URL", are not the address.
    EXPECT_EQ(Address("[DEFAULT]\nURL=http://base/\n[InternetShortcut]\nURLX=1\n"), L"");
    EXPECT_EQ(Address("URL=http://nosection/\n"), L"");
    // Every kind of line end, and a value that runs to the end of the file.
    EXPECT_EQ(Address("[InternetShortcut]\rURL=http://cr/"), L"http://cr/");
}

TEST(InternetShortcut, TheAnsiAddressIsCutAt2047Bytes) {
    const std::string longAddress = "http://x/" + std::string(3000, 'a');
    const menus::ShortcutAddress address = ParseInternetShortcut("[InternetShortcut]\nURL=" + longAddress + "\n");
    EXPECT_EQ(address.ansi, longAddress.substr(0, 2047));
    // Shift-JIS bytes come through as they are, to be converted by the caller.
    EXPECT_EQ(ParseInternetShortcut("[InternetShortcut]\nURL=http://\x95\x5C/\n").ansi, "http://\x95\x5C/");
}

TEST(InternetShortcut, FilesThatAreNoShortcutGiveNoAddress) {
    EXPECT_EQ(Address(""), L"");
    EXPECT_EQ(Address("\0\x01\xFF\xFE[InternetShortcut\x80]\0URL=\r\n\n\r"s), L"");
    EXPECT_EQ(Address("[InternetShortcut"), L"");
    EXPECT_EQ(Address("[InternetShortcut]\nURL=http://a/\0hidden\n"s), L"http://a/");  // a zero ends the value
    // Ten megabytes of one line before the section do not hide it.
    EXPECT_EQ(Address(std::string(10 * 1024 * 1024, 'x') + "\n[InternetShortcut]\nURL=http://big/\n"),
              L"http://big/");
}

TEST(InternetShortcut, Utf16FilesAreReadAsUtf16) {
    const std::u16string text = u"[InternetShortcut]\r\nURL=http://例え.jp/\r\n";
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    EXPECT_EQ(Address(bytes), L"http://例え.jp/");
    EXPECT_EQ(Address(bytes + "\x41"), L"http://例え.jp/");  // an odd last byte is dropped
    EXPECT_EQ(Address("\xFF\xFE"), L"");
}

TEST(Utf7, DecodesAsRfc2152Says) {
    EXPECT_EQ(DecodeUtf7("Hi Mom -+Jjo--!"), L"Hi Mom -\u263A-!");
    EXPECT_EQ(DecodeUtf7("+ZeVnLIqe-"), L"\u65E5\u672C\u8A9E");
    EXPECT_EQ(DecodeUtf7("A+ImIDkQ."), L"A\u2262\u0391.");  // the run ends at a character outside base64
    EXPECT_EQ(DecodeUtf7("1 +- 1 = 2"), L"1 + 1 = 2");
    EXPECT_EQ(DecodeUtf7("+AGEAYgBj"), L"abc");  // a run may end with the text
    EXPECT_EQ(DecodeUtf7(""), L"");
    EXPECT_EQ(DecodeUtf7("+-+-"), L"++");
}

TEST(Utf7, RejectsWhatIsNotWellFormed) {
    for (const char* bad : {"+A", "+AG", "+AGF-", "caf\xC3\xA9", "+2D0-", "+3gA-", "+2D3YPQ-x+2D0"})
        EXPECT_FALSE(DecodeUtf7(bad)) << bad;
    // A pair of surrogates is one character beyond the basic plane.
    EXPECT_EQ(DecodeUtf7("+2D3eAA-"), std::wstring(L"\xD83D\xDE00", 2));
}

// The edges of the INI reader's rules: a later section of the same name, a lone quote, the cap on
// a UTF-16 address, and the byte-order mark a UTF-8 file may start with.
TEST(InternetShortcut, OnlyTheFirstSectionCountsALoneQuoteStaysAndMarksAreSkipped) {
    const std::pair<std::string, std::wstring> cases[] = {
        {"[InternetShortcut]\nIconIndex=0\n[InternetShortcut]\n[InternetShortcut]\nURL=http://third/\n", L""},
        {"[InternetShortcut]\n[Other]\n[InternetShortcut]\nURL=http://third/\n", L""},
        {"[InternetShortcut]\nURL=\"\n", L"\""},
        {"[InternetShortcut]\nURL='\n", L"'"},
        {"\xEF\xBB\xBF[InternetShortcut]\r\nURL=http://bom/\r\n", L"http://bom/"},
    };
    for (const auto& [file, address] : cases) EXPECT_EQ(Address(file), address) << file;
}

TEST(InternetShortcut, AUtf16AddressIsCutAt2047UnitsNeverInsideASurrogatePair) {
    const auto utf16File = [](const std::wstring& url) {
        const std::wstring text = L"[InternetShortcut]\r\nURL=" + url + L"\r\n";
        std::string bytes = "\xFF\xFE";
        for (const wchar_t unit : text) {
            bytes.push_back(static_cast<char>(unit & 0xFF));
            bytes.push_back(static_cast<char>((unit >> 8) & 0xFF));
        }
        return bytes;
    };
    const std::wstring pair(L"\xD83D\xDE00", 2);
    const std::wstring head = L"http://x/" + std::wstring(2038 - 1, L'a');  // 2,046 units
    const std::pair<std::wstring, std::wstring> cases[] = {
        {head + L"b", head + L"b"},                        // exactly 2,047: whole
        {head + L"bc", head + L"b"},                       // one more: cut
        {head + pair, head},                               // the pair would straddle the cap: both go
        {head.substr(1) + pair + L"z", head.substr(1) + pair},  // the pair ends at the cap: kept
    };
    for (const auto& [url, expected] : cases) {
        const menus::ShortcutAddress address = ParseInternetShortcut(utf16File(url));
        ASSERT_TRUE(address.unicode) << url.size();
        EXPECT_EQ(address.unicode->size(), expected.size()) << url.size();
        EXPECT_TRUE(*address.unicode == expected) << url.size();
    }
}

}  // namespace
