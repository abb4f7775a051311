#include "toolkit/core/AnsiPath.h"

namespace toolkit {

std::size_t FolderLength(std::string_view path, LeadBytePredicate isLeadByte) {
    std::size_t folderLength = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] == '\\' || path[i] == '/')
            folderLength = i + 1;
        else if (isLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size())
            ++i;  // the trail byte is part of this character, whatever its value
    }
    return folderLength;
}

}  // namespace toolkit
