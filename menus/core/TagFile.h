#pragma once
// Tag.ini, the tag menu's definition, read into plain groups and entries.
//
// The file is ANSI text read as lines (a line ends at CR, LF or CR LF; a zero byte ends the text).
// Only the first character of a line matters: "%" starts a group whose caption is the rest of the
// line, "&" adds an entry, whose caption and inserted text are the rest of the line, to the most
// recent group; every other line is a comment. Nothing is trimmed.

#include <string>
#include <string_view>
#include <vector>

namespace menus {

// Tells whether a byte starts a double-byte character of the ANSI code page.
using LeadBytePredicate = bool (*)(unsigned char byte);

struct TagGroup {
    std::string caption;
    std::vector<std::string> entries;  // in file order; the menu lists them the other way round
};

// The lines of the text, without their line ends; the text ends at its first zero byte.
std::vector<std::string_view> SplitTagLines(std::string_view text);

// The groups of a Tag.ini, in file order. Entries before the first group are dropped. The first
// character of a line is taken whole (a lead byte and the byte after it are one character), and
// the rest of the line is kept byte for byte, even where it is not valid text of the code page.
std::vector<TagGroup> ParseTagFile(std::string_view bytes, LeadBytePredicate isLeadByte);

// The path of Tag.ini beside an executable: the executable's folder, separator included, plus
// "Tag.ini".
std::wstring TagFilePathFor(std::wstring_view exePath);

}  // namespace menus
