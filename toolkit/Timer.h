#pragma once
// A timer with its own message-only window. Its ticks are dispatched by whatever message loop is
// running, the modal loops of message boxes and menus included. A tick's exception is shown in the
// standard error box.

#include <functional>

#include "toolkit/Window.h"

namespace toolkit {

class Timer : private Window {
public:
    Timer(UINT intervalMs, std::function<void()> onTimer);
    ~Timer() override;

    void SetEnabled(bool enabled);
    bool Enabled() const noexcept { return enabled_; }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    UINT interval_;
    std::function<void()> onTimer_;
    bool enabled_ = false;
};

}  // namespace toolkit
