#include "toolkit/Window.h"

#include <commctrl.h>

#include "toolkit/Application.h"
#include "toolkit/Error.h"

namespace toolkit {

namespace {

// The window property that leads from a handle to its object.
constexpr wchar_t kObjectProperty[] = L"Corvane.WindowObject";

// The control that sent a notification to its parent, or null for any other message.
HWND SenderOf(UINT message, LPARAM lParam) noexcept {
    if (message == WM_COMMAND) return reinterpret_cast<HWND>(lParam);  // null for menus and accelerators
    if (message == WM_NOTIFY && lParam) return reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
    return nullptr;
}

}  // namespace

WindowObject* WindowObject::FromHandle(HWND window) noexcept {
    return window ? static_cast<WindowObject*>(::GetPropW(window, kObjectProperty)) : nullptr;
}

bool WindowObject::OnReflected(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

void WindowObject::Bind(HWND window) noexcept {
    hwnd_ = window;
    ::SetPropW(window, kObjectProperty, this);
}

void WindowObject::Unbind() noexcept {
    if (!hwnd_) return;
    ::RemovePropW(hwnd_, kObjectProperty);
    hwnd_ = nullptr;
}

LRESULT WindowObject::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    LRESULT result = 0;
    App().Guard([&] {
        const HWND sender = SenderOf(message, lParam);
        WindowObject* control = sender && sender != hwnd_ ? FromHandle(sender) : nullptr;
        if (control && control->OnReflected(message, wParam, lParam, result)) return;
        result = HandleMessage(message, wParam, lParam);
    });
    return result;
}

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
    if (Handle()) ::DestroyWindow(Handle());
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) { return Default(message, wParam, lParam); }

LRESULT Window::Default(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    return ::DefWindowProcW(Handle(), message, wParam, lParam);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->Bind(hwnd);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->Unbind();
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return self->Dispatch(message, wParam, lParam);
}

SubclassedControl::~SubclassedControl() {
    if (!Handle()) return;
    ::RemoveWindowSubclass(Handle(), &SubclassedControl::Procedure, 0);
    Unbind();
}

void SubclassedControl::Attach(HWND control) {
    Bind(control);
    if (!::SetWindowSubclass(control, &SubclassedControl::Procedure, 0, reinterpret_cast<DWORD_PTR>(this)))
        throw Error(L"コントロールをサブクラス化できません");
}

LRESULT SubclassedControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return Default(message, wParam, lParam);
}

LRESULT SubclassedControl::Default(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    return ::DefSubclassProc(Handle(), message, wParam, lParam);
}

LRESULT CALLBACK SubclassedControl::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                              DWORD_PTR refData) {
    auto* self = reinterpret_cast<SubclassedControl*>(refData);
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hwnd, &SubclassedControl::Procedure, 0);
        self->Unbind();
        return ::DefSubclassProc(hwnd, message, wParam, lParam);
    }
    return self->Dispatch(message, wParam, lParam);
}

}  // namespace toolkit
