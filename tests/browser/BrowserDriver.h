#pragma once
// Drives the browser window through its real windows from a test: the application set up once
// per process, the scripted control handed to the window, clicks on the tool bar, keys to the
// address box, and the standard error box read and closed from a helper thread.

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "tests/testbed/ScriptedBrowser/ScriptedBrowserControl.h"
#include "browser/Unit2.h"

namespace browser {

// The browser window's controls, for tests that look at them directly.
struct TForm2Parts {
    explicit TForm2Parts(TForm2& form)
        : WebBrowser(*form.WebBrowser),
          ToolBar1(*form.ToolBar1),
          Edt_URL(*form.Edt_URL),
          Btn_Navigate(*form.Btn_Navigate),
          Btn_Back(*form.Btn_Back),
          Btn_Forward(*form.Btn_Forward),
          Btn_Refresh(*form.Btn_Refresh),
          Btn_Stop(*form.Btn_Stop),
          Btn_Live(*form.Btn_Live),
          Btn_ScriptErrors(*form.Btn_ScriptErrors) {}

    TWebBrowser& WebBrowser;
    toolkit::TToolBar& ToolBar1;
    toolkit::TKeyEdit& Edt_URL;
    toolkit::TToolButton& Btn_Navigate;
    toolkit::TToolButton& Btn_Back;
    toolkit::TToolButton& Btn_Forward;
    toolkit::TToolButton& Btn_Refresh;
    toolkit::TToolButton& Btn_Stop;
    toolkit::TToolButton& Btn_Live;
    toolkit::TToolButton& Btn_ScriptErrors;
};

}  // namespace browser

using browser::TForm2;
using toolkit::TToolButton;

namespace browsertest {

inline browser::TForm2Parts Parts(TForm2& form) { return browser::TForm2Parts(form); }

// Initialises the application object (COM, the application window) on first use.
void EnsureApplication();

// For its life, every browser window made gets this scripted control as its browser control.
class ScriptedControlInjection {
public:
    explicit ScriptedControlInjection(Microsoft::WRL::ComPtr<scriptedbrowser::ScriptedBrowserControl> control);
    ~ScriptedControlInjection();
    ScriptedControlInjection(const ScriptedControlInjection&) = delete;
    ScriptedControlInjection& operator=(const ScriptedControlInjection&) = delete;
};

// A browser window around a fresh scripted control, shown, with its pending messages handled.
struct ScriptedWindow {
    ScriptedWindow();
    ~ScriptedWindow();
    Microsoft::WRL::ComPtr<scriptedbrowser::ScriptedBrowserControl> control;
    std::unique_ptr<TForm2> form;
};

// Clicks a tool bar button with the mouse messages a real click sends, and handles what follows.
void Click(TForm2& form, const TToolButton& button);
// A key going down and up in window, as posted by the system, with its character when it has one.
void PressKey(HWND window, WORD key, bool alt = false);
void TypeText(HWND window, const std::wstring& text);
void Settle();  // handles this thread's pending messages

std::string Ansi(const std::wstring& text);  // through the ANSI code page
std::wstring CaptionOf(HWND window);
std::string AnsiTextOf(HWND window);
DWORD Selection(HWND edit);  // EM_GETSEL: start in the low word, end in the high word

// Waits on a helper thread for the process's next message box, records it and presses OK.
class ErrorBoxWatcher {
public:
    explicit ErrorBoxWatcher(DWORD timeoutMs = 10000);
    ~ErrorBoxWatcher();
    ErrorBoxWatcher(const ErrorBoxWatcher&) = delete;
    ErrorBoxWatcher& operator=(const ErrorBoxWatcher&) = delete;

    // Joins the helper; true when a box was seen.
    bool Wait();
    const std::string& Text() const noexcept { return text_; }        // UTF-8
    const std::string& Caption() const noexcept { return caption_; }  // UTF-8
    HWND Owner() const noexcept { return owner_; }
    bool OthersDisabled() const noexcept { return othersDisabled_; }
    void WatchDisabled(HWND window) noexcept { watched_ = window; }

private:
    std::thread helper_;
    std::atomic<bool> seen_{false};
    std::string text_;
    std::string caption_;
    HWND owner_ = nullptr;
    std::atomic<HWND> watched_{nullptr};
    bool othersDisabled_ = false;
};

}  // namespace browsertest
