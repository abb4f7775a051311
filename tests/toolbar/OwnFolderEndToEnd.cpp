// Corvane installed in a folder whose name the ANSI code page cannot hold: it still finds its
// Tag.ini at the start and writes Buffer.htm beside itself for the preview of an unsaved document.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/testbed/HostSim.h"
#include "tests/testbed/ScriptedBrowser.h"
#include "tests/testbed/TestSupport.h"

namespace {

using namespace testsupport;

constexpr int kPreviewButtonCentreX = 8 + 23 / 2;  // the first button, after an 8-pixel separator

// A program started through the wide API (the ANSI one cannot name the folder), ended with the object.
class WideStartedProgram {
public:
    WideStartedProgram(const std::wstring& exe, const std::wstring& arguments) {
        std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                              &info))
            return;
        ::CloseHandle(info.hThread);
        process_ = info.hProcess;
        id_ = info.dwProcessId;
    }
    ~WideStartedProgram() {
        if (!process_) return;
        if (::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) ::TerminateProcess(process_, 1);
        ::WaitForSingleObject(process_, 5000);
        ::CloseHandle(process_);
    }
    WideStartedProgram(const WideStartedProgram&) = delete;
    WideStartedProgram& operator=(const WideStartedProgram&) = delete;
    DWORD Id() const { return id_; }

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// The staged folder, emptied before and after the test (the ANSI scratch removal cannot name it).
class StagedFolder {
public:
    StagedFolder() : scratch_(ScratchDir("launch own folder")), path_(Utf8ToWide(scratch_) + L"Corvane é 한국 ¥\\") {
        Remove();
        ::CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~StagedFolder() {
        Remove();
        RemoveTree(scratch_);
    }
    StagedFolder(const StagedFolder&) = delete;
    StagedFolder& operator=(const StagedFolder&) = delete;
    const std::wstring& Path() const { return path_; }

private:
    void Remove() const {
        for (const wchar_t* name : {L"Buffer.htm", L"Tag.ini"}) ::DeleteFileW((path_ + name).c_str());
        // The executable stays locked for a moment after its process has ended.
        WaitUntil(
            [&] {
                return ::DeleteFileW((path_ + L"Corvane.exe").c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND ||
                       ::GetLastError() == ERROR_PATH_NOT_FOUND;
            },
            5000);
        ::RemoveDirectoryW(path_.c_str());
    }
    std::string scratch_;
    std::wstring path_;
};

TEST(OwnFolderEndToEnd, TagIniAndBufferHtmAreFoundBesideAnExecutableInAWideNamedFolder) {
    const StagedFolder staged;
    const std::wstring& folder = staged.Path();
    const std::wstring exe = folder + L"Corvane.exe";
    ASSERT_TRUE(::CopyFileW(Utf8ToWide(CorvaneExe()).c_str(), exe.c_str(), FALSE));
    const std::wstring tagIni = folder + L"Tag.ini";
    const std::wstring buffer = folder + L"Buffer.htm";
    {
        const HANDLE file = ::CreateFileW(tagIni.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        ::WriteFile(file, "%Head\r\n&<b>\r\n", 13, &written, nullptr);
        ::CloseHandle(file);
    }

    const ScriptedBrowserRegistration browser;
    {
        HostSim::Options options;
        options.text = "<p>unsaved</p>";
        options.hasText = true;
        HostSim host = HostSim::Start(options);
        ASSERT_NE(host.Main(), nullptr);
        const WideStartedProgram corvane(exe, L"/w=" + std::to_wstring(host.Handle32()));
        ASSERT_NE(corvane.Id(), 0u) << "Corvane did not start";
        const HWND planted = WaitForPlantedToolbar(host, corvane.Id());
        ASSERT_NE(planted, nullptr);
        EXPECT_EQ(WaitForMessageBox(corvane.Id(), 1500), nullptr) << "an error at the start: Tag.ini was not read";

        HWND buttons = ::FindWindowExA(planted, nullptr, "ToolbarWindow32", nullptr);
        if (!buttons) buttons = planted;
        RECT client{};
        ::GetClientRect(buttons, &client);
        POINT point{kPreviewButtonCentreX, client.bottom / 2};
        ::ClientToScreen(buttons, &point);
        ClickAt(point);
        const HWND warning = WaitForMessageBox(corvane.Id(), 5000);
        ASSERT_NE(warning, nullptr) << "no warning for the unsaved document";
        PressMessageBoxButton(warning);
        EXPECT_TRUE(WaitUntil([&] { return ::GetFileAttributesW(buffer.c_str()) != INVALID_FILE_ATTRIBUTES; }, 5000))
            << "Buffer.htm was not written beside the executable";
        const std::vector<std::string> urls = browser.WaitForNavigatedUrls(1, 5000);
        ASSERT_EQ(urls.size(), 1u);
        EXPECT_EQ(urls[0], WideToUtf8(buffer));
    }
}

}  // namespace
