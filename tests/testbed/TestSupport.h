#pragma once
// What the Windows tests share: paths of the programs under test, starting and ending processes,
// waiting for windows, files and folders in a scratch area, and reading other processes' windows.

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

class HostSim;

// "/a/b" as Wine sees it: "Z:\a\b".
std::string WinePath(const std::string& unixPath);
std::string CorvaneExe();   // the built Corvane.exe
std::string HostsimExe();   // the stand-in host editor
std::string TestBinDir();   // the folder of the test programs (Windows path)

// A child process, ended (and waited for) when the object goes, unless it has already exited.
class Process {
public:
    static Process Start(const std::string& exe, const std::string& arguments, const std::string& workDir = {});
    // The same through the wide API, for a program whose path the ANSI code page cannot name.
    static Process Start(const std::wstring& exe, const std::wstring& arguments);
    Process() = default;
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    DWORD Id() const noexcept { return id_; }
    HANDLE Handle() const noexcept { return process_; }
    bool Running() const;
    // True when the process has exited within the time; exitCode receives its code.
    bool WaitExit(DWORD timeoutMs, DWORD* exitCode = nullptr) const;
    void Kill();

private:
    static Process Adopt(const PROCESS_INFORMATION& info);
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// Polls cond every 10 ms, pumping this thread's messages, until it holds or the time is up.
bool WaitUntil(const std::function<bool()>& cond, DWORD timeoutMs);
// Polls find until it gives a window or the time is up; null on time-out.
HWND WaitForWindow(const std::function<HWND()>& find, DWORD timeoutMs);
// Pumps this thread's messages for a while.
void PumpFor(DWORD ms);

// Top-level windows of a process, optionally of one class.
std::vector<HWND> TopLevelWindowsOf(DWORD processId, const char* className = nullptr);
// The first visible message box (#32770) of a process, waiting up to timeoutMs; null when none.
HWND WaitForMessageBox(DWORD processId, DWORD timeoutMs);
// A message box's text (its static control) and caption, as UTF-8.
std::string MessageBoxText(HWND box);
std::string WindowCaption(HWND window);        // UTF-8
std::string WindowTextAnsi(HWND window);      // the window text's ANSI bytes
std::string ClassNameOf(HWND window);
// Presses a message box's button (IDOK by default).
void PressMessageBoxButton(HWND box, int id = IDOK);

// Real input, as a person gives it, delivered to whatever window is under the mouse or has the
// keyboard focus; each pumps this thread's messages for a moment afterwards.
void ClickAt(POINT screen);
void PressKey(WORD virtualKey, bool alt = false);
// The visible top-level windows of a process of one class ("#32768" for open menus).
std::vector<HWND> VisibleWindowsOf(DWORD processId, const char* className);
// Waits until a process has count menu windows open; gives those open, left to right (a
// submenu opens to the right of its parent), which may be fewer on time-out.
std::vector<HWND> WaitForOpenMenus(DWORD processId, size_t count, DWORD timeoutMs = 5000);

// Text conversions for checks.
std::string WideToUtf8(std::wstring_view text);
std::wstring Utf8ToWide(std::string_view text);
std::string Utf8ToAnsi(std::string_view text);  // through the ANSI code page (932 here)

// A fresh, empty scratch folder under the temporary folder (Windows path, trailing "\").
std::string ScratchDir(const std::string& name);
void WriteFileBytes(const std::string& path, std::string_view bytes);
std::string ReadFileBytes(const std::string& path);  // empty when missing
// Writes bytes over the file at path and gives it back the last-write time it had, as a save on
// a coarse clock, or a copy that keeps the time, does. False when that cannot be done.
bool WriteFileKeepingTime(const std::string& path, std::string_view bytes);
bool FileExists(const std::string& path);
void CopyFileTo(const std::string& from, const std::string& to);

// Copies Corvane.exe (under exeName) into dir, with Tag.ini holding tagIni unless tagIni is null.
// Returns the copy's full path.
std::string StageCorvane(const std::string& dir, const char* tagIni, const std::string& exeName = "Corvane.exe");

// Removes a folder and everything in it (Windows path, trailing "\").
void RemoveTree(const std::string& dir);

// How Corvane learns its host: the host's window in front (the normal start from the host's Tools
// menu), or "/w=" plus the host's handle on the command line.
enum class CorvaneStart { Foreground, WithHandle };
// Starts the staged Corvane exe for host. Foreground first brings the host to the front and waits
// until it is the foreground window. extraArgs go after "/w=..." when given.
Process StartCorvane(const std::string& stagedExe, const HostSim& host,
                     CorvaneStart how = CorvaneStart::Foreground, const std::string& extraArgs = {});
// Corvane's toolbar planted in the host: the direct child of host.Toolbar() that belongs to the
// process corvaneProcessId; null when there is none (yet).
HWND FindPlantedToolbar(const HostSim& host, DWORD corvaneProcessId);
// Waits until FindPlantedToolbar gives a window (and, when mustBeVisible, it is visible); null on time-out.
HWND WaitForPlantedToolbar(const HostSim& host, DWORD corvaneProcessId, DWORD timeoutMs = 10000,
                           bool mustBeVisible = true);

}  // namespace testsupport
