#pragma once
// Where the running executable is, as ANSI text.

#include <string>

namespace toolkit {

// Whether a byte starts a double-byte character of the system's ANSI code page.
bool IsAnsiLeadByte(unsigned char byte) noexcept;

// The executable's full path as the system reports it for the module (not argument 0).
std::string ExecutablePath();
// Its folder, with the trailing separator: Tag.ini and Buffer.htm live there.
std::string ExecutableFolder();
// Its file name without the folder.
std::string ExecutableFileName();
// The same name as the system holds it, for what must not lose a character to the code page.
std::wstring ExecutableFileNameWide();

}  // namespace toolkit
