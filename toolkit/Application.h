#pragma once
// The application object: the process's hidden application window (owner of the forms and of
// every message box), the single-threaded COM apartment, the message loop with its filter, and
// the standard error box.

#include <windows.h>

#include <exception>
#include <stdexcept>
#include <functional>
#include <string>
#include <vector>

namespace toolkit {

// Something that wants to see queued messages before they are translated and dispatched
// (a hosted browser control's accelerator keys, for instance). Returns true when it took the message.
class MessagePreTranslator {
public:
    virtual bool PreTranslate(MSG& message) = 0;

protected:
    ~MessagePreTranslator() = default;
};

class Application {
public:
    Application() = default;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;
    ~Application();

    // Creates the hidden application window and finishes it: InitializeWindow, then InitializeLate.
    void Initialize();
    // The two halves of Initialize, for a start that plants its toolbar before the rest.
    // The hidden application window, whose extended style is exactly WS_EX_TOOLWINDOW so that the
    // process has no taskbar button.
    void InitializeWindow();
    // What the start leaves until its toolbar is planted: the application window's icon (nothing
    // shows that window), the libraries left for later (LateLibraries.h), and COM on this thread as
    // a single-threaded apartment. Throws Error when a library cannot be loaded.
    void InitializeLate();
    HWND Handle() const noexcept { return handle_; }

    // The executable's file name without folder, cut at its first full stop, every character
    // after the first in lower case.
    const std::wstring& Title() const noexcept { return title_; }

    // The filter sees every message the loop takes from the queue; setting handled stops it there.
    using MessageFilter = std::function<void(MSG& message, bool& handled)>;
    void SetOnMessage(MessageFilter filter) { onMessage_ = std::move(filter); }
    void AddPreTranslator(MessagePreTranslator* translator);
    void RemovePreTranslator(MessagePreTranslator* translator);

    // Runs the loop until Terminate; returns the exit code carried by WM_QUIT.
    int Run();
    // Ends the message loop. A message box or a menu that is open at that moment ends too.
    void Terminate() noexcept;
    bool Terminated() const noexcept { return terminated_; }

    // Runs f; an exception that escapes it is shown in the standard error box. Returns false then.
    template <typename F>
    bool Guard(F&& f) noexcept {
        try {
            f();
            return true;
        } catch (const std::exception& error) {
            ShowException(error);
        } catch (...) {
            ShowException(std::runtime_error("unknown error"));
        }
        return false;
    }

    // The standard error box: owned by the application window, error icon, OK.
    void ShowException(const std::exception& error) noexcept;
    // A modal box owned by the application window, with the program's other windows disabled.
    int MessageBox(const std::wstring& text, const std::wstring& caption, UINT flags) noexcept;

    // True while a box or a menu of the program is open (see ModalScope). A box disables only
    // top-level windows, so a window of the program planted in another program's window stays
    // live under it: such a window asks this before it runs a command.
    bool ModalOpen() const noexcept { return modalDepth_ > 0; }

private:
    friend class ModalScope;
    bool PreTranslate(MSG& message);

    HWND handle_ = nullptr;
    bool comInitialized_ = false;
    bool terminated_ = false;
    int modalDepth_ = 0;
    std::wstring title_;
    MessageFilter onMessage_;
    std::vector<MessagePreTranslator*> preTranslators_;
};

// The process's one application object.
Application& App();

// Marks a box or a menu of the program as open for the life of a scope.
class ModalScope {
public:
    ModalScope() noexcept;
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
};

// The error box's text: the message, with a full stop added when its last character sorts after ".".
std::wstring ErrorBoxText(const std::wstring& message);
// The application title for an executable's file name (folder already removed).
std::wstring ApplicationTitleFor(const std::string& exeFileName);

}  // namespace toolkit
