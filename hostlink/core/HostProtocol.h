#pragma once
// The host editor's protocol as Corvane uses it: every window class and message it relies on, each
// documented once here, and the rules that need no window.
//
// Every message is sent with SendMessageA to the host's main window (the window of class
// kHostMainWindowClass) and is handled completely before SendMessageA returns.

#include <cstdint>
#include <string>

namespace hostlink {

// The host's main window handle as the protocol carries it: 32 bits on every build.
using HostHandle = std::uint32_t;

// ---------------------------------------------------------------------------------------------
// Window classes

// The host's main window; compared exactly, letter case included.
inline constexpr char kHostMainWindowClass[] = "TKestrixMainForm";
// Hidden direct children of the main window, each holding a path as its window text: the host
// executable's full path, and the full path of the host's settings file (an INI file).
inline constexpr char kExeNameClass[] = "TKestrixExeName";
inline constexpr char kIniFilePathClass[] = "TKestrixIniFilePath";
// The first direct child of this class holds the document's file name; empty for a document
// never saved.
inline constexpr char kFileNameClass[] = "TEdit";
// The host's toolbar, the first direct child of this class; it accepts Corvane's toolbar as a
// child window.
inline constexpr char kToolbarClass[] = "TToolbar";

// ---------------------------------------------------------------------------------------------
// Messages to the main window

// Save the current document to its file.
//   wParam: 0   lParam: 0   result: ignored
// The file is written before the message returns.
inline constexpr unsigned kMsgSaveDocument = 0x8190;  // WM_APP + 0x190

// Give the text area.
//   wParam: 0   lParam: 0   result: the handle of the edit control that holds the document
// That control answers WM_GETTEXTLENGTH, WM_GETTEXT and EM_GETMODIFY. Corvane uses the answer only
// when it is a window of the host's own process (see hostlink::GetHostMemo).
inline constexpr unsigned kMsgGetMemo = 0x8192;  // WM_APP + 0x192

// Give the layout code.
//   wParam: 0   lParam: 0   result: a small integer, mapped by MapLayoutCode
inline constexpr unsigned kMsgGetLayoutCode = 0x8194;  // WM_APP + 0x194

// Take text from the shared block.
//   wParam: the mode, kInsertAtCaret (the only mode Corvane sends)
//   lParam: the size of the block in bytes: the text plus its terminating zero byte
//   result: ignored
// The block is the paging-file mapping named SharedBlockName(main window). It exists only while
// the message is being handled: the host opens it by name and reads it before it returns.
inline constexpr unsigned kMsgTakeText = 0x819B;  // WM_APP + 0x19B

// kMsgTakeText's modes.
inline constexpr unsigned kInsertAtCaret = 1;  // insert the text at the caret of the document

// "Kestrix_Map_" + the main window's handle in unsigned decimal: the shared block's name. Any
// program of the same session can compute it, so the sender trusts no block it finds under it.
inline constexpr char kSharedBlockPrefix[] = "Kestrix_Map_";

// ---------------------------------------------------------------------------------------------
// Limits Corvane sets on the host's answers

// The longest text read from the text area: a WM_GETTEXTLENGTH answer beyond it (no real document
// comes near it) reads as unreadable, so the buffer for a text never exceeds 64 MiB.
inline constexpr int kMaxHostTextLength = 64 * 1024 * 1024 - 1;

// On systems outside the NT family a text longer than this is not read.
inline constexpr int kMaxHostTextLengthOlderSystems = 0xFFFE;

// ---------------------------------------------------------------------------------------------
// Rules that need no window

// The host's answer to kMsgGetLayoutCode, mapped to the value the program works with.
std::uint8_t MapLayoutCode(std::intptr_t answer);

// "Win3.1", "Win95", "Win98", "WinMe", "WinNT" or empty, from GetVersionEx's platform and minor version.
std::string WindowsVersionNameFor(unsigned long platformId, unsigned long minorVersion);

// "Kestrix_Map_" followed by the handle in unsigned decimal.
std::string SharedBlockName(HostHandle host);

// The host's WM_GETTEXTLENGTH answer as a length Corvane reads, or -1 when it does not read the
// text: negative answers, answers past kMaxHostTextLength, and on systems outside the NT family
// (ntFamily false) answers past kMaxHostTextLengthOlderSystems.
int ReadableTextLength(std::intptr_t answer, bool ntFamily);

}  // namespace hostlink
