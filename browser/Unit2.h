#pragma once
// TForm2: the browser window. A plain top-level window around the web browser control, with a
// tool bar holding an address box and the navigate, back, forward, refresh and stop buttons.
// Created hidden at start-up; closing it only hides it, so page, history, address box, caption
// and button states wait for the next Show.
//
// Other windows use it through Show and Open only, and live preview through LiveView; its
// controls are its own.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "browser/LiveView.h"
#include "browser/WebBrowser.h"
#include "toolkit/Handles.h"
#include "toolkit/ImageList.h"
#include "toolkit/KeyEdit.h"
#include "toolkit/Object.h"
#include "toolkit/ToolBar.h"
#include "toolkit/Window.h"

namespace browser {

// In which order Open shows the window and hands it the address.
enum class OpenOrder { NavigateThenShow, ShowThenNavigate };

class TForm2 : public toolkit::Window, public LiveView {
public:
    TForm2();  // throws toolkit::Error when the browser control cannot be created
    ~TForm2() override;

    // Makes the window visible if it is hidden and raises it to the top.
    void Show();
    // Shows the window and starts loading address (ANSI text, handed on unchanged), in the order given.
    void Open(const std::wstring& address, OpenOrder order);

    // LiveView.
    void SetLiveListener(Listener* listener) override { liveListener_ = listener; }
    bool LiveOn() const override;
    bool Showing() const override;
    bool PageDialogOpen() const override;
    std::wstring Address() const override;
    void Reload() override;
    void GoTo(const std::wstring& address) override;
    void ShowLiveProblem(const std::wstring& problem) override;

private:
    friend struct TForm2Parts;  // the tests' view of the controls

    static std::span<const toolkit::ToolCommand<TForm2>> Commands();

    void CreateToolBar();
    void CreateWebBrowser();
    void ItemChosen(int id);
    void Layout(int clientWidth, int clientHeight);
    void ShowCaption();
    void Activated(WPARAM state);
    void FocusControl();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Event handlers, bound by name.
    void Btn_NavigateClick();
    void Btn_BackClick();
    void Btn_ForwardClick();
    void Btn_RefreshClick();
    void Btn_StopClick();
    void Btn_LiveClick();
    void WebBrowserNavigateComplete2(toolkit::TObject& Sender, IDispatch* pDisp, const VARIANT& URL);
    void WebBrowserCommandStateChange(toolkit::TObject& Sender, std::int32_t Command, VARIANT_BOOL Enable);
    void WebBrowserScriptError(toolkit::TObject& Sender, const TScriptError& Error);
    void WebBrowserDownloadBegin(toolkit::TObject& Sender);
    void ShowScriptErrors();

    toolkit::FontHandle font_;  // the window's font, used by the address box
    HWND lastFocus_ = nullptr;  // the control that had the focus when the window was deactivated
    bool destroying_ = false;   // the controls are going: messages get the default handling
    Listener* liveListener_ = nullptr;
    int scriptErrors_ = 0;      // errors in the current page's scripts
    TScriptError lastScriptError_;
    std::string pageCaption_;   // the caption the page gives, in the ANSI code page
    std::wstring liveProblem_;  // why live preview could not show the latest text; empty: it did

    // Components, named as in the form description.
    std::unique_ptr<toolkit::TImageList> ImageList1;  // hot images, shown under the mouse
    std::unique_ptr<toolkit::TImageList> ImageList2;  // normal images
    std::unique_ptr<TWebBrowser> WebBrowser;
    std::unique_ptr<toolkit::TToolBar> ToolBar1;
    std::unique_ptr<toolkit::TKeyEdit> Edt_URL;
    std::unique_ptr<toolkit::TToolButton> Btn_Navigate;
    std::unique_ptr<toolkit::TToolButton> Btn_Back;
    std::unique_ptr<toolkit::TToolButton> Btn_Forward;
    std::unique_ptr<toolkit::TToolButton> Btn_Refresh;
    std::unique_ptr<toolkit::TToolButton> Btn_Stop;
    std::unique_ptr<toolkit::TToolButton> Btn_Live;  // live preview: on while pressed, off at every start
    // Shown only while the current page's scripts have failed: their count and the last error in its tip.
    std::unique_ptr<toolkit::TToolButton> Btn_ScriptErrors;
};

// The one browser window, valid from its creation at start-up to the end of the program.
extern TForm2* Form2;

}  // namespace browser
