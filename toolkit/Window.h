#pragma once
// A window that is a C++ object: the object's pointer travels in lpCreateParams, is kept in
// GWLP_USERDATA and is cleared at WM_NCDESTROY. Each class has one switch in HandleMessage.
// An exception thrown by a handler never leaves the window procedure: it ends that handler and
// is shown in the standard error box.

#include <windows.h>

namespace toolkit {

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

class Window {
public:
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Handle() const noexcept { return hwnd_; }

protected:
    Window() = default;

    // Registers the class on first use and creates the window; throws Error on failure.
    void CreateWindowObject(const WindowClass& windowClass, const wchar_t* title, const WindowPlacement& placement);
    void DestroyWindowObject() noexcept;

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

// Gives an existing control (an edit box, a toolbar) a HandleMessage of its own through
// SetWindowSubclass; the object's pointer is the subclass's reference data.
class SubclassedControl {
public:
    SubclassedControl(const SubclassedControl&) = delete;
    SubclassedControl& operator=(const SubclassedControl&) = delete;
    virtual ~SubclassedControl();

    HWND Handle() const noexcept { return hwnd_; }

protected:
    SubclassedControl() = default;
    void Attach(HWND control);
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR refData);
    HWND hwnd_ = nullptr;
};

}  // namespace toolkit
