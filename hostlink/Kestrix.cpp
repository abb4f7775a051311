#include "hostlink/Kestrix.h"

#include <climits>
#include <cstring>
#include <new>
#include <vector>

#include "toolkit/Handles.h"

namespace kestrix {

HostHandle HostWindow = 0;

namespace {

constexpr int kChildTextBuffer = 256;

VersionSource& VersionSourceSlot() {
    static VersionSource source;
    return source;
}

VersionInfo SystemVersion() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;  // 148 bytes
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)
#elif defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    if (!::GetVersionExA(&info)) return {UINT_MAX, 0};
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    return {info.dwPlatformId, info.dwMinorVersion};
}

std::string ChildWindowText(HostHandle h, const char* className) {
    if (!IsHostWindow(h)) return {};
    const HWND child = ::FindWindowExA(ToHwnd(h), nullptr, className, nullptr);
    if (!child) return {};
    char buffer[kChildTextBuffer] = {};
    ::SendMessageA(child, WM_GETTEXT, kChildTextBuffer, reinterpret_cast<LPARAM>(buffer));
    buffer[kChildTextBuffer - 1] = '\0';  // the host may have filled the buffer without a terminator
    return std::string(buffer, ::strnlen(buffer, kChildTextBuffer - 1));
}

}  // namespace

HWND ToHwnd(HostHandle handle) noexcept { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(handle)); }

HostHandle FromHwnd(HWND window) noexcept {
    // Window handles are 32-bit values on every Windows, also in 64-bit processes.
    return static_cast<HostHandle>(reinterpret_cast<std::uintptr_t>(window));
}

void InitializeHostWindow() {
    HostWindow = FromHwnd(::GetForegroundWindow());
    if (!IsHostWindow(HostWindow)) HostWindow = 0;
}

bool IsHostWindow(HostHandle h) {
    if (h == 0) return false;
    char className[255] = {};
    if (::GetClassNameA(ToHwnd(h), className, sizeof className) <= 0) return false;
    return std::strcmp(className, kHostMainWindowClass) == 0;
}

HWND GetHostMemo(HostHandle h) {
    if (!IsHostWindow(h)) return nullptr;
    return reinterpret_cast<HWND>(::SendMessageA(ToHwnd(h), kMsgGetMemo, 0, 0));
}

std::uint8_t GetHostLayoutCode(HostHandle h) {
    if (!IsHostWindow(h)) return 0;
    return MapLayoutCode(::SendMessageA(ToHwnd(h), kMsgGetLayoutCode, 0, 0));
}

int GetHostTextLength(HostHandle h) {
    if (!IsHostWindow(h)) return -1;
    const LRESULT n = ::SendMessageA(GetHostMemo(h), WM_GETTEXTLENGTH, 0, 0);
    // A length that no text can have (negative, or past what a buffer can hold) reads as unreadable.
    if (n < 0 || n >= INT_MAX) return -1;
    if (GetWindowsVersionName() != "WinNT" && n > 0xFFFE) return -1;
    return static_cast<int>(n);
}

std::string GetHostText(HostHandle h) {
    const int n = GetHostTextLength(h);
    if (n < 0) return {};
    std::vector<char> buffer;
    try {
        buffer.assign(static_cast<size_t>(n) + 1, '\0');
    } catch (const std::bad_alloc&) {
        return {};
    }
    ::SendMessageA(GetHostMemo(h), WM_GETTEXT, static_cast<WPARAM>(n) + 1, reinterpret_cast<LPARAM>(buffer.data()));
    buffer.back() = '\0';
    return std::string(buffer.data(), ::strnlen(buffer.data(), buffer.size()));
}

std::string GetHostExeName(HostHandle h) { return ChildWindowText(h, kExeNameClass); }
std::string GetHostIniFilePath(HostHandle h) { return ChildWindowText(h, kIniFilePathClass); }
std::string GetHostFileName(HostHandle h) { return ChildWindowText(h, kFileNameClass); }

HWND FindHostToolbar(HostHandle h) { return ::FindWindowExA(ToHwnd(h), nullptr, kToolbarClass, nullptr); }

void SaveHostDocumentIfModified(HostHandle h) {
    if (!IsHostWindow(h)) return;
    if (::SendMessageA(GetHostMemo(h), EM_GETMODIFY, 0, 0) != 0) ::SendMessageA(ToHwnd(h), kMsgSaveDocument, 0, 0);
}

void SendTextToHost(HostHandle h, std::string_view text, unsigned mode) {
    if (!IsHostWindow(h)) return;
    if (text.size() >= ULONG_MAX) return;
    const DWORD size = static_cast<DWORD>(text.size() + 1);
    const std::string name = SharedBlockName(h);
    toolkit::KernelHandle mapping(
        ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, name.c_str()));
    if (!mapping) return;
    // A block of this name that the host still holds comes back with its old size: never write
    // past its view, and never send a cut text.
    const bool existed = ::GetLastError() == ERROR_ALREADY_EXISTS;
    {
        toolkit::MappedView view(::MapViewOfFile(mapping.Get(), FILE_MAP_WRITE, 0, 0, 0));
        if (!view) return;
        if (existed) {
            MEMORY_BASIC_INFORMATION region{};
            if (::VirtualQuery(view.Get(), &region, sizeof region) == 0 || region.RegionSize < size) return;
        }
        const std::string copy(text);  // zero-terminated
        std::memcpy(view.Get(), copy.c_str(), size);
    }
    ::SendMessageA(ToHwnd(h), kMsgTakeText, mode, static_cast<LPARAM>(size));
}

void InsertTextIntoHost(HostHandle h, std::string_view text) { SendTextToHost(h, text, 1); }

std::string GetWindowsVersionName() {
    const VersionSource& source = VersionSourceSlot();
    const VersionInfo info = source ? source() : SystemVersion();
    return WindowsVersionNameFor(info.platformId, info.minorVersion);
}

void SetVersionSourceForTesting(VersionSource source) { VersionSourceSlot() = std::move(source); }

}  // namespace kestrix
