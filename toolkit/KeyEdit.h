#pragma once
// A single-line edit box whose key-downs and typed characters pass the owner's handlers first: a
// handler that sets the key to 0 keeps it from the box. Its text is read and set in the ANSI
// code page.

#include <windows.h>

#include <functional>
#include <string>

#include "toolkit/Window.h"

namespace toolkit {

struct KeyEditOptions {
    const wchar_t* text = L"";       // the text it starts with
    bool visible = true;             // shown at creation
    bool selectAllOnFocus = false;   // the whole text selected when the focus comes other than by a click
};

class TKeyEdit : public SubclassedControl {
public:
    // Throws Error when the box cannot be made.
    TKeyEdit(HWND parent, const RECT& bounds, HFONT font, const KeyEditOptions& options);

    std::string Text() const;
    void SetText(const std::string& text);

    std::function<void(WORD& key)> OnKeyDown;     // WM_KEYDOWN and WM_SYSKEYDOWN
    std::function<void(wchar_t& key)> OnKeyPress;  // WM_CHAR

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT KeyDown(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Character(UINT message, WPARAM wParam, LPARAM lParam);

    bool selectAllOnFocus_;
    bool clicking_ = false;
};

// Makes box an address box, as each of the program's is: Enter runs onEnter and its character
// never reaches the box, and the box handles no key going down itself (no caret keys, no Delete,
// no window keys), so it takes typed characters (and Backspace) only.
void HandleAddressKeys(TKeyEdit& box, std::function<void()> onEnter);

}  // namespace toolkit
