#include "browser/StandardsMode.h"

#include <windows.h>

#include <string>

#include "toolkit/Handles.h"
#include "toolkit/Module.h"

namespace browser {

namespace {

constexpr wchar_t kEmulationKey[] =
    L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION";
constexpr DWORD kNewestEngine = 11000;

}  // namespace

void AskForStandardsMode() {
    const std::wstring name = toolkit::ExecutableFileNameWide();
    if (name.empty()) return;
    HKEY opened = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kEmulationKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &opened, nullptr) != ERROR_SUCCESS)
        return;
    const toolkit::RegistryKey key{opened};
    // Any value of that name, of whatever type, is someone's choice.
    if (::RegQueryValueExW(key.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) != ERROR_FILE_NOT_FOUND) return;
    const DWORD mode = kNewestEngine;
    ::RegSetValueExW(key.Get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&mode), sizeof mode);
}

}  // namespace browser
