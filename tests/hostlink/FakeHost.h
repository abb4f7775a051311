#pragma once
// Windows of any class made in the test process, answering messages as a test tells them: for
// hosts that misbehave in ways the stand-in editor never would, and for windows that only look
// like a host.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace hosttest {

// A handler's answer to one message; nullopt leaves the message to DefWindowProc.
using Answer = std::function<std::optional<LRESULT>(UINT message, WPARAM wParam, LPARAM lParam)>;

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A window of its own class; the class is registered for it and unregistered when it goes, so
// that class names differing only in case can follow one another in one process.
class FakeWindow {
public:
    FakeWindow(const std::string& className, Answer answer, HWND parent = nullptr);
    FakeWindow(const FakeWindow&) = delete;
    FakeWindow& operator=(const FakeWindow&) = delete;
    ~FakeWindow();

    HWND Handle() const noexcept { return window_; }
    // Messages from WM_USER on that reached the window, and WM_GETTEXT / WM_GETTEXTLENGTH / EM_GETMODIFY.
    const std::vector<Received>& Log() const noexcept { return received_; }
    size_t Count(UINT message) const;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::string className_;
    Answer answer_;
    HWND window_ = nullptr;
    std::vector<Received> received_;
};

}  // namespace hosttest
