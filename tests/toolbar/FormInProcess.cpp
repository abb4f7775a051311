// The main form in this process, serving a stand-in host, for what cannot be seen from outside:
// the application's message filter, and a preview after the host has gone away. The program's
// folder is this test's own (Tag.ini and Buffer.htm live beside the executable).

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "tests/testbed/HostSim.h"
#include "tests/testbed/ScriptedBrowser.h"
#include "tests/testbed/TestSupport.h"
#include "browser/Unit2.h"
#include "hostlink/Kestrix.h"
#include "toolbar/Unit1.h"
#include "toolkit/Application.h"

namespace toolbar {

// The main form's parts that this test reaches: the preview button's handler.
struct TForm1Parts {
    static void PreviewClick(TForm1& form) { form.Btn_KestrixtoBrouserClick(); }
};

}  // namespace toolbar

namespace {

using namespace testsupport;
using browser::Form2;
using browser::TForm2;
using toolbar::Form1;
using toolbar::TForm1;

constexpr UINT kFiltered = 0x0900;
constexpr UINT kNotFiltered = 0x0901;
constexpr UINT kStop = WM_APP + 1;

std::string ExecutableFolder() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string full = path;
    return full.substr(0, full.find_last_of('\\') + 1);
}

// A window that counts what is dispatched to it and ends the loop on kStop.
struct Probe {
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == kFiltered) ++filtered;
        if (message == kNotFiltered) ++notFiltered;
        if (message == kStop) toolkit::App().Terminate();
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    static inline int filtered = 0;
    static inline int notFiltered = 0;
};

class FormInProcess : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = ExecutableFolder();
        WriteFileBytes(folder_ + "Tag.ini", "%Head\r\n&<h1></h1>\r\n");
        ::DeleteFileA((folder_ + "Buffer.htm").c_str());
        host_ = HostSim::Start();
        ASSERT_NE(host_.Main(), nullptr);
        hostlink::HostWindow = host_.Handle32();
        toolkit::App().Initialize();
        form1_ = std::make_unique<TForm1>();
        Form1 = form1_.get();
        form2_ = std::make_unique<TForm2>();
        Form2 = form2_.get();
    }
    void TearDown() override {
        Form2 = nullptr;
        form2_.reset();
        Form1 = nullptr;
        form1_.reset();
        host_ = HostSim();
        ::DeleteFileA((folder_ + "Tag.ini").c_str());
        ::DeleteFileA((folder_ + "Buffer.htm").c_str());
    }

    ScriptedBrowserRegistration browser_;
    std::string folder_;
    HostSim host_;
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<TForm2> form2_;
};

TEST_F(FormInProcess, MessagesNumbered0x0900AreTakenFromTheQueueButNeverDispatched) {
    ASSERT_NE(FindPlantedToolbar(host_, ::GetCurrentProcessId()), nullptr) << "the form's set-up did not finish";
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &Probe::Procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"FilterProbe";
    ::RegisterClassW(&windowClass);
    const HWND probe = ::CreateWindowExW(0, L"FilterProbe", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                         windowClass.hInstance, nullptr);
    ASSERT_NE(probe, nullptr);

    ::PostMessageW(probe, kFiltered, 0, 0);
    ::PostMessageW(probe, kNotFiltered, 0, 0);
    ::PostMessageW(probe, kFiltered, 1, 2);
    ::PostMessageW(probe, kStop, 0, 0);
    toolkit::App().Run();

    EXPECT_EQ(Probe::filtered, 0);
    EXPECT_EQ(Probe::notFiltered, 1);
    // Taken from the queue all the same (the quit message that ended the loop may still wait there).
    MSG left{};
    while (::PeekMessageW(&left, probe, 0, 0, PM_REMOVE)) EXPECT_NE(left.message, kFiltered) << "left in the queue";
    ::DestroyWindow(probe);
}

TEST_F(FormInProcess, PreviewForAHostThatHasGoneWritesOnlyALineEnd) {
    ASSERT_TRUE(host_.Close());
    // The warning is answered from another thread while this one sits in the box's loop, unless
    // the watchdog, which finds the host gone, ends the box first.
    std::atomic<bool> done = false;
    std::thread answer([&] {
        while (!done) {
            for (HWND box : TopLevelWindowsOf(::GetCurrentProcessId(), "#32770"))
                if (::IsWindowVisible(box)) PressMessageBoxButton(box);
            ::Sleep(20);
        }
    });
    toolbar::TForm1Parts::PreviewClick(*Form1);
    done = true;
    answer.join();

    EXPECT_EQ(ReadFileBytes(folder_ + "Buffer.htm"), "\r\n");
    EXPECT_TRUE(::IsWindowVisible(Form2->Handle()));
    EXPECT_EQ(browser_.WaitForNavigatedUrls(1, 3000), std::vector<std::string>{folder_ + "Buffer.htm"});
}

}  // namespace
