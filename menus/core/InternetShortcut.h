#pragma once
// Internet shortcut files (*.url) read into the address they stand for. Such a file is INI text:
// "[InternetShortcut]" holds "URL=" in the ANSI code page, where characters that the code page
// lacks are lost; the system then adds "[InternetShortcut.W]" with "URL=" holding the whole
// address in UTF-7. The reader follows the rules of the system's own INI reader for ordinary
// files: section and key names compare without regard to letter case, blanks around names and
// values are dropped, the first matching section and key count, and a value in a pair of quotes
// loses them. A file that starts with the UTF-16 byte order mark is read as UTF-16.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace menus {

// The most of the ANSI "URL=" value that is used, as the system's reader with a 2048-byte buffer.
inline constexpr std::size_t kShortcutAddressLimit = 2047;

// The address a shortcut file stands for: the full address when the file holds it as Unicode
// text, otherwise the ANSI bytes of "[InternetShortcut]" "URL=" (at most kShortcutAddressLimit;
// empty when the file, the section or the key is missing).
struct ShortcutAddress {
    std::optional<std::wstring> unicode;
    std::string ansi;
};

ShortcutAddress ParseInternetShortcut(std::string_view bytes);

// UTF-7 (RFC 2152) decoded into UTF-16 code units; nothing when the text is not well-formed:
// a byte outside 7-bit ASCII, a shifted run that leaves a partial or non-zero character behind,
// or a surrogate without its partner.
std::optional<std::wstring> DecodeUtf7(std::string_view text);

}  // namespace menus
