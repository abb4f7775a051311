#pragma once
// Splitting a path held as ANSI text. In a double-byte code page the trail byte of a character
// can have the value of "\" (0x5C), so separators are looked for character by character.

#include <cstddef>
#include <string_view>

namespace toolkit {

// Whether a byte starts a double-byte character of the code page.
using LeadBytePredicate = bool (*)(unsigned char byte);

// The length of the folder part of path, its last separator ("\" or "/") included; 0 when the
// path has no folder.
std::size_t FolderLength(std::string_view path, LeadBytePredicate isLeadByte);

}  // namespace toolkit
