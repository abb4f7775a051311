#pragma once
// Tag.ini, the tag menu's definition, read into plain groups and entries.
//
// The file is ANSI text read as lines (a line ends at CR, LF or CR LF; a zero byte ends the text).
// Only the first character of a line matters: "%" starts a group whose caption is the rest of the
// line, "&" adds an entry, whose caption and inserted text are the rest of the line, to the most
// recent group; every other line is a comment. Nothing is trimmed.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "menus/core/TagText.h"

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

// A group as a quick pass over the text finds it: its caption, and the lines below it up to the
// next group, whose entries are read only when they are asked for.
template <class Char>
struct TagOutlineGroup {
    std::basic_string_view<Char> caption;
    std::basic_string_view<Char> body;
    bool hasEntries = false;
    bool hasTextEntries = false;  // an entry other than the separator "-"
};

// The groups of a tag text in file order; the text ends at its first zero. Lines are read as
// ParseTagFile reads them. 8-bit text is split with its code page's lead bytes; UTF-16 needs none.
std::vector<TagOutlineGroup<char>> OutlineTagText(std::string_view text, LeadBytePredicate isLeadByte);
std::vector<TagOutlineGroup<char16_t>> OutlineTagText(std::u16string_view text);

// The entries of a group's body, in file order.
std::vector<std::string_view> TagEntries(std::string_view body, LeadBytePredicate isLeadByte);
std::vector<std::u16string_view> TagEntries(std::u16string_view body);

// A Tag.ini as read: its bytes, its encoding, its text and the outline of its groups. A file of
// the ANSI code page keeps its bytes as its text; a Unicode file's text is UTF-16. The outline
// points into the document's own text, so a document is made in one place and never copied.
struct TagDocument {
    std::string bytes;
    TagEncoding encoding = TagEncoding::Ansi;
    LeadBytePredicate isLeadByte = nullptr;
    std::u16string wideText;                              // a Unicode file's text, without its mark
    std::vector<TagOutlineGroup<char>> ansiGroups;        // an ANSI file's groups
    std::vector<TagOutlineGroup<char16_t>> wideGroups;    // a Unicode file's groups

    size_t GroupCount() const noexcept { return encoding == TagEncoding::Ansi ? ansiGroups.size() : wideGroups.size(); }
};

std::shared_ptr<const TagDocument> ReadTagDocument(std::string bytes, LeadBytePredicate isLeadByte);

// The path of Tag.ini beside an executable: the executable's folder, separator included, plus
// "Tag.ini".
std::wstring TagFilePathFor(std::wstring_view exePath);

}  // namespace menus
