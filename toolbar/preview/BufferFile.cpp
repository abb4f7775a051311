#include "toolbar/preview/BufferFile.h"

#include <windows.h>

#include <cstdio>

#include "toolbar/preview/core/DeclaredEncoding.h"
#include "toolbar/preview/core/LiveFollow.h"
#include "toolkit/Error.h"
#include "toolkit/Files.h"
#include "toolkit/Text.h"

namespace toolbar {

namespace {

constexpr wchar_t kSharedName[] = L"Buffer.htm";

// The kernel object that marks the file name in folder as one instance's. It is named after the
// path as the file system compares it (long names, without regard to case), which an object's
// name cannot hold whole; null when another instance holds it.
toolkit::KernelHandle Claim(const std::wstring& folder, const std::wstring& name) {
    std::wstring key(32768, L'\0');
    const DWORD length = ::GetLongPathNameW(folder.c_str(), key.data(), static_cast<DWORD>(key.size()));
    key = (length > 0 && length < key.size() ? key.substr(0, length) : folder) + name;
    ::CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
    wchar_t objectName[64];
    std::swprintf(objectName, 64, L"Corvane_Buffer_%016llx",
                  static_cast<unsigned long long>(ContentHash(toolkit::WideToUtf8(key))));
    toolkit::KernelHandle claim{::CreateMutexW(nullptr, FALSE, objectName)};
    if (claim && ::GetLastError() == ERROR_ALREADY_EXISTS) claim.Reset();
    return claim;
}

}  // namespace

BufferFile::BufferFile(const std::wstring& folder, hostlink::HostHandle host) {
    const std::wstring own = L"Buffer-" + std::to_wstring(host);
    const std::wstring names[] = {kSharedName, own + L".htm", own + L"-" + std::to_wstring(::GetCurrentProcessId()) + L".htm"};
    for (const std::wstring& name : names) {
        path_ = folder + name;
        own_ = name != kSharedName;
        claim_ = Claim(folder, name);
        if (claim_) break;  // the last name is this process's alone, claimed or not
    }
}

BufferFile::~BufferFile() {
    if (own_ && written_) ::DeleteFileW(path_.c_str());
}

void BufferFile::Write(std::string_view hostText) {
    if (!toolkit::ReplaceFileContent(path_, BufferContent(hostText)))
        throw toolkit::Error(toolkit::FormatMessageText(L"ファイル %s を作成できません", path_));
    written_ = true;
}

std::string BufferContent(std::string_view hostText) {
    std::string content(hostText);
    content += "\r\n";
    if (FindDeclaredEncoding(hostText) != DeclaredEncoding::Utf8) return content;
    return toolkit::WideToUtf8(toolkit::AnsiToWide(content));
}

}  // namespace toolbar
