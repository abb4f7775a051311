#include "toolkit/Text.h"

#include <windows.h>

#include <climits>

namespace toolkit {

std::wstring AnsiToWide(std::string_view text) {
    if (text.empty() || text.size() > INT_MAX) return {};
    const int length = static_cast<int>(text.size());
    const int needed = ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (needed <= 0) return {};
    std::wstring wide(static_cast<size_t>(needed), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), needed);
    return wide;
}

namespace {

std::string WideToMultiByte(UINT codePage, std::wstring_view text) {
    if (text.empty() || text.size() > INT_MAX) return {};
    const int length = static_cast<int>(text.size());
    const int needed = ::WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return {};
    std::string bytes(static_cast<size_t>(needed), '\0');
    ::WideCharToMultiByte(codePage, 0, text.data(), length, bytes.data(), needed, nullptr, nullptr);
    return bytes;
}

}  // namespace

std::string WideToAnsi(std::wstring_view text) { return WideToMultiByte(CP_ACP, text); }

std::string WideToUtf8(std::wstring_view text) { return WideToMultiByte(CP_UTF8, text); }

std::optional<std::string> WideToAnsiExactly(std::wstring_view text) {
    if (text.empty()) return std::string();
    if (text.size() > INT_MAX) return std::nullopt;
    const int length = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    const int needed = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0, nullptr,
                                             &usedDefault);
    if (needed <= 0 || usedDefault) return std::nullopt;
    std::string bytes(static_cast<size_t>(needed), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, bytes.data(), needed, nullptr, &usedDefault);
    // A character the code page only resembles does not come back as itself.
    if (usedDefault || AnsiToWide(bytes) != text) return std::nullopt;
    return bytes;
}

std::wstring FormatMessageText(const wchar_t* format, std::wstring_view argument) {
    std::wstring result;
    for (const wchar_t* p = format; *p != L'\0'; ++p) {
        if (p[0] == L'%' && p[1] == L's') {
            result.append(argument);
            ++p;
        } else {
            result.push_back(*p);
        }
    }
    return result;
}

}  // namespace toolkit
