#include "toolkit/KeyEdit.h"

#include <utility>
#include <vector>

#include "toolkit/Error.h"

namespace toolkit {

TKeyEdit::TKeyEdit(HWND parent, const RECT& bounds, HFONT font, const KeyEditOptions& options)
    : selectAllOnFocus_(options.selectAllOnFocus) {
    const DWORD style = WS_CHILD | WS_TABSTOP | ES_AUTOHSCROLL | (options.visible ? WS_VISIBLE : 0);
    const HWND edit = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", options.text, style, bounds.left, bounds.top,
                                        bounds.right - bounds.left, bounds.bottom - bounds.top, parent, nullptr,
                                        ::GetModuleHandleW(nullptr), nullptr);
    if (!edit) throw Error(L"アドレス ボックスを作成できません");
    ::SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    Attach(edit);
}

std::string TKeyEdit::Text() const {
    const int length = ::GetWindowTextLengthA(Handle());
    if (length <= 0) return {};
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(Handle(), buffer.data(), length + 1);
    return std::string(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

void TKeyEdit::SetText(const std::string& text) { ::SetWindowTextA(Handle(), text.c_str()); }

LRESULT TKeyEdit::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
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
        if (selectAllOnFocus_ && !clicking_) ::SendMessageW(Handle(), EM_SETSEL, 0, -1);
        return result;
    }
    default:
        return Default(message, wParam, lParam);
    }
}

LRESULT TKeyEdit::KeyDown(UINT message, WPARAM wParam, LPARAM lParam) {
    WORD key = LOWORD(wParam);
    if (OnKeyDown) OnKeyDown(key);
    return key == 0 ? 0 : Default(message, key, lParam);
}

LRESULT TKeyEdit::Character(UINT message, WPARAM wParam, LPARAM lParam) {
    wchar_t key = static_cast<wchar_t>(wParam);
    if (OnKeyPress) OnKeyPress(key);
    return key == 0 ? 0 : Default(message, key, lParam);
}

void HandleAddressKeys(TKeyEdit& box, std::function<void()> onEnter) {
    box.OnKeyDown = [onEnter = std::move(onEnter)](WORD& key) {
        if (key == VK_RETURN) onEnter();
        key = 0;
    };
    box.OnKeyPress = [](wchar_t& key) {
        if (key == L'\r') key = 0;
    };
}

}  // namespace toolkit
