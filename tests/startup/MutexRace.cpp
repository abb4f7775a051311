#include "tests/startup/MutexRace.h"

#include <chrono>
#include <cstring>

namespace startuptest {

namespace {

constexpr BYTE kBreakpoint = 0xCC;
constexpr DWORD kTrapFlag = 0x100;

std::wstring ReadString(HANDLE process, const void* at) {
    std::wstring text;
    wchar_t c = 0;
    SIZE_T read = 0;
    for (auto* p = static_cast<const wchar_t*>(at); text.size() < 512; ++p) {
        if (!::ReadProcessMemory(process, p, &c, sizeof c, &read) || read != sizeof c || c == L'\0') break;
        text.push_back(c);
    }
    return text;
}

}  // namespace

MutexRace::~MutexRace() {
    if (process_ && ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(process_.Get(), 99);
        ::WaitForSingleObject(process_.Get(), 5000);
    }
}

// System libraries sit at the same address in every process of a session; checked by comparing
// the function's first bytes.
bool MutexRace::Arm() {
    auto* own = reinterpret_cast<BYTE*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "CreateMutexW"));
    BYTE theirs[16] = {};
    SIZE_T n = 0;
    if (!own || !::ReadProcessMemory(process_.Get(), own, theirs, sizeof theirs, &n) || n != sizeof theirs ||
        std::memcmp(own, theirs, sizeof theirs) != 0)
        return false;
    target_ = own;
    original_ = theirs[0];
    Rearm();
    return armed_ = true;
}

void MutexRace::Rearm() {
    ::WriteProcessMemory(process_.Get(), target_, &kBreakpoint, 1, nullptr);
    ::FlushInstructionCache(process_.Get(), target_, 1);
}

// Takes the mutex first when the call is for mutexName; otherwise steps over the call's first
// instruction (rearm: put the breakpoint back after it).
bool MutexRace::OnBreakpoint(DWORD threadId, const std::wstring& mutexName, bool& rearm) {
    const toolkit::KernelHandle thread(::OpenThread(THREAD_GET_CONTEXT | THREAD_SET_CONTEXT, FALSE, threadId));
    CONTEXT context{};
    context.ContextFlags = CONTEXT_CONTROL | CONTEXT_INTEGER;
    if (!thread || !::GetThreadContext(thread.Get(), &context)) return false;
#if defined(_WIN64)
    const void* name = reinterpret_cast<const void*>(context.R8);
    context.Rip = reinterpret_cast<DWORD64>(target_);
#else
    DWORD nameAddress = 0;
    ::ReadProcessMemory(process_.Get(), reinterpret_cast<const void*>(context.Esp + 12), &nameAddress, 4, nullptr);
    const void* name = reinterpret_cast<const void*>(static_cast<ULONG_PTR>(nameAddress));
    context.Eip = reinterpret_cast<DWORD>(target_);
#endif
    ::WriteProcessMemory(process_.Get(), target_, &original_, 1, nullptr);
    ::FlushInstructionCache(process_.Get(), target_, 1);
    const bool ours = name && ReadString(process_.Get(), name) == mutexName;
    if (ours) {
        won_.Reset(::CreateMutexW(nullptr, FALSE, mutexName.c_str()));
    } else {
        context.EFlags |= kTrapFlag;
        rearm = true;
    }
    ::SetThreadContext(thread.Get(), &context);
    return ours && won_;
}

bool MutexRace::Run(const std::string& exe, const std::string& arguments, const std::string& workDir,
                    const std::wstring& mutexName, DWORD timeoutMs) {
    std::string commandLine = "\"" + exe + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS, nullptr,
                          workDir.c_str(), &startup, &info))
        return false;
    ::CloseHandle(info.hThread);
    process_.Reset(info.hProcess);
    processId_ = info.dwProcessId;

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    bool won = false, rearm = false, gone = false;
    while (!won && !gone && std::chrono::steady_clock::now() < deadline) {
        DEBUG_EVENT event{};
        if (!::WaitForDebugEvent(&event, 100)) continue;
        DWORD status = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
            case CREATE_PROCESS_DEBUG_EVENT:
                if (event.u.CreateProcessInfo.hFile) ::CloseHandle(event.u.CreateProcessInfo.hFile);
                break;
            case LOAD_DLL_DEBUG_EVENT:
                if (event.u.LoadDll.hFile) ::CloseHandle(event.u.LoadDll.hFile);
                break;
            case EXIT_PROCESS_DEBUG_EVENT:
                gone = true;
                break;
            case EXCEPTION_DEBUG_EVENT: {
                const EXCEPTION_RECORD& record = event.u.Exception.ExceptionRecord;
                if (record.ExceptionCode == EXCEPTION_BREAKPOINT && armed_ && record.ExceptionAddress == target_) {
                    won = OnBreakpoint(event.dwThreadId, mutexName, rearm);
                } else if (record.ExceptionCode == EXCEPTION_SINGLE_STEP && rearm) {
                    Rearm();
                    rearm = false;
                } else if (record.ExceptionCode != EXCEPTION_BREAKPOINT) {
                    status = DBG_EXCEPTION_NOT_HANDLED;  // the program's own exceptions stay its own
                }
                break;
            }
            default:
                break;
        }
        if (!armed_ && !gone) Arm();
        ::ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
    }
    if (!gone) {
        if (armed_ && !won) {
            ::WriteProcessMemory(process_.Get(), target_, &original_, 1, nullptr);
            ::FlushInstructionCache(process_.Get(), target_, 1);
        }
        ::DebugSetProcessKillOnExit(FALSE);
        ::DebugActiveProcessStop(processId_);
    }
    return won;
}

}  // namespace startuptest
