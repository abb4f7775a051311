#pragma once
// The editor's dialogs: choosing a file to open or save, the unsaved-changes question and errors.

#include <windows.h>

#include <optional>
#include <string>

namespace hostsim {

// The file chosen in the open dialog; nothing when cancelled.
std::optional<std::wstring> AskFileToOpen(HWND owner);
// The file chosen in the save dialog, which starts at current; nothing when cancelled.
std::optional<std::wstring> AskFileToSave(HWND owner, const std::wstring& current);
// IDYES, IDNO or IDCANCEL: whether to save the changes first.
int AskToSaveChanges(HWND owner);
// text on its own line, then what went wrong with it ("...に保存できませんでした。" and the like).
void ShowError(HWND owner, const std::wstring& text, const wchar_t* failure);

}  // namespace hostsim
