#pragma once
// Tag.ini on disk: where it is and how it is read. The tag menu itself is built by the form that
// owns it (TForm1::BuildTagMenu).

#include <string>
#include <vector>

#include "menus/core/TagFile.h"
#include "toolkit/Module.h"

namespace menus {

using toolkit::IsAnsiLeadByte;

// A Tag.ini larger than this is refused with the file-open error rather than read: a real tag
// file is a few kilobytes, and the menu of a far larger one would be of no use.
inline constexpr std::size_t kTagFileLimit = 64u * 1024 * 1024;

// The executable's folder, with its trailing separator, plus "Tag.ini".
std::wstring TagFilePath();

// The groups of a tag file. A file that cannot be opened or read, or is larger than kTagFileLimit,
// throws toolkit::Error "ファイル <path> は開けません"; the file is closed again before this returns.
// The file is read with others allowed to read and write it meanwhile, so a save in progress
// elsewhere cannot block it.
std::vector<TagGroup> LoadTagFile(const std::wstring& path);

}  // namespace menus
