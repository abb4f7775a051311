#include "toolkit/Module.h"

#include <windows.h>

#include "toolkit/core/AnsiPath.h"

namespace toolkit {

namespace {

constexpr DWORD kLongestModulePath = 32768;

template <typename String, typename Char>
String ModulePath(DWORD (*getModuleFileName)(HMODULE, Char*, DWORD)) {
    String path(MAX_PATH, Char{});
    for (;;) {
        const DWORD size = static_cast<DWORD>(path.size());
        const DWORD length = getModuleFileName(nullptr, path.data(), size);
        if (length < size) {
            path.resize(length);
            return path;
        }
        if (size >= kLongestModulePath) return {};
        path.assign(static_cast<size_t>(size) * 2, Char{});  // cut off: again with room for a long path
    }
}

DWORD ModuleFileNameA(HMODULE module, char* path, DWORD size) { return ::GetModuleFileNameA(module, path, size); }
DWORD ModuleFileNameW(HMODULE module, wchar_t* path, DWORD size) { return ::GetModuleFileNameW(module, path, size); }

}  // namespace

bool IsAnsiLeadByte(unsigned char byte) noexcept { return ::IsDBCSLeadByte(byte) != FALSE; }

std::string ExecutablePath() { return ModulePath<std::string>(&ModuleFileNameA); }

std::wstring ExecutableFileNameWide() {
    const std::wstring path = ModulePath<std::wstring>(&ModuleFileNameW);
    return path.substr(path.find_last_of(L"\\/") + 1);  // npos + 1: no folder at all
}

std::string ExecutableFolder() {
    const std::string path = ExecutablePath();
    return path.substr(0, FolderLength(path, &IsAnsiLeadByte));
}

std::string ExecutableFileName() {
    const std::string path = ExecutablePath();
    return path.substr(FolderLength(path, &IsAnsiLeadByte));
}

}  // namespace toolkit
