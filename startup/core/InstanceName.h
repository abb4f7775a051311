#pragma once
// The name of the instance mutex, which keeps a second instance for the same host window out.

#include <cstdint>
#include <string>
#include <string_view>

namespace startup {

// "Kestrix_ToolBar_Application_" + exeBaseName + "_" + hostWindow in unsigned decimal, as UTF-16
// text for the wide API. The base name is taken from the file system's own (wide) name, so no
// character changes on the way: through the ANSI code page "¥" would become "\", the separator of
// kernel object names, and the name would not be accepted. "\" itself and the zero character
// (which would cut the name short) become "_"; no file name holds either, so for every executable
// name the mutex name keeps its characters exactly, the same name an ANSI build gives every name
// its code page holds.
std::wstring InstanceNameFor(std::wstring_view exeBaseName, std::uint32_t hostWindow);

}  // namespace startup
