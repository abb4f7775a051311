#pragma once
// The one place that talks to the host editor. No operation reports an error: a missing host,
// a missing child window or a failed call gives empty text, 0 or -1, or sends nothing.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "hostlink/core/HostProtocol.h"

namespace hostlink {

// The host main window this instance serves; 0 when none.
extern HostHandle HostWindow;

HWND ToHwnd(HostHandle handle) noexcept;
HostHandle FromHwnd(HWND window) noexcept;

// The host link's start: HostWindow := the foreground window if it is a host window, else 0.
void InitializeHostWindow();

bool IsHostWindow(HostHandle h);
// The host's answer to kMsgGetMemo when it is a window of the host's own process; otherwise (0, a
// handle that is no window, HWND_BROADCAST, another program's window) null: no text area.
HWND GetHostMemo(HostHandle h);
std::uint8_t GetHostLayoutCode(HostHandle h);
// The text area's length as ReadableTextLength admits it; 0 when the host has no text area.
int GetHostTextLength(HostHandle h);
// The host's whole text; nothing when it cannot be read: no host or text area, a length it does
// not read, no memory for it, or a host that went away while answering.
std::optional<std::string> ReadHostText(HostHandle h);
// ReadHostText, or empty text when it cannot be read.
std::string GetHostText(HostHandle h);
std::string GetHostExeName(HostHandle h);
std::string GetHostIniFilePath(HostHandle h);
std::string GetHostFileName(HostHandle h);
HWND FindHostToolbar(HostHandle h);
void SaveHostDocumentIfModified(HostHandle h);
// Copies text and its zero byte into the shared block and sends kMsgTakeText. A block of that name
// that another program made first is used only when all of its first text.size() + 1 bytes are
// committed, writable memory; otherwise nothing is written or sent.
void SendTextToHost(HostHandle h, std::string_view text, unsigned mode);
// SendTextToHost with kInsertAtCaret.
void InsertTextIntoHost(HostHandle h, std::string_view text);
std::string GetWindowsVersionName();

// Tests replace where the system's version comes from (platform id, minor version).
struct VersionInfo {
    unsigned long platformId;
    unsigned long minorVersion;
};
using VersionSource = std::function<VersionInfo()>;
void SetVersionSourceForTesting(VersionSource source);

}  // namespace hostlink
