// The encoding a document declares: labels as the web names them, and the search through the
// first 1,024 bytes that a browser makes before it parses the page.

#include "toolbar/preview/core/DeclaredEncoding.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using toolbar::DeclaredEncoding;
using toolbar::EncodingOfLabel;
using toolbar::FindDeclaredEncoding;

TEST(EncodingLabel, EveryLabelOfUtf8AndShiftJisIsKnownWithoutRegardToCaseOrSurroundingBlanks) {
    for (const char* label : {"unicode-1-1-utf-8", "unicode11utf8", "unicode20utf8", "utf-8", "utf8", "x-unicode20utf8",
                              "UTF-8", " \t\r\n\futf-8\f ", "Utf8"})
        EXPECT_EQ(EncodingOfLabel(label), DeclaredEncoding::Utf8) << '"' << label << '"';
    for (const char* label : {"csshiftjis", "ms932", "ms_kanji", "shift-jis", "shift_jis", "sjis", "windows-31j",
                              "x-sjis", "Shift_JIS", " SJIS "})
        EXPECT_EQ(EncodingOfLabel(label), DeclaredEncoding::ShiftJis) << '"' << label << '"';
}

TEST(EncodingLabel, Utf16ReadsAsUtf8OtherEncodingsAreOtherAndTheRestIsNothing) {
    for (const char* label : {"utf-16", "UTF-16LE", "utf-16be", "unicode", "ucs-2"})
        EXPECT_EQ(EncodingOfLabel(label), DeclaredEncoding::Utf8) << '"' << label << '"';
    for (const char* label : {"euc-jp", "iso-2022-jp", "ISO-8859-1", "us-ascii", "windows-1252", "gb18030", "x-user-defined",
                              "replacement", "koi8-ru"})
        EXPECT_EQ(EncodingOfLabel(label), DeclaredEncoding::Other) << '"' << label << '"';
    for (const char* label : {"", "   ", "utf-8x", "utf 8", "\"utf-8\"", "cp932", "shift_jis;", "utf-8\v",
                              "\xC5\xBFhift_jis" /* a long s is no ASCII letter */})
        EXPECT_EQ(EncodingOfLabel(label), DeclaredEncoding::None) << '"' << label << '"';
}

struct Case {
    const char* document;
    DeclaredEncoding expected;
};

void ExpectAll(std::initializer_list<Case> cases) {
    for (const Case& c : cases) EXPECT_EQ(FindDeclaredEncoding(c.document), c.expected) << c.document;
}

TEST(DeclaredEncoding, MetaCharsetInItsUsualForms) {
    ExpectAll({
        {"<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>t</title>", DeclaredEncoding::Utf8},
        {"<META CHARSET=UTF-8>", DeclaredEncoding::Utf8},
        {"<meta charset='Shift_JIS'>", DeclaredEncoding::ShiftJis},
        {"<meta charset=utf-8/>", DeclaredEncoding::None},  // the value runs on to the ">": "utf-8/"
        {"<meta charset=utf-8 />", DeclaredEncoding::Utf8},
        {"<meta/charset=utf-8>", DeclaredEncoding::Utf8},
        {"<meta\ncharset = \" utf-8 \">", DeclaredEncoding::Utf8},
        {"<meta name=x charset=euc-jp>", DeclaredEncoding::Other},
        {"<html><body>no declaration</body></html>", DeclaredEncoding::None},
        {"", DeclaredEncoding::None},
    });
}

TEST(DeclaredEncoding, HttpEquivNeedsBothTheContentTypePragmaAndAContentWithCharset) {
    ExpectAll({
        {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">", DeclaredEncoding::Utf8},
        {"<meta content='text/html;charset=\"shift_jis\"' http-equiv=content-type>", DeclaredEncoding::ShiftJis},
        {"<meta content=\"text/html; charset=utf-8\">", DeclaredEncoding::None},
        {"<meta http-equiv=refresh content=\"text/html; charset=utf-8\">", DeclaredEncoding::None},
        {"<meta http-equiv=content-type content=\"text/html\">", DeclaredEncoding::None},
        {"<meta http-equiv=content-type content=\"charsetx; charset = utf-8;q\">", DeclaredEncoding::Utf8},
        {"<meta http-equiv=content-type content=\"charset='utf-8\">", DeclaredEncoding::None},  // unmatched quote
        // A charset attribute wins over content, and stops a later content from counting.
        {"<meta http-equiv=content-type content=\"charset=euc-jp\" charset=utf-8>", DeclaredEncoding::Utf8},
        {"<meta charset=bogus content=\"charset=utf-8\" http-equiv=content-type><meta charset=sjis>",
         DeclaredEncoding::ShiftJis},
        // An attribute given twice counts once, the first time.
        {"<meta charset=utf-8 charset=sjis>", DeclaredEncoding::Utf8},
    });
}

TEST(DeclaredEncoding, CommentsTagsAndQuotedValuesAreSteppedOver) {
    ExpectAll({
        {"<!-- <meta charset=utf-8> --><meta charset=sjis>", DeclaredEncoding::ShiftJis},
        {"<!--><meta charset=utf-8>", DeclaredEncoding::Utf8},  // "<!-->" is a whole comment
        {"<!-- never closed <meta charset=utf-8>", DeclaredEncoding::None},
        {"<div title=\"<meta charset=utf-8>\"><meta charset=sjis>", DeclaredEncoding::ShiftJis},
        {"</p title='<meta charset=utf-8>'><meta charset=euc-jp>", DeclaredEncoding::Other},
        {"<? <meta charset=utf-8> ?><meta charset=sjis>", DeclaredEncoding::ShiftJis},
        {"<!doctype <meta charset=utf-8>", DeclaredEncoding::None},
        {"<metadata charset=utf-8><meta charset=sjis>", DeclaredEncoding::ShiftJis},
        {"a < b <meta charset=utf-8>", DeclaredEncoding::Utf8},
        {"<meta charset=nothing><meta charset=utf-8>", DeclaredEncoding::Utf8},  // an unknown label is passed over
    });
}

TEST(DeclaredEncoding, OnlyTheFirst1024BytesCount) {
    const std::string meta = "<meta charset=utf-8>";
    const std::string fits = std::string(1024 - meta.size(), ' ') + meta;
    EXPECT_EQ(FindDeclaredEncoding(fits), DeclaredEncoding::Utf8);
    EXPECT_EQ(FindDeclaredEncoding(" " + fits), DeclaredEncoding::None);
    // A quoted value cut at the limit is no declaration, though the rest of the text would finish it.
    EXPECT_EQ(FindDeclaredEncoding(std::string(1024 - 16, ' ') + "<meta charset=\"utf-8\">"), DeclaredEncoding::None);
}

TEST(DeclaredEncoding, ShiftJisTextAroundTheDeclarationDoesNotDisturbIt) {
    // "表" ends in 0x5C and "ソ" in 0x5C too; "=" and quotes never occur as trail bytes.
    const std::string text = "<title>\x95\x5C\x83\x5C</title><meta charset=\"utf-8\"><p>\x82\xA0</p>";
    EXPECT_EQ(FindDeclaredEncoding(text), DeclaredEncoding::Utf8);
    EXPECT_EQ(FindDeclaredEncoding(std::string("<meta charset=\"utf-8\0\">", 23)), DeclaredEncoding::None);
}

// Markup that once let a wrongly stepped-over attribute hide the declaration that follows it.
TEST(DeclaredEncoding, AQuotedGreaterThanInsideAnEndTagOrANamelessAttributeEndsNothing) {
    ExpectAll({
        {"</ a='>' <meta charset=utf-8>", DeclaredEncoding::Utf8},
        {"<div =\">\" <meta charset=utf-8>", DeclaredEncoding::Utf8},
    });
}

}  // namespace
