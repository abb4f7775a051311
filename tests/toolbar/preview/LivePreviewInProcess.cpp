// Live preview in this process, against a stand-in for the browser window: a dialog of the page
// (alert, confirm, leaving the page) keeps it from reloading until the dialog has closed.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/testbed/TestSupport.h"
#include "browser/LiveView.h"
#include "toolbar/preview/LivePreview.h"
#include "toolbar/preview/BufferFile.h"
#include "toolkit/Application.h"

namespace {

using namespace testsupport;

struct WindowStandIn : browser::LiveView {
    void SetLiveListener(Listener*) override {}
    bool LiveOn() const override { return true; }
    bool Showing() const override { return true; }
    bool PageDialogOpen() const override { return dialogOpen; }
    std::wstring Address() const override { return address; }
    void Reload() override { ++reloads; }
    void GoTo(const std::wstring&) override { ADD_FAILURE() << "no new address expected"; }
    void ShowLiveProblem(const std::wstring& problem) override { EXPECT_EQ(problem, L"") << "no check should fail"; }

    std::wstring address;
    bool dialogOpen = false;
    int reloads = 0;
};

TEST(LivePreviewInProcess, ASavedDocumentIsNotReloadedWhileADialogOfThePageIsOpen) {
    toolkit::App().Initialize();
    const std::string folder = ScratchDir("live preview in process");
    const std::string page = folder + "page.htm";
    WriteFileBytes(page, "<p>a</p>");
    WindowStandIn window;
    window.address = Utf8ToWide(page);
    toolbar::BufferFile buffer(Utf8ToWide(folder), 0);  // unused: the document is saved
    toolbar::LivePreview live(window, buffer);
    live.PreviewedFile(window.address);
    live.Check();  // learns the file as it is

    WriteFileBytes(page, "<p>saved</p>");
    window.dialogOpen = true;
    live.Check();
    live.Check();
    EXPECT_EQ(window.reloads, 0) << "a reload would take the dialog away unanswered";
    window.dialogOpen = false;
    live.Check();
    EXPECT_EQ(window.reloads, 1) << "the save is shown once the dialog has closed";
    ::DeleteFileA(page.c_str());
}

}  // namespace
