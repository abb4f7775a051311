#include "browser/BrowserControls.h"

#include <commctrl.h>

#include <vector>

#include "toolkit/Error.h"

namespace {

HINSTANCE Instance() { return ::GetModuleHandleW(nullptr); }

}  // namespace

TToolBar::TToolBar(HWND parent, int width, int height, int buttonWidth, int buttonHeight) : height_(height) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    // Placed and sized by the window, not by the bar itself; the divider is the edge line on top.
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | TBSTYLE_FLAT | CCS_TOP |
                        CCS_NORESIZE | CCS_NOPARENTALIGN;
    bar_.Reset(::CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, style, 0, 0, width, height, parent, nullptr,
                                 Instance(), nullptr));
    if (!bar_) throw toolkit::Error(L"ツール バーを作成できません");
    ::SendMessageW(bar_.Get(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageW(bar_.Get(), TB_SETBITMAPSIZE, 0, MAKELPARAM(16, 16));
    ::SendMessageW(bar_.Get(), TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonWidth, buttonHeight));
}

void TToolBar::SetImages(const toolkit::TImageList& normal, const toolkit::TImageList& hot) {
    ::SendMessageW(bar_.Get(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(normal.Handle()));
    ::SendMessageW(bar_.Get(), TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(hot.Handle()));
}

void TToolBar::AddSpace(int width) {
    TBBUTTON space{};
    space.iBitmap = width;
    space.fsStyle = BTNS_SEP;
    ::SendMessageW(bar_.Get(), TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&space));
}

void TToolBar::AddButton(int id, int image) {
    TBBUTTON button{};
    button.iBitmap = image;
    button.idCommand = id;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = BTNS_BUTTON;
    button.iString = -1;
    ::SendMessageW(bar_.Get(), TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
}

void TToolBar::SetWidth(int width) {
    ::SetWindowPos(bar_.Get(), nullptr, 0, 0, width, height_, SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT TToolBar::ButtonRect(int id) const {
    RECT rect{};
    ::SendMessageW(bar_.Get(), TB_GETRECT, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&rect));
    return rect;
}

bool TToolButton::Enabled() const {
    return ::SendMessageW(bar_, TB_ISBUTTONENABLED, static_cast<WPARAM>(id_), 0) != 0;
}

void TToolButton::SetEnabled(bool enabled) {
    ::SendMessageW(bar_, TB_ENABLEBUTTON, static_cast<WPARAM>(id_), MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

TAddressEdit::TAddressEdit(HWND parent, const RECT& bounds, HFONT font) {
    const HWND edit = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, bounds.left, bounds.top,
                                        bounds.right - bounds.left, bounds.bottom - bounds.top, parent, nullptr,
                                        Instance(), nullptr);
    if (!edit) throw toolkit::Error(L"アドレス ボックスを作成できません");
    ::SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    Attach(edit);
}

TAddressEdit::~TAddressEdit() = default;

std::string TAddressEdit::Text() const {
    const int length = ::GetWindowTextLengthA(Handle());
    if (length <= 0) return {};
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(Handle(), buffer.data(), length + 1);
    return std::string(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

void TAddressEdit::SetText(const std::string& text) { ::SetWindowTextA(Handle(), text.c_str()); }

LRESULT TAddressEdit::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        return KeyDown(message, wParam, lParam);
    case WM_CHAR:
        return Character(message, wParam, lParam);
    case WM_LBUTTONDOWN: {
        // The focus that this click brings keeps the caret where the mouse put it.
        clicking_ = true;
        const LRESULT result = Default(message, wParam, lParam);
        clicking_ = false;
        return result;
    }
    case WM_SETFOCUS: {
        const LRESULT result = Default(message, wParam, lParam);
        if (!clicking_) ::SendMessageW(Handle(), EM_SETSEL, 0, -1);
        return result;
    }
    default:
        return Default(message, wParam, lParam);
    }
}

LRESULT TAddressEdit::KeyDown(UINT message, WPARAM wParam, LPARAM lParam) {
    WORD key = LOWORD(wParam);
    if (OnKeyDown) OnKeyDown(key);
    return key == 0 ? 0 : Default(message, key, lParam);
}

LRESULT TAddressEdit::Character(UINT message, WPARAM wParam, LPARAM lParam) {
    wchar_t key = static_cast<wchar_t>(wParam);
    if (OnKeyPress) OnKeyPress(key);
    return key == 0 ? 0 : Default(message, key, lParam);
}
