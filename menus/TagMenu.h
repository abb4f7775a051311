#pragma once
// The tag menu: Tag.ini on disk (where it is, how it is read) and the menu built from its groups.

#include <string>
#include <vector>

#include "menus/core/TagFile.h"
#include "toolkit/Menu.h"
#include "toolkit/Module.h"

namespace menus {

using toolkit::IsAnsiLeadByte;

// The executable's folder, with its trailing separator, plus "Tag.ini".
std::string TagFilePath();

// The groups of a tag file. A file that cannot be opened or read throws toolkit::Error
// "ファイル <path> は開けません"; the file is closed again before this returns.
std::vector<TagGroup> LoadTagFile(const std::string& path);

// Appends one item per group to menu, each with its entries in the reverse of their order in the
// file; choosing an entry runs onChoose with the entry's item, whose caption is the entry as written.
void BuildTagMenu(toolkit::TPopupMenu& menu, const std::vector<TagGroup>& groups,
                  const toolkit::TMenuClickEvent& onChoose);
toolkit::TMenuItem& AddMenuItem(toolkit::TPopupMenu& menu, const std::string& caption);
toolkit::TMenuItem& AddSubMenuItem(toolkit::TMenuItem& parent, const std::string& caption, size_t index);

}  // namespace menus
