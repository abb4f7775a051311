#include "hostlink/Kestrix.h"

#include <climits>
#include <cstring>
#include <new>
#include <vector>

#include "toolkit/Handles.h"

namespace hostlink {

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

DWORD ProcessOf(HWND window) {
    DWORD process = 0;
    return ::GetWindowThreadProcessId(window, &process) != 0 ? process : 0;
}

// The length the text area claims, as far as it is read at all.
int TextLengthOf(HWND memo) {
    if (!memo) return 0;
    const LRESULT n = ::SendMessageA(memo, WM_GETTEXTLENGTH, 0, 0);
    return ReadableTextLength(n, GetWindowsVersionName() == "WinNT");
}

bool IsWritable(DWORD protection) {
    if (protection & (PAGE_GUARD | PAGE_NOACCESS)) return false;
    const DWORD access = protection & 0xFF;
    return access == PAGE_READWRITE || access == PAGE_WRITECOPY || access == PAGE_EXECUTE_READWRITE ||
           access == PAGE_EXECUTE_WRITECOPY;
}

// Whether size bytes from the start of a mapped view are committed and writable: a block made by
// another program may be smaller, reserved without committed pages, or read-only, and a write into
// any of those faults.
bool IsWritableView(const void* view, size_t size) {
    const auto* const start = static_cast<const char*>(view);
    const char* at = start;
    while (static_cast<size_t>(at - start) < size) {
        MEMORY_BASIC_INFORMATION region{};
        if (::VirtualQuery(at, &region, sizeof region) == 0) return false;
        if (region.AllocationBase != view || region.State != MEM_COMMIT || !IsWritable(region.Protect)) return false;
        at = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
    }
    return true;
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
    const auto memo = reinterpret_cast<HWND>(::SendMessageA(ToHwnd(h), kMsgGetMemo, 0, 0));
    // Sent to HWND_BROADCAST or to another program's window, the text area's messages would reach
    // windows that never agreed to the protocol.
    if (!memo || !::IsWindow(memo)) return nullptr;
    const DWORD process = ProcessOf(memo);
    return process != 0 && process == ProcessOf(ToHwnd(h)) ? memo : nullptr;
}

std::uint8_t GetHostLayoutCode(HostHandle h) {
    if (!IsHostWindow(h)) return 0;
    return MapLayoutCode(::SendMessageA(ToHwnd(h), kMsgGetLayoutCode, 0, 0));
}

int GetHostTextLength(HostHandle h) {
    if (!IsHostWindow(h)) return -1;
    return TextLengthOf(GetHostMemo(h));
}

std::optional<std::string> ReadHostText(HostHandle h) {
    if (!IsHostWindow(h)) return std::nullopt;
    const HWND memo = GetHostMemo(h);
    const int n = TextLengthOf(memo);
    if (!memo || n < 0) return std::nullopt;
    std::vector<char> buffer;
    try {
        buffer.assign(static_cast<size_t>(n) + 1, '\0');
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    const LRESULT copied =
        ::SendMessageA(memo, WM_GETTEXT, static_cast<WPARAM>(n) + 1, reinterpret_cast<LPARAM>(buffer.data()));
    // A host that dies while it answers leaves the buffer as it was: that is no empty document.
    if (copied == 0 && !::IsWindow(memo)) return std::nullopt;
    buffer.back() = '\0';
    return std::string(buffer.data(), ::strnlen(buffer.data(), buffer.size()));
}

std::string GetHostText(HostHandle h) { return ReadHostText(h).value_or(std::string()); }

std::string GetHostExeName(HostHandle h) { return ChildWindowText(h, kExeNameClass); }
std::string GetHostIniFilePath(HostHandle h) { return ChildWindowText(h, kIniFilePathClass); }
std::string GetHostFileName(HostHandle h) { return ChildWindowText(h, kFileNameClass); }

HWND FindHostToolbar(HostHandle h) { return ::FindWindowExA(ToHwnd(h), nullptr, kToolbarClass, nullptr); }

void SaveHostDocumentIfModified(HostHandle h) {
    if (!IsHostWindow(h)) return;
    const HWND memo = GetHostMemo(h);
    if (memo && ::SendMessageA(memo, EM_GETMODIFY, 0, 0) != 0) ::SendMessageA(ToHwnd(h), kMsgSaveDocument, 0, 0);
}

void SendTextToHost(HostHandle h, std::string_view text, unsigned mode) {
    if (!IsHostWindow(h)) return;
    if (text.size() >= ULONG_MAX) return;
    const DWORD size = static_cast<DWORD>(text.size() + 1);
    const std::string name = SharedBlockName(h);
    toolkit::KernelHandle mapping(
        ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, name.c_str()));
    if (!mapping) return;
    {
        // A block of this name that already existed (the host still holds one, or another program
        // made it first) comes back as it was made: never write past its view or into pages it has
        // not committed, and never send a cut text.
        toolkit::MappedView view(::MapViewOfFile(mapping.Get(), FILE_MAP_WRITE, 0, 0, 0));
        if (!view || !IsWritableView(view.Get(), size)) return;
        const std::string copy(text);  // zero-terminated
        std::memcpy(view.Get(), copy.c_str(), size);
    }
    ::SendMessageA(ToHwnd(h), kMsgTakeText, mode, static_cast<LPARAM>(size));
}

void InsertTextIntoHost(HostHandle h, std::string_view text) { SendTextToHost(h, text, kInsertAtCaret); }

std::string GetWindowsVersionName() {
    const VersionSource& source = VersionSourceSlot();
    const VersionInfo info = source ? source() : SystemVersion();
    return WindowsVersionNameFor(info.platformId, info.minorVersion);
}

void SetVersionSourceForTesting(VersionSource source) { VersionSourceSlot() = std::move(source); }

}  // namespace hostlink
