#pragma once
// Drives a staged Corvane planted in the stand-in host, from outside, as a user would: its toolbar
// found in the host, the geometry of its items read from the toolbar control itself, real mouse
// clicks and key presses, and the windows and boxes that Corvane shows.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "tests/testbed/HostSim.h"
#include "tests/testbed/TestSupport.h"
#include "toolbar/ToolbarItems.h"

namespace toolbartest {

// The toolbar's items, by the ids the program gives them (toolbar/ToolbarItems.h).
using enum toolbar::ToolbarItemId;

// A staged Corvane (Tag.ini beside it) serving a stand-in host; both end with the object.
class CorvaneOnHost {
public:
    CorvaneOnHost() = default;
    CorvaneOnHost(const CorvaneOnHost&) = delete;
    CorvaneOnHost& operator=(const CorvaneOnHost&) = delete;
    ~CorvaneOnHost();

    // Stages Corvane in a fresh scratch folder, starts the host and Corvane in front of it.
    // With waitForToolbar, waits until the toolbar is planted and visible (a test failure if not).
    void Start(const testsupport::HostSim::Options& options, const char* tagIni = kTagIni, bool waitForToolbar = true);
    // Starts another host and, from first's folder, a second Corvane in front of it; waits for its
    // toolbar. The folder stays first's: end this object before first.
    void StartBeside(const CorvaneOnHost& first, const testsupport::HostSim::Options& options);

    testsupport::HostSim& Host() { return host_; }
    testsupport::Process& Corvane() { return corvane_; }
    const std::string& Folder() const { return dir_; }  // the staged executable's folder, "\" at the end

    HWND Planted() const { return planted_; }  // the window Corvane planted in the host's toolbar
    HWND Buttons() const;                      // the toolbar control inside it
    HWND URL() const;                          // the address box

    // Where the toolbar control holds item id, left to right, and the item's rectangle in the
    // control's client area (TB_GETITEMRECT) and its button data.
    int IndexOf(int id) const;
    RECT ItemRect(int id) const;
    TBBUTTON Button(int id) const;

    POINT ItemCentre(int id) const;  // on the screen
    void ClickItem(int id) const;    // a real click in the middle of the item
    // Puts the caret at position (EM_SETSEL), after giving the box the focus with a real click.
    void FocusURL(int caret) const;
    std::string URLText() const;
    int URLCaret() const;

    std::vector<HWND> VisibleWindows(const char* className) const;  // Corvane's top-level ones
    bool BrowserShown() const;  // Corvane's browser window
    HWND Browser() const;       // that window, shown or not; null before it is made
    HWND BrowserBar() const;    // its tool bar
    // The browser tool bar's button whose left edge is at x in the bar (the designed layout,
    // browser/BrowserItems.h); -1 when none is. Its rectangle and button data, and a real click in
    // its middle.
    int BrowserButtonAt(int x) const;
    RECT BrowserItemRect(int index) const;
    TBBUTTON BrowserButton(int index) const;
    void ClickBrowserItem(int index) const;
    // Corvane's visible message box, waiting up to timeoutMs; null when none.
    HWND WaitForBox(DWORD timeoutMs) const;
    // True when Corvane has ended within the time; no message box of Corvane appeared meanwhile
    // when quietly is set (a test failure otherwise).
    bool WaitForEnd(DWORD timeoutMs, bool quietly = true) const;

    static constexpr const char* kTagIni = "%Head\r\n&<h1></h1>\r\n";

private:
    void Launch(const std::string& exe, const testsupport::HostSim::Options& options, bool waitForToolbar);

    std::string dir_;
    bool ownsFolder_ = false;
    testsupport::HostSim host_;
    testsupport::Process corvane_;
    HWND planted_ = nullptr;
};

// ClickAt and PressKey come from the shared test support.
using testsupport::ClickAt;
using testsupport::PressKey;
void MoveMouseTo(POINT screen);
POINT ClientOrigin(HWND window, HWND of);  // window's top-left corner in of's client area
SIZE SizeOf(HWND window);

}  // namespace toolbartest
