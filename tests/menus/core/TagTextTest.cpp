// Tag.ini in the encodings people save it in: which encoding a file is read as, its text, the
// groups read from it, and the bytes an entry sends to the host.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "menus/core/TagFile.h"
#include "menus/core/TagText.h"

namespace {

using menus::TagEncoding;
using namespace std::string_literals;

bool Cp932Lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// A stand-in code page for the host text: ASCII, and "見" as its Shift-JIS bytes.
std::optional<std::string> TinyCodePage(std::u16string_view character) {
    if (character.size() == 1 && character[0] < 0x80) return std::string(1, static_cast<char>(character[0]));
    if (character == u"見") return "\x8C\xA9"s;
    return std::nullopt;
}

TEST(TagText, EachFileIsReadInTheEncodingItsBytesShow) {
    struct Case {
        const char* what;
        std::string bytes;
        TagEncoding encoding;
    };
    const std::vector<Case> cases{
        {"ASCII only", "%Head\r\n&<b>\r\n", TagEncoding::Ansi},
        {"Shift-JIS", "%\x8C\xA9\x8F\x6F\x82\xB5\r\n&\x95\x5C\r\n", TagEncoding::Ansi},
        {"UTF-8 without mark", "%見出し\r\n&<b>\r\n", TagEncoding::Utf8},
        {"UTF-8 with mark, ASCII only", "\xEF\xBB\xBF%Head\r\n", TagEncoding::Utf8},
        {"UTF-16 LE", "\xFF\xFE%\0A\0"s, TagEncoding::Utf16LE},
        {"UTF-16 BE", "\xFE\xFF\0%\0A"s, TagEncoding::Utf16BE},
        {"UTF-16 without mark", "%\0A\0"s, TagEncoding::Ansi},
        {"one bad UTF-8 sequence", "%見出し\r\n&\xC0\xAF\r\n", TagEncoding::Ansi},
        {"overlong, surrogate, past U+10FFFF", "\xE0\x80\xAF\xED\xA0\x80\xF4\x90\x80\x80", TagEncoding::Ansi},
        {"cut at the end", "%見出\xE3\x81", TagEncoding::Ansi},
        {"UTF-8 before the zero that ends the text", "%見\0\xFF"s, TagEncoding::Utf8},
        {"empty", "", TagEncoding::Ansi},
    };
    for (const Case& c : cases) EXPECT_EQ(menus::DetectTagEncoding(c.bytes), c.encoding) << c.what;
}

TEST(TagText, UnicodeTextIsDecodedWithoutItsMarkAndBadSequencesAreReplaced) {
    struct Case {
        const char* what;
        std::string bytes;
        TagEncoding encoding;
        std::u16string text;
    };
    const std::vector<Case> cases{
        {"UTF-8 mark dropped", "\xEF\xBB\xBF%見\r\n", TagEncoding::Utf8, u"%見\r\n"},
        {"four-byte sequence", "&\xE2\x98\x95\xF0\x9F\x98\x80", TagEncoding::Utf8, u"&☕😀"},
        {"stray and cut sequences", "\xEF\xBB\xBF" "a\x80" "b\xE3\x81", TagEncoding::Utf8, u"a\uFFFDb\uFFFD\uFFFD"},
        {"UTF-16 LE, odd last byte dropped", "\xFF\xFE%\0\x8B\x89="s, TagEncoding::Utf16LE, u"%見"},
        {"UTF-16 BE with a pair", "\xFE\xFF\xD8\x3D\xDE\x00"s, TagEncoding::Utf16BE, u"😀"},
        {"unpaired surrogates", "\xFF\xFE\x00\xD8" "a\0\x00\xDC"s, TagEncoding::Utf16LE, u"\uFFFDa\uFFFD"},
    };
    for (const Case& c : cases) EXPECT_EQ(menus::DecodeTagText(c.bytes, c.encoding), c.text) << c.what;
}

TEST(TagText, EveryEncodingGivesTheSameGroupsAndTheMarkIsNoLine) {
    const std::u16string expected = u"見出し|<h1>表</h1>|☕|";
    const std::vector<std::string> files{
        "%見出し\r\n&<h1>表</h1>\n&☕\r",
        "\xEF\xBB\xBF%見出し\r\n&<h1>表</h1>\n&☕\r",
        "\xFF\xFE%\0\x8B\x89\xFA\x51\x57\x30\r\0\n\0&\0<\0h\0\x31\0>\0\x68\x88<\0/\0h\0\x31\0>\0\n\0&\0\x15\x26\r\0"s,
    };
    for (const std::string& file : files) {
        const auto document = menus::ReadTagDocument(file, &Cp932Lead);
        ASSERT_EQ(document->GroupCount(), 1u);
        const auto& group = document->wideGroups[0];
        std::u16string seen = std::u16string(group.caption) + u"|";
        for (std::u16string_view entry : menus::TagEntries(group.body)) seen += std::u16string(entry) + u"|";
        EXPECT_EQ(seen, expected);
        EXPECT_TRUE(group.hasTextEntries);
    }
    // An ANSI file keeps its bytes as its text, as before.
    const auto ansi = menus::ReadTagDocument("%\x8C\xA9\r\n&\x95\x5C\r\n", &Cp932Lead);
    ASSERT_EQ(ansi->encoding, TagEncoding::Ansi);
    ASSERT_EQ(ansi->GroupCount(), 1u);
    EXPECT_EQ(ansi->ansiGroups[0].caption, "\x8C\xA9");
    EXPECT_EQ(menus::TagEntries(ansi->ansiGroups[0].body, &Cp932Lead), std::vector<std::string_view>{"\x95\x5C"});
}

TEST(TagText, OutlineTellsWhetherAGroupShowsAnythingBeforeItsEntriesAreRead) {
    const auto groups = menus::OutlineTagText("&orphan\n%Empty\n%Lines\n&-\n&-\n%Text\n&-\n&x\n%Last", &Cp932Lead);
    ASSERT_EQ(groups.size(), 4u);
    const std::vector<std::pair<bool, bool>> expected{{false, false}, {true, false}, {true, true}, {false, false}};
    for (size_t i = 0; i < groups.size(); ++i) {
        EXPECT_EQ(groups[i].hasEntries, expected[i].first) << i;
        EXPECT_EQ(groups[i].hasTextEntries, expected[i].second) << i;
    }
    EXPECT_EQ(menus::TagEntries(groups[1].body, &Cp932Lead), (std::vector<std::string_view>{"-", "-"}));
    EXPECT_EQ(menus::TagEntries(groups[2].body, &Cp932Lead), (std::vector<std::string_view>{"-", "x"}));
    EXPECT_TRUE(menus::TagEntries(groups[3].body, &Cp932Lead).empty());
}

TEST(TagText, HostTextKeepsWhatTheCodePageHoldsAndReferencesTheRest) {
    const std::vector<std::pair<std::u16string, std::string>> cases{
        {u"<h1>見</h1>", "<h1>\x8C\xA9</h1>"},
        {u"☕", "&#9749;"},
        {u"a😀b", "a&#128512;b"},         // a surrogate pair is one character
        {u"\xD800" "a", "&#55296;a"},      // a lone surrogate cannot be lost either
        {u"&amp;", "&amp;"},
        {u"", ""},
    };
    for (const auto& [text, bytes] : cases) EXPECT_EQ(menus::HostTextWithReferences(text, &TinyCodePage), bytes);
}

}  // namespace
