#include "toolkit/Module.h"

#include <windows.h>

#include "toolkit/core/AnsiPath.h"

namespace toolkit {

namespace {
constexpr DWORD kLongestModulePath = 32768;
}

bool IsAnsiLeadByte(unsigned char byte) noexcept { return ::IsDBCSLeadByte(byte) != FALSE; }

std::string ExecutablePath() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(path.size());
        const DWORD length = ::GetModuleFileNameA(nullptr, path.data(), size);
        if (length < size) {
            path.resize(length);
            return path;
        }
        if (size >= kLongestModulePath) return {};
        path.assign(static_cast<size_t>(size) * 2, '\0');  // cut off: again with room for a long path
    }
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
