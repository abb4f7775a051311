#pragma once
// The tag menu: Tag.ini on disk (where it is, how it is read) and the menu built from its groups.

#include <string>
#include <vector>

#include "menus/core/TagFile.h"
#include "toolkit/Menu.h"
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

// Appends one item per group to menu, each with its entries in the reverse of their order in the
// file; choosing an entry runs onChoose with the entry's item, whose caption is the entry as written.
void BuildTagMenu(toolkit::TPopupMenu& menu, const std::vector<TagGroup>& groups,
                  const toolkit::TMenuClickEvent& onChoose);
toolkit::TMenuItem& AddMenuItem(toolkit::TPopupMenu& menu, const std::string& caption);
toolkit::TMenuItem& AddSubMenuItem(toolkit::TMenuItem& parent, const std::string& caption, size_t index);

}  // namespace menus
