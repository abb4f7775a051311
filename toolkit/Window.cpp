#include "Window.h"

#include <commctrl.h>

#include "Application.h"
#include "Error.h"

namespace toolkit {

Window::~Window() { DestroyWindowObject(); }

void Window::CreateWindowObject(const WindowClass& windowClass, const wchar_t* title, const WindowPlacement& p) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!::GetClassInfoExW(instance, windowClass.name, &wc)) {
        wc.style = windowClass.style;
        wc.lpfnWndProc = &Window::Procedure;
        wc.hInstance = instance;
        wc.hIcon = windowClass.icon;
        wc.hCursor = windowClass.cursor ? windowClass.cursor
                                        : ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.hbrBackground = windowClass.background;
        wc.lpszClassName = windowClass.name;
        if (!::RegisterClassExW(&wc)) throw Error(L"ウィンドウ クラスを登録できません");
    }
    if (!::CreateWindowExW(p.exStyle, windowClass.name, title, p.style, p.x, p.y, p.width, p.height, p.parent,
                           p.menuOrId, instance, this))
        throw Error(L"ウィンドウを作成できません");
}

void Window::DestroyWindowObject() noexcept {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) { return Default(message, wParam, lParam); }

LRESULT Window::Default(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    LRESULT result = 0;
    bool handled = App().Guard([&] { result = self->HandleMessage(message, wParam, lParam); });
    return handled ? result : 0;
}

SubclassedControl::~SubclassedControl() {
    if (hwnd_) ::RemoveWindowSubclass(hwnd_, &SubclassedControl::Procedure, 0);
}

void SubclassedControl::Attach(HWND control) {
    hwnd_ = control;
    if (!::SetWindowSubclass(control, &SubclassedControl::Procedure, 0, reinterpret_cast<DWORD_PTR>(this)))
        throw Error(L"コントロールをサブクラス化できません");
}

LRESULT SubclassedControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return Default(message, wParam, lParam);
}

LRESULT SubclassedControl::Default(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    return ::DefSubclassProc(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK SubclassedControl::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                              DWORD_PTR refData) {
    auto* self = reinterpret_cast<SubclassedControl*>(refData);
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hwnd, &SubclassedControl::Procedure, 0);
        self->hwnd_ = nullptr;
        return ::DefSubclassProc(hwnd, message, wParam, lParam);
    }
    LRESULT result = 0;
    bool handled = App().Guard([&] { result = self->HandleMessage(message, wParam, lParam); });
    return handled ? result : 0;
}

}  // namespace toolkit
