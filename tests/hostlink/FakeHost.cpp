#include "tests/hostlink/FakeHost.h"

#include <gtest/gtest.h>

namespace hosttest {

namespace {
bool Recorded(UINT message) {
    return message >= WM_USER || message == WM_GETTEXT || message == WM_GETTEXTLENGTH || message == EM_GETMODIFY;
}
}  // namespace

FakeWindow::FakeWindow(const std::string& className, Answer answer, HWND parent)
    : className_(className), answer_(std::move(answer)) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &FakeWindow::Procedure;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = className_.c_str();
    if (!::RegisterClassA(&windowClass) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        ADD_FAILURE() << "cannot register " << className_;
    window_ = ::CreateWindowExA(0, className_.c_str(), "", parent ? WS_CHILD : WS_OVERLAPPED, 0, 0, 10, 10, parent,
                                nullptr, windowClass.hInstance, this);
    if (!window_) ADD_FAILURE() << "cannot create a window of class " << className_;
}

FakeWindow::~FakeWindow() {
    if (window_) ::DestroyWindow(window_);
    ::UnregisterClassA(className_.c_str(), ::GetModuleHandleA(nullptr));
}

size_t FakeWindow::Count(UINT message) const {
    size_t n = 0;
    for (const Received& r : received_) n += r.message == message;
    return n;
}

LRESULT CALLBACK FakeWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        ::SetWindowLongPtrA(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<FakeWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY) ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    if (self) {
        if (Recorded(message)) self->received_.push_back({message, wParam, lParam});
        if (self->answer_)
            if (const std::optional<LRESULT> result = self->answer_(message, wParam, lParam)) return *result;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace hosttest
