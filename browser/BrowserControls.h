#pragma once
// The controls of the browser window's tool bar: the bar itself, its buttons and the address box.

#include <windows.h>

#include <functional>
#include <string>

#include "toolkit/Handles.h"
#include "toolkit/ImageList.h"
#include "toolkit/Window.h"

// A one-row tool bar of flat image buttons without captions or tooltips, with the usual edge
// line along its top. Its buttons report clicks to the parent as WM_COMMAND with their id.
class TToolBar {
public:
    TToolBar(HWND parent, int width, int height, int buttonWidth, int buttonHeight);

    HWND Handle() const noexcept { return bar_.Get(); }
    void SetImages(const toolkit::TImageList& normal, const toolkit::TImageList& hot);
    // Keeps room of the given width for a control placed on the bar.
    void AddSpace(int width);
    void AddButton(int id, int image);
    void SetWidth(int width);
    RECT ButtonRect(int id) const;

private:
    toolkit::WindowHandle bar_;
    int height_;
};

// One button of a tool bar.
class TToolButton {
public:
    TToolButton(const TToolBar& bar, int id) : bar_(bar.Handle()), id_(id) {}

    int Id() const noexcept { return id_; }
    bool Enabled() const;
    void SetEnabled(bool enabled);

private:
    HWND bar_;
    int id_;
};

// A single-line edit box whose key-downs and characters pass the owner's handlers first: a
// handler that sets the key to 0 keeps it from the box. Its whole text is selected when it gets
// the focus other than by a mouse click.
class TAddressEdit : public toolkit::SubclassedControl {
public:
    TAddressEdit(HWND parent, const RECT& bounds, HFONT font);
    ~TAddressEdit() override;

    std::string Text() const;  // ANSI
    void SetText(const std::string& text);

    std::function<void(WORD& Key)> OnKeyDown;
    std::function<void(wchar_t& Key)> OnKeyPress;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT KeyDown(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Character(UINT message, WPARAM wParam, LPARAM lParam);

    bool clicking_ = false;
};
