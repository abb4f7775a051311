#include "tests/testbed/TestSupport.h"

#include "tests/testbed/Failure.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace testsupport {

std::string WinePath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string CorvaneExe() { return WinePath(CORVANE_EXE_UNIX); }
std::string HostsimExe() { return WinePath(HOSTSIM_EXE_UNIX); }
std::string TestBinDir() { return WinePath(CORVANE_TEST_BIN_UNIX) + "\\"; }

namespace {

// Wine now and then fails a start with an internal error while another process is ending:
// a start is tried three times before the test fails on it. Gives the error of the last try, 0 on success.
DWORD CreateWithRetries(const std::function<BOOL(PROCESS_INFORMATION&)>& create, PROCESS_INFORMATION& info) {
    DWORD error = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (create(info)) return 0;
        error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) break;
        PumpFor(300);
    }
    return error;
}

}  // namespace

Process Process::Start(const std::string& exe, const std::string& arguments, const std::string& workDir) {
    std::string commandLine = "\"" + exe + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const DWORD error = CreateWithRetries(
        [&](PROCESS_INFORMATION& created) {
            return ::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                    workDir.empty() ? nullptr : workDir.c_str(), &startup, &created);
        },
        info);
    if (error != 0) {
        Fail() << "cannot start " << exe << ", error " << error;
        return {};
    }
    return Adopt(info);
}

Process Process::Start(const std::wstring& exe, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const DWORD error = CreateWithRetries(
        [&](PROCESS_INFORMATION& created) {
            return ::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                    &startup, &created);
        },
        info);
    if (error != 0) {
        Fail() << "cannot start " << WideToUtf8(exe) << ", error " << error;
        return {};
    }
    return Adopt(info);
}

Process Process::Adopt(const PROCESS_INFORMATION& info) {
    ::CloseHandle(info.hThread);
    Process process;
    process.process_ = info.hProcess;
    process.id_ = info.dwProcessId;
    return process;
}

Process::Process(Process&& other) noexcept : process_(other.process_), id_(other.id_) {
    other.process_ = nullptr;
    other.id_ = 0;
}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        Kill();
        process_ = other.process_;
        id_ = other.id_;
        other.process_ = nullptr;
        other.id_ = 0;
    }
    return *this;
}

Process::~Process() { Kill(); }

bool Process::Running() const { return process_ && ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

bool Process::WaitExit(DWORD timeoutMs, DWORD* exitCode) const {
    if (!process_) return false;
    const DWORD start = ::GetTickCount();
    // Pump while waiting: the child may send this thread's windows messages.
    while (::MsgWaitForMultipleObjects(1, &process_, FALSE, 10, QS_ALLINPUT) != WAIT_OBJECT_0) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (::GetTickCount() - start > timeoutMs) return false;
    }
    if (exitCode) ::GetExitCodeProcess(process_, exitCode);
    return true;
}

void Process::Kill() {
    if (!process_) return;
    if (Running()) {
        ::TerminateProcess(process_, 99);
        ::WaitForSingleObject(process_, 5000);
    }
    ::CloseHandle(process_);
    process_ = nullptr;
}

void PumpFor(DWORD ms) {
    const DWORD start = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (::GetTickCount() - start < ms);
}

bool WaitUntil(const std::function<bool()>& cond, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    while (!cond()) {
        if (::GetTickCount() - start > timeoutMs) return false;
        PumpFor(10);
    }
    return true;
}

HWND WaitForWindow(const std::function<HWND()>& find, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = find()) != nullptr; }, timeoutMs);
    return found;
}

namespace {
struct EnumState {
    DWORD processId;
    const char* className;
    std::vector<HWND>* windows;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
    auto* state = reinterpret_cast<EnumState*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == state->processId && (!state->className || ClassNameOf(window) == state->className))
        state->windows->push_back(window);
    return TRUE;
}
}  // namespace

std::vector<HWND> TopLevelWindowsOf(DWORD processId, const char* className) {
    std::vector<HWND> windows;
    EnumState state{processId, className, &windows};
    ::EnumWindows(&CollectTopLevel, reinterpret_cast<LPARAM>(&state));
    return windows;
}

HWND WaitForMessageBox(DWORD processId, DWORD timeoutMs) {
    return WaitForWindow(
        [&]() -> HWND {
            for (HWND w : TopLevelWindowsOf(processId, "#32770"))
                if (::IsWindowVisible(w)) return w;
            return nullptr;
        },
        timeoutMs);
}

namespace {
void SendMouse(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    ::SendInput(1, &input, sizeof input);
}

void SendKey(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &input, sizeof input);
}
}  // namespace

void ClickAt(POINT screen) {
    ::SetCursorPos(screen.x, screen.y);
    PumpFor(50);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    PumpFor(50);
    SendMouse(MOUSEEVENTF_LEFTUP);
    PumpFor(150);
}

void PressKey(WORD virtualKey, bool alt) {
    if (alt) SendKey(VK_MENU, false);
    SendKey(virtualKey, false);
    SendKey(virtualKey, true);
    if (alt) SendKey(VK_MENU, true);
    PumpFor(150);
}

std::vector<HWND> VisibleWindowsOf(DWORD processId, const char* className) {
    std::vector<HWND> visible;
    for (HWND window : TopLevelWindowsOf(processId, className))
        if (::IsWindowVisible(window)) visible.push_back(window);
    return visible;
}

std::vector<HWND> WaitForOpenMenus(DWORD processId, size_t count, DWORD timeoutMs) {
    std::vector<HWND> menus;
    WaitUntil([&] { return (menus = VisibleWindowsOf(processId, "#32768")).size() >= count; }, timeoutMs);
    PumpFor(100);
    std::sort(menus.begin(), menus.end(), [](HWND a, HWND b) {
        RECT ra{}, rb{};
        ::GetWindowRect(a, &ra);
        ::GetWindowRect(b, &rb);
        return ra.left < rb.left;
    });
    return menus;
}

std::string MessageBoxText(HWND box) {
    // The text is the static control with id 0xFFFF.
    const HWND text = ::GetDlgItem(box, 0xFFFF);
    return text ? WindowCaption(text) : std::string();
}

std::string WindowCaption(HWND window) {
    wchar_t buffer[4096] = {};
    ::SendMessageW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer));
    return WideToUtf8(buffer);
}

std::string WindowTextAnsi(HWND window) {
    std::string buffer(70000, '\0');
    const LRESULT n = ::SendMessageA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    buffer.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return buffer;
}

std::string ClassNameOf(HWND window) {
    char name[256] = {};
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

void PressMessageBoxButton(HWND box, int id) {
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(box, id)));
}

std::string WideToUtf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring Utf8ToWide(std::string_view text) {
    if (text.empty()) return {};
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::string Utf8ToAnsi(std::string_view text) {
    const std::wstring wide = Utf8ToWide(text);
    if (wide.empty()) return {};
    const int n = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((dir + "*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = dir + name;
            ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path + "\\");
            else
                ::DeleteFileA(path.c_str());
        } while (::FindNextFileA(find, &data));
        ::FindClose(find);
    }
    ::RemoveDirectoryA(dir.c_str());
}

std::string ScratchDir(const std::string& name) {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    std::string dir = std::string(temp) + "corvane-tests\\";
    ::CreateDirectoryA(dir.c_str(), nullptr);
    dir += name + "\\";
    RemoveTree(dir);
    ::CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

void WriteFileBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) Fail() << "cannot write " << path;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool WriteFileKeepingTime(const std::string& path, std::string_view bytes) {
    // Opened without truncating, which would set the time before it is read.
    const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    FILETIME written{};
    DWORD count = 0;
    const bool done = ::GetFileTime(file, nullptr, nullptr, &written) &&
                      ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr) &&
                      count == bytes.size() && ::SetEndOfFile(file) && ::SetFileTime(file, nullptr, nullptr, &written);
    ::CloseHandle(file);
    return done;
}

bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void CopyFileTo(const std::string& from, const std::string& to) {
    if (!::CopyFileA(from.c_str(), to.c_str(), FALSE)) Fail() << "cannot copy " << from << " to " << to;
}

std::string StageCorvane(const std::string& dir, const char* tagIni, const std::string& exeName) {
    const std::string exe = dir + exeName;
    CopyFileTo(CorvaneExe(), exe);
    if (tagIni) WriteFileBytes(dir + "Tag.ini", tagIni);
    return exe;
}

}  // namespace testsupport
