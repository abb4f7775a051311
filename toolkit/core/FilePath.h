#pragma once
// Splitting a path held as UTF-16 text, as every path of the program is: no character of a name
// can pass for a separator there, whatever the ANSI code page would make of it.

#include <cstddef>
#include <string_view>

namespace toolkit {

// The length of the folder part of path, its last separator ("\" or "/") included; 0 when the
// path has no folder.
std::size_t FolderLength(std::wstring_view path) noexcept;

}  // namespace toolkit
