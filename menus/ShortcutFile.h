#pragma once
// Reading an Internet shortcut file from disk for the address it stands for.

#include <string>

namespace menus {

// The address of the shortcut file at path, as the browser takes it: the full Unicode address when
// the file holds one, otherwise its ANSI address converted from the code page. Empty when the file
// cannot be read or holds no address. Only the file's first MiB is read: a shortcut is a few
// hundred bytes, and a huge file in its place costs no more than that.
std::wstring ReadShortcutAddress(const std::wstring& path);

}  // namespace menus
