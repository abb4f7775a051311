#include "toolkit/Timer.h"

namespace toolkit {

namespace {
constexpr UINT_PTR kTimerId = 1;
}

Timer::Timer(UINT intervalMs, std::function<void()> onTimer) : interval_(intervalMs), onTimer_(std::move(onTimer)) {
    WindowPlacement placement;
    placement.parent = HWND_MESSAGE;
    CreateWindowObject(WindowClass{L"TTimerWindow"}, L"", placement);
}

Timer::~Timer() { SetEnabled(false); }

void Timer::SetEnabled(bool enabled) {
    if (enabled == enabled_ || !Handle()) return;
    enabled_ = enabled;
    if (enabled)
        ::SetTimer(Handle(), kTimerId, interval_, nullptr);
    else
        ::KillTimer(Handle(), kTimerId);
}

LRESULT Timer::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kTimerId) {
        if (onTimer_) onTimer_();
        return 0;
    }
    return Default(message, wParam, lParam);
}

}  // namespace toolkit
