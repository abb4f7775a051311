#pragma once
// Starting the companion program from the editor's Tools menu.

#include <windows.h>

#include <string>

namespace hostsim {

// Starts exe (the /corvane= path; empty: Corvane.exe beside this editor) in its own folder. The
// normal start passes no arguments while main is in front; withHandle adds "/w=" and main's
// handle. A failure is shown in an error box owned by main.
void StartCompanion(HWND main, const std::wstring& exe, bool withHandle);

}  // namespace hostsim
