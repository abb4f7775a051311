#pragma once
// The encodings a Tag.ini may be saved in, and the way an entry's text crosses to the host.
//
// A file is UTF-16 (little or big endian) when it starts with that byte-order mark, UTF-8 when it
// starts with the UTF-8 mark or, without a mark, when its bytes are valid UTF-8 holding at least
// one multi-byte sequence; any other file is text of the ANSI code page, read byte for byte as
// always. The mark is never part of the first line.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace menus {

enum class TagEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

TagEncoding DetectTagEncoding(std::string_view bytes);

// Bytes in the given Unicode encoding as UTF-16, without the byte-order mark. A sequence that is
// not valid in that encoding (a stray or cut sequence, an unpaired surrogate) becomes U+FFFD, so
// no text around it is lost. An odd last byte of UTF-16 is dropped.
std::u16string DecodeTagText(std::string_view bytes, TagEncoding encoding);

// The code page's bytes for one character (one UTF-16 unit, or a surrogate pair), or nothing
// when the code page has no exact equivalent for it.
using CodePageEncoder = std::function<std::optional<std::string>(std::u16string_view character)>;

// Text as it crosses to the host, in the code page: each character the code page holds as its
// bytes, each other one as an HTML numeric character reference ("☕" becomes "&#9749;"), which a
// browser shows as that character.
std::string HostTextWithReferences(std::u16string_view text, const CodePageEncoder& encode);

}  // namespace menus
