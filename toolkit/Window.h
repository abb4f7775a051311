#pragma once
// Windows that are C++ objects. A window of the program's own class (Window) and an existing
// control given a handler of its own (SubclassedControl) share one base: the handle, one switch
// in HandleMessage, and notifications that come back to the control that sent them.
//
// A control sends WM_COMMAND and WM_NOTIFY to its parent; the parent's procedure first hands the
// message back to the object behind the sending control (OnReflected), so a control handles its
// own notifications and no parent compares lParam with its children. An exception thrown by a
// handler never leaves the window procedure: it ends that handler and is shown in the standard
// error box.

#include <windows.h>

namespace toolkit {

class WindowObject {
public:
    WindowObject(const WindowObject&) = delete;
    WindowObject& operator=(const WindowObject&) = delete;
    virtual ~WindowObject() = default;

    HWND Handle() const noexcept { return hwnd_; }

    // The object behind a window of this program, or null for any other window.
    static WindowObject* FromHandle(HWND window) noexcept;

protected:
    WindowObject() = default;

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // A WM_COMMAND or WM_NOTIFY that this window sent to its parent. Returns true when it was
    // handled, with the parent's answer in result.
    virtual bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    void Bind(HWND window) noexcept;
    void Unbind() noexcept;
    // What both window procedures run: the sender's turn first, then HandleMessage; guarded.
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

private:
    HWND hwnd_ = nullptr;
};

struct WindowClass {
    const wchar_t* name;
    UINT style = 0;
    HBRUSH background = nullptr;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;  // null: the arrow
};

struct WindowPlacement {
    DWORD exStyle = 0;
    DWORD style = 0;
    int x = 0, y = 0, width = 0, height = 0;
    HWND parent = nullptr;
    HMENU menuOrId = nullptr;
};

// A window of a class the program registers itself; the object's pointer travels in
// lpCreateParams and is bound at WM_NCCREATE, unbound at WM_NCDESTROY.
class Window : public WindowObject {
public:
    ~Window() override;

protected:
    Window() = default;

    // Registers the class on first use and creates the window; throws Error on failure.
    void CreateWindowObject(const WindowClass& windowClass, const wchar_t* title, const WindowPlacement& placement);
    void DestroyWindowObject() noexcept;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

// Gives an existing control (an edit box, a toolbar) a HandleMessage of its own through
// SetWindowSubclass; the object's pointer is the subclass's reference data.
class SubclassedControl : public WindowObject {
public:
    ~SubclassedControl() override;

protected:
    SubclassedControl() = default;
    void Attach(HWND control);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR refData);
};

}  // namespace toolkit
