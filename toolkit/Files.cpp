#include "toolkit/Files.h"

#include <windows.h>

#include "toolkit/Handles.h"

namespace toolkit {

namespace {

// One WriteFile call moves at most this much, well inside a DWORD.
constexpr std::size_t kChunk = 1u << 24;
constexpr std::size_t kReadStep = 64 * 1024;

bool WriteAll(HANDLE file, std::string_view content) {
    while (!content.empty()) {
        const auto chunk = static_cast<DWORD>(content.size() < kChunk ? content.size() : kChunk);
        DWORD written = 0;
        if (!::WriteFile(file, content.data(), chunk, &written, nullptr) || written == 0) return false;
        content.remove_prefix(written);
    }
    return true;
}

bool IsReadOnlyFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

}  // namespace

std::optional<FileStamp> FileStampOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    auto join = [](DWORD high, DWORD low) { return (static_cast<unsigned long long>(high) << 32) | low; };
    return FileStamp{join(data.nFileSizeHigh, data.nFileSizeLow),
                     join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)};
}

std::optional<std::string> ReadFileBytes(const std::wstring& path, std::size_t limit) {
    const FileHandle file{::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (!file) return std::nullopt;
    std::string bytes;
    while (bytes.size() < limit) {
        const std::size_t had = bytes.size();
        // The buffer grows with what arrives, never far ahead of it: the size the file claims may
        // change while it is read.
        bytes.resize(had + (limit - had < kReadStep ? limit - had : kReadStep));
        DWORD read = 0;
        if (!::ReadFile(file.Get(), bytes.data() + had, static_cast<DWORD>(bytes.size() - had), &read, nullptr))
            return std::nullopt;
        bytes.resize(had + read);
        if (read == 0) break;
    }
    return bytes;
}

bool ReplaceFileContent(const std::wstring& path, std::string_view content) {
    // Renaming over a read-only file would replace it, which writing it would not.
    if (IsReadOnlyFile(path)) return false;
    // One name per process, so two instances writing beside each other do not meet.
    const std::wstring partial = path + L"." + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
    FileHandle file{::CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr)};
    if (!file) return false;
    const bool written = WriteAll(file.Get(), content) && ::CloseHandle(file.Release());
    if (written && ::MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    file.Reset();
    ::DeleteFileW(partial.c_str());
    return false;
}

}  // namespace toolkit
