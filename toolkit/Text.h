#pragma once
// Text crosses between the ANSI code page (the program's own 8-bit text, and everything from the
// host, Tag.ini, shortcut files and the command line) and UTF-16 only through these functions.

#include <optional>
#include <string>
#include <string_view>

namespace toolkit {

// CP_ACP, flags 0: a character without an equivalent becomes the code page's default character.
std::wstring AnsiToWide(std::string_view text);
std::string WideToAnsi(std::wstring_view text);
// The ANSI bytes of text when the code page holds every character of it exactly (no default
// character, no look-alike); nothing otherwise.
std::optional<std::string> WideToAnsiExactly(std::wstring_view text);
// UTF-8 without a byte-order mark, for files whose markup declares it.
std::string WideToUtf8(std::wstring_view text);

// printf-style formatting of the program's own messages ("%s" takes a wide string).
std::wstring FormatMessageText(const wchar_t* format, std::wstring_view argument);

}  // namespace toolkit
