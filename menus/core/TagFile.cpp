#include "menus/core/TagFile.h"

#include <type_traits>

#include "toolkit/core/FilePath.h"

namespace menus {

namespace {

template <class Char>
using TextView = std::basic_string_view<Char>;

// Bytes taken by the character that starts at text[index].
size_t CharacterLength(std::string_view text, size_t index, LeadBytePredicate isLeadByte) {
    const bool pair = isLeadByte(static_cast<unsigned char>(text[index])) && index + 1 < text.size();
    return pair ? 2 : 1;
}

// Calls visit with each line of the text, without its line end.
template <class Char, class Visit>
void ForEachLine(TextView<Char> text, Visit visit) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && text[end] != Char('\r') && text[end] != Char('\n')) ++end;
        visit(text.substr(start, end - start));
        start = end + 1;
        if (end < text.size() && text[end] == Char('\r') && start < text.size() && text[start] == Char('\n')) ++start;
    }
}

// The marker that starts a line ("%" or "&"), or 0. The first character is taken whole: a lead
// byte and the byte after it are one character, and never a marker.
template <class Char>
Char MarkerOf(TextView<Char> line, LeadBytePredicate isLeadByte) {
    if (line.empty()) return 0;
    if constexpr (std::is_same_v<Char, char>) {
        if (CharacterLength(line, 0, isLeadByte) != 1) return 0;
    }
    return line[0] == Char('%') || line[0] == Char('&') ? line[0] : Char(0);
}

template <class Char>
std::vector<TagOutlineGroup<Char>> Outline(TextView<Char> text, LeadBytePredicate isLeadByte) {
    text = text.substr(0, text.find(Char(0)));
    std::vector<TagOutlineGroup<Char>> groups;
    const Char* const textEnd = text.data() + text.size();
    ForEachLine(text, [&](TextView<Char> line) {
        const Char marker = MarkerOf(line, isLeadByte);
        if (marker == Char('%')) {
            if (!groups.empty()) groups.back().body = {groups.back().body.data(), line.data()};
            const Char* const bodyStart = line.data() + line.size();
            groups.push_back({line.substr(1), {bodyStart, textEnd}});
        } else if (marker == Char('&') && !groups.empty()) {
            groups.back().hasEntries = true;
            const bool separator = line.size() == 2 && line[1] == Char('-');
            groups.back().hasTextEntries = groups.back().hasTextEntries || !separator;
        }
    });
    return groups;
}

template <class Char>
std::vector<TextView<Char>> Entries(TextView<Char> body, LeadBytePredicate isLeadByte) {
    std::vector<TextView<Char>> entries;
    ForEachLine(body, [&](TextView<Char> line) {
        if (MarkerOf(line, isLeadByte) == Char('&')) entries.push_back(line.substr(1));
    });
    return entries;
}

}  // namespace

std::vector<std::string_view> SplitTagLines(std::string_view text) {
    std::vector<std::string_view> lines;
    ForEachLine(text.substr(0, text.find('\0')), [&](std::string_view line) { lines.push_back(line); });
    return lines;
}

std::vector<TagOutlineGroup<char>> OutlineTagText(std::string_view text, LeadBytePredicate isLeadByte) {
    return Outline(text, isLeadByte);
}

std::vector<TagOutlineGroup<char16_t>> OutlineTagText(std::u16string_view text) { return Outline(text, nullptr); }

std::vector<std::string_view> TagEntries(std::string_view body, LeadBytePredicate isLeadByte) {
    return Entries(body, isLeadByte);
}

std::vector<std::u16string_view> TagEntries(std::u16string_view body) { return Entries(body, nullptr); }

std::vector<TagGroup> ParseTagFile(std::string_view bytes, LeadBytePredicate isLeadByte) {
    std::vector<TagGroup> groups;
    for (const TagOutlineGroup<char>& outline : OutlineTagText(bytes, isLeadByte)) {
        TagGroup& group = groups.emplace_back(TagGroup{std::string(outline.caption), {}});
        for (std::string_view entry : TagEntries(outline.body, isLeadByte)) group.entries.emplace_back(entry);
    }
    return groups;
}

std::shared_ptr<const TagDocument> ReadTagDocument(std::string bytes, LeadBytePredicate isLeadByte) {
    auto document = std::make_shared<TagDocument>();
    document->bytes = std::move(bytes);
    document->encoding = DetectTagEncoding(document->bytes);
    document->isLeadByte = isLeadByte;
    if (document->encoding == TagEncoding::Ansi) {
        document->ansiGroups = OutlineTagText(document->bytes, isLeadByte);
    } else {
        document->wideText = DecodeTagText(document->bytes, document->encoding);
        document->wideGroups = OutlineTagText(document->wideText);
    }
    return document;
}

std::wstring TagFilePathFor(std::wstring_view exePath) {
    return std::wstring(exePath.substr(0, toolkit::FolderLength(exePath))) + L"Tag.ini";
}

}  // namespace menus
