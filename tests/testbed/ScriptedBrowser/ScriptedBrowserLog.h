#pragma once
// The scripted browser control's log: one line per entry, UTF-8, with '%' and control
// characters written as %XX so that any address fits on one line exactly as it came.

#include <string>
#include <string_view>

namespace scriptedbrowser {

std::string EncodeLogLine(std::wstring_view line);  // with its line break
std::string DecodeLogLine(std::string_view line);   // UTF-8, without its line break

}  // namespace scriptedbrowser
