#include "menus/core/TagFile.h"

#include "toolkit/core/FilePath.h"

namespace menus {

namespace {

// Bytes taken by the character that starts at text[index].
size_t CharacterLength(std::string_view text, size_t index, LeadBytePredicate isLeadByte) {
    const bool pair = isLeadByte(static_cast<unsigned char>(text[index])) && index + 1 < text.size();
    return pair ? 2 : 1;
}

}  // namespace

std::vector<std::string_view> SplitTagLines(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
    return lines;
}

std::vector<TagGroup> ParseTagFile(std::string_view bytes, LeadBytePredicate isLeadByte) {
    std::vector<TagGroup> groups;
    for (std::string_view line : SplitTagLines(bytes)) {
        if (line.empty() || CharacterLength(line, 0, isLeadByte) != 1) continue;
        const std::string_view rest = line.substr(1);
        if (line[0] == '%')
            groups.push_back(TagGroup{std::string(rest), {}});
        else if (line[0] == '&' && !groups.empty())
            groups.back().entries.emplace_back(rest);
    }
    return groups;
}

std::wstring TagFilePathFor(std::wstring_view exePath) {
    return std::wstring(exePath.substr(0, toolkit::FolderLength(exePath))) + L"Tag.ini";
}

}  // namespace menus
