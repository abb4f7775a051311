#pragma once
// A running stand-in host editor (hostsim.exe) seen from a test: start it with options, find its
// windows, read what it was asked through the host protocol, and change its state at once.
//
// hostsim's command line (each option "/name=value", before the positional file):
//   /layout=N          its answer to 0x8194 (default 0)
//   /ini=PATH          the settings file that TKestrixIniFilePath names (default hostsim.ini beside it)
//   /textfile=PATH     initial text: that file's bytes, as a new unsaved document
//   /filename=PATH     the TEdit's text, without loading anything
//   /modified=1        start with the modify flag set
//   /log=PATH          append one line per protocol message handled (see Messages())
//   /hidetoolbar=MS, /showtoolbar=MS, /destroytoolbar=MS   do that to TToolbar after MS milliseconds
//   /notoolbar         no TToolbar child at all
//   /corvane=PATH      the program that Tools > Corvane starts (default Corvane.exe beside hostsim)
//   /startcorvane      start it once the main window is shown and in front
//   /title=TEXT        the main window's caption
//   FILE               the rest of the command line, opened as the document when that file exists
//
// Messages a test may send to Main() (tools/hostsim/HostSimControl.h; handled before they return):
//   hostsim::kHideToolbar, kShowToolbar, kDestroyToolbar, kSetLayout (wParam = answer),
//   kBringToFront, kSetModified (wParam 0/1), kInsertAgain (the latest inserted text once more),
//   kGetInsertTime (the performance counter just after the latest insertion).
// The memo and the TEdit are ordinary windows: WM_SETTEXT and EM_SETMODIFY work on them directly,
// which is what SetText, SetFileName and SetModified below do.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/testbed/TestSupport.h"
#include "tools/hostsim/HostSimControl.h"

namespace testsupport {

// One protocol message (0x8190, 0x8192, 0x8194 or 0x819B) that hostsim's main window handled.
struct HostMessage {
    unsigned id = 0;
    unsigned long long wParam = 0;
    long long lParam = 0;
    // 0x819B only: every byte read from the shared block (lParam bytes, its terminating zero
    // included). Empty when the block could not be opened or its size was refused.
    std::string block;
    bool blockRead = false;  // 0x819B only: the block was opened and read
};

class HostSim {
public:
    struct Options {
        int layout = 0;
        std::string ini;          // settings file path; empty: "hostsim.ini" in this instance's scratch folder
        std::string iniText;      // when not empty, written to the settings file before the start
        std::string text;         // initial text (ANSI bytes), written to a file and passed via /textfile
        bool hasText = false;     // pass text even when it is empty
        std::string fileName;     // the TEdit's text (/filename), nothing loaded
        bool modified = false;
        int hideToolbarAfterMs = -1, showToolbarAfterMs = -1, destroyToolbarAfterMs = -1;
        bool noToolbar = false;
        std::string openFile;     // positional argument: a document to open
        std::string corvane;      // what its Tools menu starts
        bool startCorvane = false;
        std::string extraArgs;    // appended before the positional file
    };

    // Starts hostsim, waits for its main window, brings it to the foreground and waits until it is
    // the foreground window. Adds a test failure (and gives an object with null windows) on failure.
    static HostSim Start(const Options& options);
    static HostSim Start() { return Start(Options{}); }

    HostSim() = default;
    HostSim(HostSim&& other) noexcept;
    HostSim& operator=(HostSim&& other) noexcept;
    HostSim(const HostSim&) = delete;
    HostSim& operator=(const HostSim&) = delete;
    ~HostSim();  // ends hostsim if it is still running and removes its scratch folder

    HWND Main() const noexcept { return main_; }
    HWND Toolbar() const;       // the current TToolbar child; null when none
    HWND Memo() const;          // the edit control 0x8192 names
    HWND FileNameEdit() const;  // the TEdit child
    std::uint32_t Handle32() const noexcept { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(main_)); }
    Process& Proc() noexcept { return process_; }
    const Process& Proc() const noexcept { return process_; }
    const std::string& ScratchFolder() const noexcept { return dir_; }  // Windows path, trailing "\"
    const std::string& IniPath() const noexcept { return ini_; }
    const std::string& LogPath() const noexcept { return log_; }

    // Protocol messages handled so far, oldest first, parsed from hostsim's log.
    std::vector<HostMessage> Messages() const;
    std::vector<HostMessage> MessagesWithId(unsigned id) const;
    std::string Text() const;      // the memo's ANSI bytes
    bool Modified() const;         // the memo's modify flag
    std::string FileName() const;  // the TEdit's ANSI text

    void BringToFront() const;  // and waits (bounded) until it is the foreground window
    void HideToolbar() const;
    void ShowToolbar() const;
    void DestroyToolbar() const;
    void SetLayout(int answer) const;
    void SetText(const std::string& ansi) const;  // replaces the text; clears the modify flag
    void SetModified(bool modified) const;
    void SetFileName(const std::string& ansi) const;
    // WM_CLOSE, then waits for the process to end; true when it ended within the time.
    bool Close(DWORD timeoutMs = 5000);

private:
    Process process_;
    HWND main_ = nullptr;
    std::string dir_, ini_, log_;
};

}  // namespace testsupport
