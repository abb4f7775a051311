#pragma once
// Tag.ini on disk: where it is and how it is read. The tag menu itself is built by the form that
// owns it (TForm1::BuildTagMenu).

#include <string>
#include <vector>

#include "menus/core/TagFile.h"
#include "toolkit/Module.h"

namespace menus {

using toolkit::IsAnsiLeadByte;

// The executable's folder, with its trailing separator, plus "Tag.ini".
std::string TagFilePath();

// The groups of a tag file. A file that cannot be opened or read throws toolkit::Error
// "ファイル <path> は開けません"; the file is closed again before this returns.
std::vector<TagGroup> LoadTagFile(const std::string& path);

}  // namespace menus
