#pragma once
// Where the running executable is. The path is UTF-16, so a folder of any name works; the file
// name is also given as ANSI text for the names that the program builds from it.

#include <string>

namespace toolkit {

// Whether a byte starts a double-byte character of the system's ANSI code page.
bool IsAnsiLeadByte(unsigned char byte) noexcept;

// The executable's full path as the system reports it for the module (not argument 0).
std::wstring ExecutablePath();
// Its folder, with the trailing separator: Tag.ini and Buffer.htm live there.
std::wstring ExecutableFolder();
// Its file name without the folder, in the ANSI code page.
std::string ExecutableFileName();
// The same name as the system holds it, for what must not lose a character to the code page.
std::wstring ExecutableFileNameWide();

}  // namespace toolkit
