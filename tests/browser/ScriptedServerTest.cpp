// The scripted control served from scriptedbrowser.dll in place of the system's control: the
// registration that other tests use to see where a separate Corvane sent its browser window, and
// the browser window in a real Corvane process around it.

#include <windows.h>
#include <commctrl.h>
#include <exdisp.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include "tests/testbed/HostSim.h"
#include "tests/testbed/ScriptedBrowser.h"
#include "tests/testbed/TestSupport.h"
#include "browser/BrowserItems.h"

namespace {

using Microsoft::WRL::ComPtr;
using testsupport::ScriptedBrowserRegistration;

constexpr CLSID kWebBrowserClass = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};

class ComApartment {
public:
    ComApartment() { ::CoInitialize(nullptr); }
    ~ComApartment() { ::CoUninitialize(); }
};

std::string ServingModule() {
    ComApartment apartment;
    ComPtr<IClassFactory> factory;
    if (FAILED(::CoGetClassObject(kWebBrowserClass, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                  reinterpret_cast<void**>(factory.GetAddressOf()))))
        return {};
    HMODULE module = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         *reinterpret_cast<const char* const*>(factory.Get()), &module);
    char name[MAX_PATH] = {};
    ::GetModuleFileNameA(module, name, MAX_PATH);
    std::string lower = name;
    for (char& c : lower) c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
    return lower.substr(lower.find_last_of('\\') + 1);
}

void Navigate(IWebBrowser2& browser, const wchar_t* url) {
    VARIANT omitted;
    ::VariantInit(&omitted);
    omitted.vt = VT_ERROR;
    omitted.scode = DISP_E_PARAMNOTFOUND;
    BSTR address = ::SysAllocString(url);
    EXPECT_EQ(browser.Navigate(address, &omitted, &omitted, &omitted, &omitted), S_OK);
    ::SysFreeString(address);
}

TEST(ScriptedServer, RegistrationServesTheStandInAndLogsCallsExactly) {
    const std::string original = ServingModule();
    EXPECT_NE(original, "scriptedbrowser.dll");
    {
        ScriptedBrowserRegistration registration;
        EXPECT_EQ(ServingModule(), "scriptedbrowser.dll");
        char variable[MAX_PATH] = {};
        ::GetEnvironmentVariableA(testsupport::kScriptedBrowserLogVariable, variable, MAX_PATH);
        EXPECT_EQ(variable, registration.LogPath());

        ComApartment apartment;
        ComPtr<IWebBrowser2> browser;
        ASSERT_EQ(::CoCreateInstance(kWebBrowserClass, nullptr, CLSCTX_INPROC_SERVER, IID_IWebBrowser2,
                                     reinterpret_cast<void**>(browser.GetAddressOf())),
                  S_OK);
        Navigate(*browser.Get(), L" 100% sure\r\nnext line");
        Navigate(*browser.Get(), L"C:\\文書\\ページ.htm");
        EXPECT_EQ(browser->GoForward(), E_FAIL);  // nothing to go forward to
        testsupport::PumpFor(100);
        EXPECT_EQ(registration.ObjectsCreated(), 1);
        const std::vector<std::string> urls = {" 100% sure\r\nnext line", "C:\\文書\\ページ.htm"};
        EXPECT_EQ(registration.NavigatedUrls(), urls);
        const std::vector<std::string> calls = {"Navigate  100% sure\r\nnext line", "Navigate C:\\文書\\ページ.htm",
                                                "GoForward"};
        EXPECT_EQ(registration.Calls(), calls);
        registration.ClearLog();
        EXPECT_TRUE(registration.Calls().empty());
    }
    EXPECT_EQ(ServingModule(), original);
    EXPECT_EQ(::GetEnvironmentVariableA(testsupport::kScriptedBrowserLogVariable, nullptr, 0), 0u);
}

// Corvane's browser window, found in its own process.
struct RemoteBrowserWindow {
    HWND form = nullptr;
    HWND toolBar = nullptr;
    HWND address = nullptr;

    static RemoteBrowserWindow Find(DWORD processId) {
        RemoteBrowserWindow window;
        const std::vector<HWND> forms = testsupport::TopLevelWindowsOf(processId, "TForm2");
        if (forms.empty()) return window;
        window.form = forms.front();
        window.toolBar = ::FindWindowExW(window.form, nullptr, TOOLBARCLASSNAMEW, nullptr);
        window.address = ::FindWindowExW(window.toolBar, nullptr, L"Edit", nullptr);
        return window;
    }
    // Clicks the tool bar button id; the layout is fixed, so the button's place is known without
    // asking the other process.
    void ClickButton(int id) const {
        const LPARAM point = MAKELPARAM(browser::BrowserItemLeft(id) + browser::kBrowserButtonSize.cx / 2, 11);
        ::PostMessageW(toolBar, WM_MOUSEMOVE, 0, point);
        ::PostMessageW(toolBar, WM_LBUTTONDOWN, MK_LBUTTON, point);
        ::PostMessageW(toolBar, WM_LBUTTONUP, 0, point);
    }
    bool WaitForCaption(const std::string& caption) const {
        return testsupport::WaitUntil([&] { return testsupport::WindowCaption(form) == caption; }, 5000);
    }
    // A click needs the window in front, as the user's would be.
    void BringToFront() const {
        ::ShowWindow(form, SW_SHOW);
        ::SetForegroundWindow(form);
        testsupport::WaitUntil([&] { return ::GetForegroundWindow() == form; }, 3000);
    }
};

TEST(ScriptedServer, CorvanesBrowserWindowNavigatesThroughTheStandIn) {
    ScriptedBrowserRegistration registration;
    const std::string dir = testsupport::ScratchDir("browser-e2e");
    const std::string exe = testsupport::StageCorvane(dir, "%Tags\r\n&<b></b>\r\n");
    testsupport::HostSim host = testsupport::HostSim::Start();
    testsupport::Process corvane = testsupport::StartCorvane(exe, host, testsupport::CorvaneStart::WithHandle);

    RemoteBrowserWindow window;
    ASSERT_TRUE(testsupport::WaitUntil(
        [&] { return (window = RemoteBrowserWindow::Find(corvane.Id())).address != nullptr; }, 15000));
    EXPECT_FALSE(::IsWindowVisible(window.form));
    EXPECT_EQ(testsupport::WindowCaption(window.form), "Corvane Browser");
    EXPECT_TRUE(testsupport::WaitUntil([&] { return registration.ObjectsCreated() == 1; }, 5000));
    EXPECT_TRUE(registration.Calls().empty());

    // Back before any page, while the button is still enabled: the stand-in fails it, Corvane
    // shows its error box and goes on.
    window.BringToFront();
    window.ClickButton(browser::kBack);
    const HWND box = testsupport::WaitForMessageBox(corvane.Id(), 5000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(testsupport::MessageBoxText(box), "Scripted: no page in that direction.");
    EXPECT_EQ(testsupport::WindowCaption(box), "Corvane");
    testsupport::PressMessageBoxButton(box);
    EXPECT_TRUE(testsupport::WaitUntil([&] { return !::IsWindow(box); }, 5000));
    EXPECT_EQ(testsupport::WindowCaption(window.form), "Corvane Browser");
    registration.ClearLog();

    // Typed into the window's own address box, Enter: the stand-in loads it and reports back.
    for (const char c : std::string("kestrix.example/x y")) ::PostMessageW(window.address, WM_CHAR, c, 1);
    ::PostMessageW(window.address, WM_KEYDOWN, VK_RETURN, 1);
    ::PostMessageW(window.address, WM_CHAR, '\r', 1);
    EXPECT_EQ(registration.WaitForNavigatedUrls(1, 5000), std::vector<std::string>{"kestrix.example/x y"});
    EXPECT_TRUE(window.WaitForCaption("Corvane Browser - Scripted: kestrix.example/x y"));
    EXPECT_EQ(testsupport::WindowTextAnsi(window.address), "kestrix.example/x y");

    ::SendMessageA(window.address, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("second.example"));
    ::PostMessageW(window.address, WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_TRUE(window.WaitForCaption("Corvane Browser - Scripted: second.example"));

    // The history buttons follow the control: back, forward, then forward is disabled.
    window.ClickButton(browser::kBack);
    EXPECT_TRUE(window.WaitForCaption("Corvane Browser - Scripted: kestrix.example/x y"));
    EXPECT_EQ(testsupport::WindowTextAnsi(window.address), "kestrix.example/x y");
    window.ClickButton(browser::kForward);
    EXPECT_TRUE(window.WaitForCaption("Corvane Browser - Scripted: second.example"));
    window.ClickButton(browser::kForward);
    testsupport::PumpFor(300);
    const std::vector<std::string> calls = {"Navigate kestrix.example/x y", "Navigate second.example", "GoBack",
                                            "GoForward"};
    EXPECT_EQ(registration.Calls(), calls);

    // Closing only hides it; Corvane goes on with the page kept.
    ::PostMessageW(window.form, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(testsupport::WaitUntil([&] { return !::IsWindowVisible(window.form); }, 3000));
    testsupport::PumpFor(300);
    EXPECT_TRUE(corvane.Running());
    EXPECT_EQ(testsupport::WindowCaption(window.form), "Corvane Browser - Scripted: second.example");
}

TEST(ScriptedServer, ABrowserControlThatCannotBeCreatedEndsStartUpWithTheApplicationError) {
    ScriptedBrowserRegistration registration;
    ::SetEnvironmentVariableA("CORVANE_SCRIPTED_BROWSER_REFUSE", "1");
    const std::string dir = testsupport::ScratchDir("browser-refused");
    const std::string exe = testsupport::StageCorvane(dir, "%Tags\r\n&<b></b>\r\n");
    testsupport::HostSim host = testsupport::HostSim::Start();
    testsupport::Process corvane = testsupport::StartCorvane(exe, host, testsupport::CorvaneStart::WithHandle);
    ::SetEnvironmentVariableA("CORVANE_SCRIPTED_BROWSER_REFUSE", nullptr);

    const HWND box = testsupport::WaitForMessageBox(corvane.Id(), 15000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(testsupport::WindowCaption(box), "アプリケーション エラー");
    EXPECT_NE(testsupport::MessageBoxText(box).find("TForm2"), std::string::npos) << testsupport::MessageBoxText(box);
    EXPECT_TRUE(testsupport::TopLevelWindowsOf(corvane.Id(), "TForm2").empty());
    testsupport::PressMessageBoxButton(box);
    DWORD exitCode = 0;
    ASSERT_TRUE(corvane.WaitExit(10000, &exitCode));
    EXPECT_EQ(exitCode, 1u);
    EXPECT_EQ(registration.Calls(), std::vector<std::string>{"Refused"});
    EXPECT_EQ(registration.ObjectsCreated(), 0);
}

}  // namespace
