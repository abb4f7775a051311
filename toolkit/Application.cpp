#include "toolkit/Application.h"

#include <objbase.h>

#include <algorithm>

#include "toolkit/Error.h"
#include "toolkit/LateLibraries.h"
#include "toolkit/Module.h"
#include "toolkit/Text.h"

namespace toolkit {

namespace {

constexpr wchar_t kApplicationWindowClass[] = L"TApplication";

// Disables the visible, enabled top-level windows of this thread for the life of a modal box
// and enables them again afterwards.
class TaskWindowsDisabled {
public:
    TaskWindowsDisabled() { ::EnumThreadWindows(::GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(this)); }
    ~TaskWindowsDisabled() {
        for (HWND window : disabled_)
            if (::IsWindow(window)) ::EnableWindow(window, TRUE);
    }
    TaskWindowsDisabled(const TaskWindowsDisabled&) = delete;
    TaskWindowsDisabled& operator=(const TaskWindowsDisabled&) = delete;

private:
    static BOOL CALLBACK Collect(HWND window, LPARAM self) {
        if (::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
            ::EnableWindow(window, FALSE);
            reinterpret_cast<TaskWindowsDisabled*>(self)->disabled_.push_back(window);
        }
        return TRUE;
    }
    std::vector<HWND> disabled_;
};

}  // namespace

Application& App() {
    static Application application;
    return application;
}

std::wstring ErrorBoxText(const std::wstring& message) {
    if (!message.empty() && message.back() > L'.') return message + L".";
    return message;
}

std::wstring ApplicationTitleFor(const std::string& exeFileName) {
    std::string title = exeFileName.substr(0, exeFileName.find('.'));
    if (title.size() > 1) {
        // The locale's ANSI lower-casing, past the first character (a double-byte first
        // character keeps its trail byte as it is).
        size_t first = ::IsDBCSLeadByte(static_cast<BYTE>(title[0])) ? 2 : 1;
        if (first < title.size())
            ::CharLowerBuffA(title.data() + first, static_cast<DWORD>(title.size() - first));
    }
    return AnsiToWide(title);
}

Application::~Application() {
    if (handle_) ::DestroyWindow(handle_);
    if (comInitialized_) ::CoUninitialize();
}

void Application::Initialize() {
    InitializeWindow();
    InitializeLate();
}

void Application::InitializeLate() {
    // The program's icon, its first icon resource. LoadIcon shares it: a second call holds no other.
    if (handle_)
        ::SetClassLongPtrW(handle_, GCLP_HICON,
                           reinterpret_cast<LONG_PTR>(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1))));
    LoadLateLibraries();
    if (!comInitialized_ && SUCCEEDED(::CoInitialize(nullptr))) comInitialized_ = true;
}

void Application::InitializeWindow() {
    title_ = ApplicationTitleFor(ExecutableFileName());

    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = kApplicationWindowClass;
    ::RegisterClassExW(&wc);
    // No frame: the system would add WS_EX_WINDOWEDGE to a captioned window's extended style.
    handle_ = ::CreateWindowExW(0, kApplicationWindowClass, title_.c_str(), WS_POPUP | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                                nullptr, nullptr, instance, nullptr);
    if (!handle_) throw Error(L"アプリケーション ウィンドウを作成できません");
    ::SetWindowLongPtrW(handle_, GWL_EXSTYLE, WS_EX_TOOLWINDOW);
}

void Application::AddPreTranslator(MessagePreTranslator* translator) { preTranslators_.push_back(translator); }

void Application::RemovePreTranslator(MessagePreTranslator* translator) {
    std::erase(preTranslators_, translator);
}

bool Application::PreTranslate(MSG& message) {
    bool handled = false;
    if (onMessage_) Guard([&] { onMessage_(message, handled); });
    if (handled) return true;
    for (MessagePreTranslator* translator : preTranslators_)
        if (translator->PreTranslate(message)) return true;
    return false;
}

int Application::Run() {
    MSG message{};
    while (!terminated_) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) break;
        if (PreTranslate(message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    terminated_ = true;
    return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
}

void Application::Terminate() noexcept {
    terminated_ = true;
    // WM_QUIT also ends a message box's modal loop, which posts it again for the loop below it.
    ::PostQuitMessage(0);
    ::EndMenu();
}

void Application::ShowException(const std::exception& error) noexcept {
    try {
        MessageBox(ErrorBoxText(MessageOf(error)), title_, MB_ICONERROR | MB_OK);
    } catch (...) {
        // Nothing is left to report with.
    }
}

ModalScope::ModalScope() noexcept { ++App().modalDepth_; }

ModalScope::~ModalScope() { --App().modalDepth_; }

int Application::MessageBox(const std::wstring& text, const std::wstring& caption, UINT flags) noexcept {
    const ModalScope modal;
    TaskWindowsDisabled disabled;
    return ::MessageBoxW(handle_, text.c_str(), caption.c_str(), flags);
}

}  // namespace toolkit
