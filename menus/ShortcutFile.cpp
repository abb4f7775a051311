#include "menus/ShortcutFile.h"

#include "menus/core/InternetShortcut.h"
#include "toolkit/Files.h"
#include "toolkit/Text.h"

namespace menus {

namespace {
constexpr std::size_t kShortcutReadLimit = 1024 * 1024;
}

std::wstring ReadShortcutAddress(const std::wstring& path) {
    const std::optional<std::string> bytes = toolkit::ReadFileBytes(path, kShortcutReadLimit);
    if (!bytes) return {};
    ShortcutAddress address = ParseInternetShortcut(*bytes);
    return address.unicode ? std::move(*address.unicode) : toolkit::AnsiToWide(address.ansi);
}

}  // namespace menus
