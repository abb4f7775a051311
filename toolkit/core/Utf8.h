#pragma once
// Strict UTF-8: one sequence read at a time, and a code point written out as UTF-16 units.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace toolkit {

// One UTF-8 sequence: its code point and its length in bytes; a length of 0 when the bytes are no
// valid sequence (a stray or cut sequence, overlong forms, surrogates, values past U+10FFFF).
struct Utf8Sequence {
    std::uint32_t codePoint = 0;
    std::size_t length = 0;
};

// The sequence that starts at bytes[index]; index is below bytes.size().
Utf8Sequence ReadUtf8(std::string_view bytes, std::size_t index);

// Appends codePoint (at most U+10FFFF) to a string of UTF-16 units, as a surrogate pair past
// U+FFFF.
template <class String>
void AppendUtf16(String& text, std::uint32_t codePoint) {
    using Unit = typename String::value_type;
    if (codePoint < 0x10000) {
        text.push_back(static_cast<Unit>(codePoint));
        return;
    }
    codePoint -= 0x10000;
    text.push_back(static_cast<Unit>(0xD800 + (codePoint >> 10)));
    text.push_back(static_cast<Unit>(0xDC00 + (codePoint & 0x3FFu)));
}

}  // namespace toolkit
