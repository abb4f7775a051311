#pragma once
// The encoding a document declares in its own markup, found the way a browser looks for it before
// it parses the page: only the first 1,024 bytes, only <meta charset> and http-equiv/content pairs,
// comments and other tags stepped over, labels named as the web's encoding standard names them.

#include <string_view>

namespace toolbar {

enum class DeclaredEncoding {
    None,      // nothing declared, or only labels no browser knows
    Utf8,      // UTF-8 (a declared UTF-16 counts as UTF-8, as the browser reads such a page)
    ShiftJis,  // Shift_JIS under any of its labels
    Other,     // any other encoding a browser knows
};

// How many leading bytes the search looks at.
inline constexpr std::size_t kEncodingSearchLength = 1024;

// The encoding that a label names: surrounding ASCII whitespace is ignored, letters compare
// without regard to case. None for a label that names no encoding.
DeclaredEncoding EncodingOfLabel(std::string_view label);

// The encoding that document declares in its first kEncodingSearchLength bytes.
DeclaredEncoding FindDeclaredEncoding(std::string_view document);

}  // namespace toolbar
