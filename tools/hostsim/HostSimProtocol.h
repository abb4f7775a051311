#pragma once
// The host protocol as this editor offers it to its companion program. Kept here on purpose rather
// than shared with the companion: it is written from the host's side, and a test that finds the
// two disagreeing has found a fault.

#include <windows.h>

#include <cstdint>

namespace hostsim {

// Window classes the companion looks for: the main window, two hidden children holding paths, the
// document's name and the toolbar it plants into.
inline constexpr wchar_t kMainClass[] = L"TKestrixMainForm";
inline constexpr wchar_t kExeNameClass[] = L"TKestrixExeName";
inline constexpr wchar_t kIniPathClass[] = L"TKestrixIniFilePath";
inline constexpr wchar_t kFileNameClass[] = L"TEdit";
inline constexpr wchar_t kToolbarClass[] = L"TToolbar";

// Messages the main window answers, each before SendMessage returns.
inline constexpr UINT kMsgSave = 0x8190;       // save the document to its file; unnamed: nothing
inline constexpr UINT kMsgGetMemo = 0x8192;    // result: the edit control holding the text
inline constexpr UINT kMsgGetLayout = 0x8194;  // result: the layout answer (/layout=N)
inline constexpr UINT kMsgTakeText = 0x819B;   // wParam: mode, lParam: block size with its zero

// kMsgTakeText's mode that inserts at the caret; other modes are read and logged only.
inline constexpr WPARAM kModeInsertAtCaret = 1;

// The shared block is "Kestrix_Map_" + this value in unsigned decimal.
inline std::uint32_t Handle32(HWND window) {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window));
}

}  // namespace hostsim
