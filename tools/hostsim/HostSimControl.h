#pragma once
// Messages that a test sends to the stand-in host editor's main window to change it at once.
// They are hostsim's own, not part of what the editor offers its companion program; each one is
// handled completely before SendMessage returns.

#include <windows.h>

namespace hostsim {

inline constexpr UINT kHideToolbar = WM_APP + 1;     // hide the TToolbar window
inline constexpr UINT kShowToolbar = WM_APP + 2;     // show it again
inline constexpr UINT kDestroyToolbar = WM_APP + 3;  // destroy it (with whatever it holds)
inline constexpr UINT kSetLayout = WM_APP + 4;       // wParam: the new answer to 0x8194, as a signed value
inline constexpr UINT kBringToFront = WM_APP + 5;    // hostsim activates and raises its own main window
inline constexpr UINT kSetModified = WM_APP + 6;     // wParam: 0 or 1, the editor's modify flag
// Insert at the caret, as 0x819B with mode 1 does, the text that the latest such message carried
// (nothing before the first): the editor inserting the same text by itself, without a shared block.
inline constexpr UINT kInsertAgain = WM_APP + 7;
// Result: the performance counter (QueryPerformanceCounter, the same in every process) just after
// the latest insertion at the caret, by 0x819B or kInsertAgain; 0 before the first. The full
// value in a 64-bit build; a 32-bit one gives its low 32 bits.
inline constexpr UINT kGetInsertTime = WM_APP + 8;

}  // namespace hostsim
