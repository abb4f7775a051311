#pragma once
// The fixed identifiers of the host editor's protocol, and the rules that need no window.

#include <cstdint>
#include <string>

namespace kestrix {

// The host's main window handle as the protocol carries it: 32 bits on every build.
using HostHandle = std::uint32_t;

inline constexpr char kHostMainWindowClass[] = "TKestrixMainForm";
inline constexpr char kExeNameClass[] = "TKestrixExeName";
inline constexpr char kIniFilePathClass[] = "TKestrixIniFilePath";
inline constexpr char kFileNameClass[] = "TEdit";
inline constexpr char kToolbarClass[] = "TToolbar";
inline constexpr char kSharedBlockPrefix[] = "Kestrix_Map_";

inline constexpr unsigned kMsgSaveDocument = 0x8190;
inline constexpr unsigned kMsgGetMemo = 0x8192;
inline constexpr unsigned kMsgGetLayoutCode = 0x8194;
inline constexpr unsigned kMsgTakeText = 0x819B;

// The host's answer to kMsgGetLayoutCode, mapped to the value the program works with.
std::uint8_t MapLayoutCode(std::intptr_t answer);

// "Win3.1", "Win95", "Win98", "WinMe", "WinNT" or empty, from GetVersionEx's platform and minor version.
std::string WindowsVersionNameFor(unsigned long platformId, unsigned long minorVersion);

// "Kestrix_Map_" followed by the handle in unsigned decimal.
std::string SharedBlockName(HostHandle host);

}  // namespace kestrix
