#pragma once
// The one place that talks to the host editor. No operation reports an error: a missing host,
// a missing child window or a failed call gives empty text, 0 or -1, or sends nothing.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "hostlink/core/HostProtocol.h"

namespace kestrix {

// The host main window this instance serves; 0 when none.
extern HostHandle HostWindow;

HWND ToHwnd(HostHandle handle) noexcept;
HostHandle FromHwnd(HWND window) noexcept;

// The host link's start: HostWindow := the foreground window if it is a host window, else 0.
void InitializeHostWindow();

bool IsHostWindow(HostHandle h);
HWND GetHostMemo(HostHandle h);
std::uint8_t GetHostLayoutCode(HostHandle h);
int GetHostTextLength(HostHandle h);
std::string GetHostText(HostHandle h);
std::string GetHostExeName(HostHandle h);
std::string GetHostIniFilePath(HostHandle h);
std::string GetHostFileName(HostHandle h);
HWND FindHostToolbar(HostHandle h);
void SaveHostDocumentIfModified(HostHandle h);
void SendTextToHost(HostHandle h, std::string_view text, unsigned mode);
void InsertTextIntoHost(HostHandle h, std::string_view text);
std::string GetWindowsVersionName();

// Tests replace where the system's version comes from (platform id, minor version).
struct VersionInfo {
    unsigned long platformId;
    unsigned long minorVersion;
};
using VersionSource = std::function<VersionInfo()>;
void SetVersionSourceForTesting(VersionSource source);

}  // namespace kestrix
