#include "toolkit/Module.h"

#include <windows.h>

#include "toolkit/Text.h"
#include "toolkit/core/FilePath.h"

namespace toolkit {

namespace {
constexpr DWORD kLongestModulePath = 32768;
}

bool IsAnsiLeadByte(unsigned char byte) noexcept { return ::IsDBCSLeadByte(byte) != FALSE; }

std::wstring ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(path.size());
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), size);
        if (length < size) {
            path.resize(length);
            return path;
        }
        if (size >= kLongestModulePath) return {};
        path.assign(static_cast<size_t>(size) * 2, L'\0');  // cut off: again with room for a long path
    }
}

std::wstring ExecutableFolder() {
    const std::wstring path = ExecutablePath();
    return path.substr(0, FolderLength(path));
}

std::wstring ExecutableFileNameWide() {
    const std::wstring path = ExecutablePath();
    return path.substr(FolderLength(path));
}

std::string ExecutableFileName() { return WideToAnsi(ExecutableFileNameWide()); }

}  // namespace toolkit
