#include "tools/hostsim/HostSimLog.h"

#include <cstdio>

#include "toolkit/Handles.h"

namespace hostsim {

namespace {

// Opened and closed for every line, so that a reader always sees every message handled so far.
void AppendLine(const std::wstring& path, const std::string& line) {
    const toolkit::FileHandle file(::CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    const std::string text = line + "\r\n";
    DWORD written = 0;
    ::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::FlushFileBuffers(file.Get());
}

}  // namespace

void ProtocolLog::Write(UINT id, WPARAM wParam, LPARAM lParam, const std::string& detail) const {
    if (path_.empty()) return;
    char head[96];
    std::snprintf(head, sizeof head, "%04X %llu %lld", id, static_cast<unsigned long long>(wParam),
                  static_cast<long long>(lParam));
    AppendLine(path_, detail.empty() ? std::string(head) : std::string(head) + " " + detail);
}

std::string Hex(const std::string& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        hex.push_back(kDigits[byte >> 4]);
        hex.push_back(kDigits[byte & 15]);
    }
    return hex;
}

}  // namespace hostsim
