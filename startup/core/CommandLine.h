#pragma once
// The command line as the program reads it: split into arguments, and the numeric value of the
// first argument that carries a prefix.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace startup {

// Every character with a code from 1 to 32 separates arguments; double quotes group characters,
// blanks included, into one argument and are removed; an unclosed quote runs to the end.
// A zero byte ends the line. The first element is the program's own name as written.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// Lower-casing of the locale, supplied by the caller (the Win32 side uses the ANSI code page's).
using LowerCaseFunction = std::string (*)(std::string_view);
std::string AsciiLowerCase(std::string_view text);

// The value of the first argument (from index 1 on) that begins with prefix, compared in lower
// case, and is longer than it: the decimal digits among at most 8 characters after the prefix
// (other characters dropped), or 0 when there are none. 0 when no argument decides.
std::uint32_t FindParamValueIn(const std::vector<std::string>& arguments, std::string_view prefix,
                               LowerCaseFunction lowerCase = &AsciiLowerCase);

}  // namespace startup
