// A stand-in program that a test registers as the shell's handler of a file type: it writes its
// command line, its working folder and its process id to the file that CORVANE_LAUNCH_RECORD
// names, and ends.

#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char record[MAX_PATH] = {};
    if (!::GetEnvironmentVariableA("CORVANE_LAUNCH_RECORD", record, MAX_PATH)) return 1;
    char folder[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, folder);
    const std::string text = std::string(::GetCommandLineA()) + "\n" + folder + "\n" +
                             std::to_string(::GetCurrentProcessId()) + "\n";
    // Written aside and moved into place, so that a reader never sees half of it.
    const std::string partial = std::string(record) + ".partial";
    const HANDLE file = ::CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 2;
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
    return ::MoveFileExA(partial.c_str(), record, MOVEFILE_REPLACE_EXISTING) ? 0 : 3;
}
