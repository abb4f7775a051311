#pragma once
// Two instances started at the same instant, made to meet exactly where they race: a program is
// run with this thread as its debugger, stopped on entry to CreateMutexW for one name, and that
// mutex is created here first, as the instance that won the race would have done. Then the
// program goes on without a debugger.

#include <windows.h>

#include <string>

#include "toolkit/Handles.h"

namespace startuptest {

class MutexRace {
public:
    // Starts exe with arguments in workDir under this thread's debugging. True when the program
    // reached CreateMutexW for mutexName within timeoutMs and this side created the mutex first;
    // the program has been let go either way.
    bool Run(const std::string& exe, const std::string& arguments, const std::string& workDir,
             const std::wstring& mutexName, DWORD timeoutMs);

    HANDLE Process() const noexcept { return process_.Get(); }
    DWORD ProcessId() const noexcept { return processId_; }
    // Ends the program if it still runs.
    ~MutexRace();

private:
    bool Arm();
    bool OnBreakpoint(DWORD threadId, const std::wstring& mutexName, bool& rearm);
    void Rearm();

    toolkit::KernelHandle process_;
    DWORD processId_ = 0;
    BYTE* target_ = nullptr;  // CreateMutexW in the program, at the same address as in this process
    BYTE original_ = 0;
    bool armed_ = false;
    toolkit::KernelHandle won_;  // the mutex taken first
};

}  // namespace startuptest
