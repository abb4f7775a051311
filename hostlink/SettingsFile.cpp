#include "hostlink/SettingsFile.h"

#include <windows.h>

#include <string>

#include "hostlink/Kestrix.h"

namespace hostlink {

namespace {

constexpr DWORD kSettingBufferLimit = 65536;

// A value of the settings file at iniPath; empty when the file, the section or the key is missing.
std::string ReadSetting(const std::string& iniPath, const char* section, const char* key) {
    if (iniPath.empty()) return {};
    std::string value(256, '\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(value.size());
        const DWORD length = ::GetPrivateProfileStringA(section, key, "", value.data(), size, iniPath.c_str());
        // A value that filled the buffer may have been cut: a cut value could read as another number.
        if (length + 1 < size || size >= kSettingBufferLimit) {
            value.resize(length);
            return value;
        }
        value.assign(static_cast<size_t>(size) * 2, '\0');
    }
}

}  // namespace

HostSettings ReadHostSettings(HostHandle h) {
    const std::string iniPath = GetHostIniFilePath(h);
    HostSettings settings;
    settings.flatToolBar = IniBooleanOr(ReadSetting(iniPath, "Option", "FlatToolBar"), settings.flatToolBar);
    settings.menuPosition = IniIntegerOr(ReadSetting(iniPath, "Browser", "Menu"), settings.menuPosition);
    return settings;
}

}  // namespace hostlink
