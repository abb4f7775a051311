#include "menus/TagMenu.h"

#include <windows.h>

#include "toolkit/Error.h"
#include "toolkit/Handles.h"
#include "toolkit/Text.h"

namespace menus {

namespace {

std::string ExecutablePath() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(path.size());
        const DWORD length = ::GetModuleFileNameA(nullptr, path.data(), size);
        if (length < size) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);  // cut off: try again with room for a long path
    }
}

[[noreturn]] void ThrowCannotOpen(const std::string& path) {
    throw toolkit::Error(toolkit::FormatMessageText(L"ファイル %s は開けません", toolkit::AnsiToWide(path)));
}

std::string ReadWholeFile(const std::string& path) {
    const toolkit::FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) ThrowCannotOpen(path);
    std::string bytes;
    char buffer[64 * 1024];
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr)) ThrowCannotOpen(path);
        if (read == 0) return bytes;
        bytes.append(buffer, read);
    }
}

}  // namespace

bool IsAnsiLeadByte(unsigned char byte) { return ::IsDBCSLeadByte(byte) != FALSE; }

std::string TagFilePath() { return TagFilePathFor(ExecutablePath(), &IsAnsiLeadByte); }

std::vector<TagGroup> LoadTagFile(const std::string& path) {
    return ParseTagFile(ReadWholeFile(path), &IsAnsiLeadByte);
}

}  // namespace menus
