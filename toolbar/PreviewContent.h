#pragma once
// What Buffer.htm receives for the host's text.

#include <string>
#include <string_view>

namespace toolbar {

// The host's text and one CR LF. A text whose markup declares UTF-8 comes converted from the ANSI
// code page into UTF-8 (without a byte-order mark), so that the browser reads it as it says;
// any other text, declared Shift_JIS, something else or nothing, keeps the host's bytes.
std::string BufferContent(std::string_view hostText);

}  // namespace toolbar
