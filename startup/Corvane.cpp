// The program body: decides which host window this instance serves, keeps one instance per host
// window, prepares the application and runs the message loop.

#include <windows.h>

#include <exception>
#include <memory>
#include <string>

#include "browser/StandardsMode.h"
#include "browser/Unit2.h"
#include "hostlink/Kestrix.h"
#include "menus/core/LaunchNames.h"
#include "startup/core/CommandLine.h"
#include "startup/core/InstanceName.h"
#include "toolbar/Unit1.h"
#include "toolkit/Application.h"
#include "toolkit/Error.h"
#include "toolkit/Handles.h"
#include "toolkit/Module.h"

namespace startup {
namespace {

using hostlink::HostWindow;

// Both wide, as the system holds the executable's name: see InstanceNameFor.
std::wstring ExeBaseName;
std::wstring InstanceName;

std::string AnsiLowerCase(std::string_view text) {
    std::string lower(text);
    if (!lower.empty()) ::CharLowerBuffA(lower.data(), static_cast<DWORD>(lower.size()));
    return lower;
}

std::uint32_t FindParamValue(std::string_view prefix) {
    return FindParamValueIn(SplitCommandLine(::GetCommandLineA()), prefix, &AnsiLowerCase);
}

void RefuseWithoutHost() {
    const std::wstring text =
        L"Kestrixの[ツール]から実行して下さい。\r\n\r\n\r\n"
        L"[Corvane with Kestrix] v.1.121\r\n"
        L"2025-2026\r\n"
        L"Written by the Corvane developers";
    ::MessageBoxW(nullptr, text.c_str(), ExeBaseName.c_str(), MB_ICONWARNING);
}

// True when another instance already serves this host window: found by the open, or, when two
// instances start at the same instant, by the creation, which then hands back the other one's
// mutex. Otherwise instanceMutex holds this instance's mutex.
bool AnotherInstanceServes(toolkit::KernelHandle& instanceMutex) {
    if (toolkit::KernelHandle other{::OpenMutexW(MUTEX_ALL_ACCESS, FALSE, InstanceName.c_str())}) return true;
    instanceMutex.Reset(::CreateMutexW(nullptr, FALSE, InstanceName.c_str()));
    return instanceMutex && ::GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace

int Run() {
    hostlink::InitializeHostWindow();
    // The file name without its extension (from the last full stop on), the rule of a file's caption.
    ExeBaseName = menus::CaptionForFile(toolkit::ExecutableFileNameWide());

    if (const std::uint32_t v = FindParamValue("/w="); v != 0) HostWindow = v;
    if (!hostlink::IsHostWindow(HostWindow)) {
        RefuseWithoutHost();
        return 0;
    }

    InstanceName = InstanceNameFor(ExeBaseName, HostWindow);
    // Held for the life of the process; the named mutex goes with it.
    toolkit::KernelHandle instanceMutex;
    if (AnotherInstanceServes(instanceMutex)) return 0;

    // An error that escapes the creation of a form ends the program before its loop starts.
    toolkit::Application& application = toolkit::App();
    std::unique_ptr<toolbar::TForm1> form1;
    std::unique_ptr<browser::TForm2> form2;
    try {
        application.InitializeWindow();
    } catch (const std::exception& error) {
        toolkit::ReportFatalError(error, L"アプリケーションの初期化");
    }
    try {
        form1 = std::make_unique<toolbar::TForm1>();
        toolbar::Form1 = form1.get();
    } catch (const std::exception& error) {
        toolkit::ReportFatalError(error, L"TForm1 の作成");
    }
    // Only now, with the toolbar planted, what planting does not need: the application window's
    // icon and the libraries, COM's among them. The editor gets its toolbar without waiting for them.
    try {
        application.InitializeLate();
    } catch (const std::exception& error) {
        toolkit::ReportFatalError(error, L"アプリケーションの初期化");
    }
    browser::AskForStandardsMode();
    try {
        form2 = std::make_unique<browser::TForm2>();
        browser::Form2 = form2.get();
    } catch (const std::exception& error) {
        toolkit::ReportFatalError(error, L"TForm2 の作成");
    }
    return application.Run();
}

}  // namespace startup

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return startup::Run(); }
