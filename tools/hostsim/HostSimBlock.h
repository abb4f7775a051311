#pragma once
// The text the companion passes in through the shared block "Kestrix_Map_<main window>".

#include <windows.h>

#include <string>

namespace hostsim {

struct Block {
    enum class State { Read, NoMapping, Refused } state = State::NoMapping;
    std::string bytes;  // every byte read, the terminating zero included
};

// Reads size bytes from the block of the main window, never past the view, and only when the last
// byte is the terminating zero the sender promises (Refused otherwise).
Block ReadSharedBlock(HWND main, LPARAM size);

}  // namespace hostsim
