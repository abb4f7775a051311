#include "menus/core/TagText.h"

#include <cstdint>

namespace menus {

namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LEMark = "\xFF\xFE";
constexpr std::string_view kUtf16BEMark = "\xFE\xFF";

bool IsHighSurrogate(std::uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(std::uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

unsigned char ByteAt(std::string_view bytes, size_t index) { return static_cast<unsigned char>(bytes[index]); }

// One UTF-8 sequence at bytes[index]: its code point and length, or a length of 0 when the bytes
// there are no valid sequence (overlong forms, surrogates and values past U+10FFFF included).
struct Utf8Sequence {
    std::uint32_t codePoint = 0;
    size_t length = 0;
};

// What a lead byte tells of its sequence: its length (0 for a byte that starts none), the bits of
// the code point it holds, and the smallest code point that needs that length.
struct Utf8Lead {
    size_t length = 0;
    std::uint32_t bits = 0;
    std::uint32_t minimum = 0;
};

Utf8Lead LeadOf(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return {2, lead & 0x1Fu, 0x80};
    if (lead >= 0xE0 && lead <= 0xEF) return {3, lead & 0x0Fu, 0x800};
    if (lead >= 0xF0 && lead <= 0xF4) return {4, lead & 0x07u, 0x10000};
    return {};
}

Utf8Sequence ReadUtf8(std::string_view bytes, size_t index) {
    const unsigned char first = ByteAt(bytes, index);
    if (first < 0x80) return {first, 1};
    const Utf8Lead lead = LeadOf(first);
    if (lead.length == 0 || bytes.size() - index < lead.length) return {};
    std::uint32_t codePoint = lead.bits;
    for (size_t i = 1; i < lead.length; ++i) {
        const unsigned char next = ByteAt(bytes, index + i);
        if ((next & 0xC0u) != 0x80u) return {};
        codePoint = (codePoint << 6) | (next & 0x3Fu);
    }
    if (codePoint < lead.minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return {};
    return {codePoint, lead.length};
}

void AppendCodePoint(std::u16string& text, std::uint32_t codePoint) {
    if (codePoint < 0x10000) {
        text.push_back(static_cast<char16_t>(codePoint));
        return;
    }
    codePoint -= 0x10000;
    text.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
    text.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FFu)));
}

// Valid UTF-8 throughout, with at least one multi-byte sequence: pure ASCII stays ANSI.
bool IsMultiByteUtf8(std::string_view bytes) {
    bool multiByte = false;
    for (size_t i = 0; i < bytes.size();) {
        const Utf8Sequence sequence = ReadUtf8(bytes, i);
        if (sequence.length == 0) return false;
        multiByte = multiByte || sequence.length > 1;
        i += sequence.length;
    }
    return multiByte;
}

std::u16string DecodeUtf8(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        const Utf8Sequence sequence = ReadUtf8(bytes, i);
        if (sequence.length == 0) {
            text.push_back(kReplacement);
            ++i;
            continue;
        }
        AppendCodePoint(text, sequence.codePoint);
        i += sequence.length;
    }
    return text;
}

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    auto unitAt = [&](size_t index) {
        const unsigned first = ByteAt(bytes, index), second = ByteAt(bytes, index + 1);
        return static_cast<std::uint32_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    };
    const size_t units = bytes.size() / 2;
    for (size_t i = 0; i < units; ++i) {
        const std::uint32_t unit = unitAt(2 * i);
        if (IsHighSurrogate(unit) && i + 1 < units && IsLowSurrogate(unitAt(2 * i + 2))) {
            text.push_back(static_cast<char16_t>(unit));
            text.push_back(static_cast<char16_t>(unitAt(2 * ++i)));
        } else {
            text.push_back(IsHighSurrogate(unit) || IsLowSurrogate(unit) ? kReplacement : static_cast<char16_t>(unit));
        }
    }
    return text;
}

}  // namespace

TagEncoding DetectTagEncoding(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Mark)) return TagEncoding::Utf8;
    if (bytes.starts_with(kUtf16LEMark)) return TagEncoding::Utf16LE;
    if (bytes.starts_with(kUtf16BEMark)) return TagEncoding::Utf16BE;
    // The text ends at its first zero byte, as an ANSI file's does.
    return IsMultiByteUtf8(bytes.substr(0, bytes.find('\0'))) ? TagEncoding::Utf8 : TagEncoding::Ansi;
}

std::u16string DecodeTagText(std::string_view bytes, TagEncoding encoding) {
    switch (encoding) {
    case TagEncoding::Utf8:
        return DecodeUtf8(bytes.starts_with(kUtf8Mark) ? bytes.substr(kUtf8Mark.size()) : bytes);
    case TagEncoding::Utf16LE:
        return DecodeUtf16(bytes.starts_with(kUtf16LEMark) ? bytes.substr(kUtf16LEMark.size()) : bytes, false);
    case TagEncoding::Utf16BE:
        return DecodeUtf16(bytes.starts_with(kUtf16BEMark) ? bytes.substr(kUtf16BEMark.size()) : bytes, true);
    case TagEncoding::Ansi:
        break;
    }
    return {};
}

std::string HostTextWithReferences(std::u16string_view text, const CodePageEncoder& encode) {
    std::string bytes;
    bytes.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const bool pair = IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]);
        const std::u16string_view character = text.substr(i, pair ? 2 : 1);
        i += character.size();
        if (const std::optional<std::string> encoded = encode(character)) {
            bytes += *encoded;
            continue;
        }
        const std::uint32_t codePoint =
            pair ? 0x10000 + ((character[0] - 0xD800u) << 10) + (character[1] - 0xDC00u) : character[0];
        bytes += "&#" + std::to_string(codePoint) + ";";
    }
    return bytes;
}

}  // namespace menus
