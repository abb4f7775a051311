// The browser window around the system's own web browser control: it is created and activated
// in place, takes addresses without an error, reports its history state to the buttons, and
// fails Back on an empty history, which the error box shows.

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/browser/BrowserDriver.h"
#include "tests/testbed/TestSupport.h"
#include "toolkit/Application.h"

namespace {

using browsertest::Click;
using browsertest::Parts;
using browsertest::ErrorBoxWatcher;
using browsertest::Settle;

class SystemControl : public ::testing::Test {
protected:
    void SetUp() override {
        browsertest::EnsureApplication();
        toolkit::TOleControl::SetObjectFactory({});
        form = std::make_unique<TForm2>();
        form->Show();
        Settle();
    }
    void TearDown() override {
        form.reset();
        Settle();
    }
    // Waits, handling messages, until the control has told the window something about its history.
    void WaitForHistoryState() {
        testsupport::WaitUntil([&] { return !Parts(*form).Btn_Back.Enabled() || !Parts(*form).Btn_Forward.Enabled(); }, 5000);
    }

    std::unique_ptr<TForm2> form;
};

TEST_F(SystemControl, IsCreatedAndActivatedInPlaceInsideTheWindow) {
    const HWND control = Parts(*form).WebBrowser.ControlWindow();
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(::GetParent(control), form->Handle());
    EXPECT_TRUE(::IsWindowVisible(control));
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, form->Handle(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.top, 29);
    EXPECT_EQ(rect.bottom - rect.top, 424);
    EXPECT_EQ(rect.right - rect.left, 688);
    EXPECT_EQ(Parts(*form).WebBrowser.Document(), nullptr);  // no page at start
    EXPECT_FALSE(Parts(*form).WebBrowser.Busy());
}

TEST_F(SystemControl, NavigatesToALocalFileAndToAboutBlankWithoutAnError) {
    const std::string folder = testsupport::ScratchDir("browser-real-control");
    const std::string page = folder + "page.htm";
    testsupport::WriteFileBytes(page, "<html><head><title>Local</title></head><body>local</body></html>");
    EXPECT_NO_THROW(Parts(*form).WebBrowser.Navigate(testsupport::Utf8ToWide(page)));
    testsupport::PumpFor(500);
    EXPECT_NO_THROW(Parts(*form).WebBrowser.Navigate(L"about:blank"));
    testsupport::PumpFor(500);
    EXPECT_TRUE(testsupport::TopLevelWindowsOf(::GetCurrentProcessId(), "#32770").empty());
    EXPECT_TRUE(::IsWindow(Parts(*form).WebBrowser.ControlWindow()));
    EXPECT_NO_THROW(Parts(*form).WebBrowser.LocationURL());
}

TEST_F(SystemControl, ReportsItsHistoryStateToTheButtons) {
    // The address box path, through the keyboard.
    Parts(*form).Edt_URL.SetText("about:blank");
    ::SetFocus(Parts(*form).Edt_URL.Handle());
    browsertest::PressKey(Parts(*form).Edt_URL.Handle(), VK_RETURN);
    WaitForHistoryState();
    EXPECT_FALSE(Parts(*form).Btn_Back.Enabled());
    EXPECT_FALSE(Parts(*form).Btn_Forward.Enabled());
    EXPECT_TRUE(Parts(*form).Btn_Navigate.Enabled());
}

TEST_F(SystemControl, BackOnAnEmptyHistoryShowsTheErrorBox) {
    ErrorBoxWatcher box;
    Click(*form, Parts(*form).Btn_Back);
    ASSERT_TRUE(box.Wait());
    EXPECT_FALSE(box.Text().empty());
    EXPECT_EQ(box.Text().back(), '.');
    EXPECT_EQ(testsupport::Utf8ToWide(box.Caption()), toolkit::App().Title());
    EXPECT_EQ(browsertest::CaptionOf(form->Handle()), L"Corvane Browser");
    EXPECT_TRUE(::IsWindowVisible(form->Handle()));
}

}  // namespace
