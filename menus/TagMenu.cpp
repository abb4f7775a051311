#include "menus/TagMenu.h"

#include "toolkit/Error.h"
#include "toolkit/Files.h"
#include "toolkit/Module.h"
#include "toolkit/Text.h"

namespace menus {

std::wstring TagFilePath() { return TagFilePathFor(toolkit::ExecutablePath()); }

std::vector<TagGroup> LoadTagFile(const std::wstring& path) {
    const std::optional<std::string> bytes = toolkit::ReadFileBytes(path, kTagFileLimit + 1);
    if (!bytes || bytes->size() > kTagFileLimit)
        throw toolkit::Error(toolkit::FormatMessageText(L"ファイル %s は開けません", path));
    return ParseTagFile(*bytes, &toolkit::IsAnsiLeadByte);
}

}  // namespace menus
