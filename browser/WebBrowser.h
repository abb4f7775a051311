#pragma once
// TWebBrowser: the web browser engine behind one class. It hosts the system's web browser
// control and offers the window what it needs of an engine: load an address, step through the
// history, reload, stop, tell whether a document is loaded and whether a load is going on, give
// the current address and title, and report completed navigations and history changes. Another
// engine can take its place behind the same members.

#include <windows.h>
#include <exdisp.h>
#include <wrl/client.h>

#include <cstdint>
#include <functional>
#include <string>

#include "toolkit/Object.h"
#include "toolkit/OleControl.h"

namespace browser {

// CommandStateChange: Command 1 is stepping forward, 2 stepping back; other values (such as -1,
// "every command may have changed") also arrive. Enable is a 16-bit boolean, true when non-zero.
using TWebBrowserCommandStateChange =
    std::function<void(toolkit::TObject& Sender, std::int32_t Command, VARIANT_BOOL Enable)>;
// NavigateComplete2: pDisp is the frame (or page) whose navigation completed, URL its address.
using TWebBrowserNavigateComplete2 =
    std::function<void(toolkit::TObject& Sender, IDispatch* pDisp, const VARIANT& URL)>;

// One error in the page's scripts, as the engine reports it: the message, where it happened (line
// and character, counted from 1; 0 when the engine does not say), the engine's error code and the
// address of the script's document.
struct TScriptError {
    std::wstring message;
    long line = 0;
    long character = 0;
    long code = 0;
    std::wstring url;
};
// ScriptError: an error in the page's scripts; the engine shows no box for it and goes on running them.
using TWebBrowserScriptError = std::function<void(toolkit::TObject& Sender, const TScriptError& Error)>;
// DownloadBegin: a page starts loading (a navigation, a step through the history, a reload).
using TWebBrowserDownloadBegin = std::function<void(toolkit::TObject& Sender)>;

class TWebBrowser : public toolkit::TOleControl {
public:
    // Creates the control inside parent at bounds, empty. Throws toolkit::Error when the control
    // cannot be created.
    TWebBrowser(HWND parent, const RECT& bounds);
    ~TWebBrowser() override;

    // Starts loading url, passed unchanged, and returns at once. Each method throws
    // toolkit::Error when the control fails it.
    void Navigate(const std::wstring& url);
    void GoBack();
    void GoForward();
    void Refresh();
    void Stop();

    // Properties; each throws toolkit::Error when the control fails the read.
    Microsoft::WRL::ComPtr<IDispatch> Document() const;  // null when no document is loaded
    std::wstring LocationName() const;
    std::wstring LocationURL() const;
    bool Busy() const;
    // Whether a dialog of the page (alert, confirm, leaving the page) is open.
    bool DialogOpen() const noexcept { return ControlDialogOpen(); }

    // Event slots; an event whose slot is empty goes unhandled.
    TWebBrowserCommandStateChange OnCommandStateChange;
    TWebBrowserNavigateComplete2 OnNavigateComplete2;
    TWebBrowserScriptError OnScriptError;
    TWebBrowserDownloadBegin OnDownloadBegin;

private:
    struct EventEntry;
    static const EventEntry kEvents[];

    IWebBrowser2& Browser();
    void EventFired(DISPID id, const DISPPARAMS& arguments) override;
    void FireCommandStateChange(const DISPPARAMS& arguments);
    void FireNavigateComplete2(const DISPPARAMS& arguments);
    void FireDownloadBegin(const DISPPARAMS& arguments);
    HRESULT CommandFromControl(const GUID* group, DWORD id, VARIANT* in, VARIANT* out) noexcept override;

    Microsoft::WRL::ComPtr<IWebBrowser2> browser_;
};

}  // namespace browser
