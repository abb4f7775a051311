#include "tools/hostsim/HostSimLaunch.h"

#include "tools/hostsim/HostSimDialogs.h"
#include "tools/hostsim/HostSimFiles.h"
#include "tools/hostsim/HostSimProtocol.h"
#include "toolkit/Handles.h"

namespace hostsim {

void StartCompanion(HWND main, const std::wstring& exe, bool withHandle) {
    const std::wstring path = exe.empty() ? FolderOf(ModulePath()) + L"Corvane.exe" : FullPath(exe);
    std::wstring commandLine = L"\"" + path + L"\"";
    if (withHandle) commandLine += L" /w=" + std::to_wstring(Handle32(main));
    const std::wstring folder = FolderOf(path);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        ShowError(main, path, L"を起動できませんでした。");
        return;
    }
    const toolkit::KernelHandle thread(process.hThread);
    const toolkit::KernelHandle started(process.hProcess);
}

}  // namespace hostsim
