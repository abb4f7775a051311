#include "startup/core/InstanceName.h"

namespace startup {

std::wstring InstanceNameFor(std::wstring_view exeBaseName, std::uint32_t hostWindow) {
    std::wstring name = L"Kestrix_ToolBar_Application_";
    for (const wchar_t c : exeBaseName) name.push_back(c == L'\\' || c == L'\0' ? L'_' : c);
    return name + L"_" + std::to_wstring(hostWindow);
}

}  // namespace startup
