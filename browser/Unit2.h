#pragma once
// TForm2: the browser window. A plain top-level window around the web browser control, with a
// tool bar holding an address box and the navigate, back, forward, refresh and stop buttons.
// Created hidden at start-up; closing it only hides it, so page, history, address box, caption
// and button states wait for the next Show.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "browser/BrowserControls.h"
#include "browser/WebBrowser.h"
#include "toolkit/Handles.h"
#include "toolkit/ImageList.h"
#include "toolkit/Object.h"
#include "toolkit/Window.h"

class TForm2 : public toolkit::Window {
private:
    toolkit::FontHandle font_;  // the window's font, used by the address box
    HWND lastFocus_ = nullptr;  // the control that had the focus when the window was deactivated
    bool destroying_ = false;   // the controls are going: messages get the default handling

public:
    TForm2();  // throws toolkit::Error when the browser control cannot be created
    ~TForm2() override;

    // Makes the window visible if it is hidden and raises it to the top.
    void Show();

    // Components, named as in the form description.
    std::unique_ptr<TWebBrowser> WebBrowser;
    std::unique_ptr<TToolBar> ToolBar1;
    std::unique_ptr<TAddressEdit> Edt_URL;
    std::unique_ptr<TToolButton> Btn_Navigate;
    std::unique_ptr<TToolButton> Btn_Back;
    std::unique_ptr<TToolButton> Btn_Forward;
    std::unique_ptr<TToolButton> Btn_Refresh;
    std::unique_ptr<TToolButton> Btn_Stop;
    std::unique_ptr<toolkit::TImageList> ImageList1;  // hot images, shown under the mouse
    std::unique_ptr<toolkit::TImageList> ImageList2;  // normal images

    // Event handlers, bound by name.
    void Btn_NavigateClick();
    void Btn_BackClick();
    void Btn_ForwardClick();
    void Btn_RefreshClick();
    void Btn_StopClick();
    void WebBrowserNavigateComplete2(toolkit::TObject& Sender, IDispatch* pDisp, const VARIANT& URL);
    void WebBrowserCommandStateChange(toolkit::TObject& Sender, std::int32_t Command, VARIANT_BOOL Enable);
    void Edt_URLKeyPress(wchar_t& Key);
    void Edt_URLKeyDown(WORD& Key);

private:
    void CreateImageLists();
    void CreateToolBar();
    void CreateWebBrowser();
    void Layout(int clientWidth, int clientHeight);
    void ButtonClicked(int id);
    void Activated(WPARAM state);
    void FocusControl();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The one browser window, valid from its creation at start-up to the end of the program.
extern TForm2* Form2;
