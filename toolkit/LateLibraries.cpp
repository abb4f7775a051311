#include "toolkit/LateLibraries.h"

#include <windows.h>
#include <delayimp.h>

#include <string>

#include "toolkit/Error.h"
#include "toolkit/Text.h"

namespace toolkit {

namespace {

// The libraries that cmake/DelayImports.cmake links for loading at their first call.
constexpr const wchar_t* kLateLibraries[] = {L"advapi32.dll", L"ole32.dll", L"oleaut32.dll", L"shell32.dll"};

std::wstring CannotLoad(const std::wstring& library) { return library + L" を読み込めません"; }

// The delay-load helper calls this when a late library cannot be loaded at a call that comes
// before LoadLateLibraries, or when the system's library lacks a function. Left alone, the helper
// would raise a structured exception that nothing catches; the call cannot go on, so the program
// reports the error as one of its start and ends.
FARPROC WINAPI ReportLateLibraryFailure(unsigned notification, PDelayLoadInfo info) {
    const std::wstring library = AnsiToWide(info->szDll);
    std::wstring message = CannotLoad(library);
    if (notification == dliFailGetProc)
        message = library + L" に " +
                  (info->dlp.fImportByName ? AnsiToWide(info->dlp.szProcName)
                                           : L"#" + std::to_wstring(info->dlp.dwOrdinal)) +
                  L" がありません";
    ReportFatalError(Error(message), L"ライブラリの読み込み");
}

}  // namespace

void LoadLateLibraries() {
    // Kept loaded for the life of the process, as the delay-load helper keeps its own.
    for (const wchar_t* library : kLateLibraries)
        if (!::LoadLibraryW(library)) throw Error(CannotLoad(library));
}

}  // namespace toolkit

// The delay-load helper's failure hook, set before any code runs.
PfnDliHook __pfnDliFailureHook2 = &toolkit::ReportLateLibraryFailure;
