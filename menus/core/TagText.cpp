#include "menus/core/TagText.h"

#include <cstdint>

#include "toolkit/core/Utf8.h"

namespace menus {

namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LEMark = "\xFF\xFE";
constexpr std::string_view kUtf16BEMark = "\xFE\xFF";

bool IsHighSurrogate(std::uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(std::uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

unsigned char ByteAt(std::string_view bytes, size_t index) { return static_cast<unsigned char>(bytes[index]); }

// Valid UTF-8 throughout, with at least one multi-byte sequence: pure ASCII stays ANSI.
bool IsMultiByteUtf8(std::string_view bytes) {
    bool multiByte = false;
    for (size_t i = 0; i < bytes.size();) {
        const toolkit::Utf8Sequence sequence = toolkit::ReadUtf8(bytes, i);
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
        const toolkit::Utf8Sequence sequence = toolkit::ReadUtf8(bytes, i);
        if (sequence.length == 0) {
            text.push_back(kReplacement);
            ++i;
            continue;
        }
        toolkit::AppendUtf16(text, sequence.codePoint);
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
