#pragma once
// TToolBar1: the toolbar that Corvane plants in the host editor's toolbar.
//
// The window that moves into the host is a container of Corvane's own class ("TCorvaneToolBar").
// It holds the common-controls toolbar with the buttons and, over a placeholder in it, the address
// box. A common-controls toolbar keeps sending its notifications to the window it was created
// under, so only the container changes parent: clicks, drop-downs and tooltips keep arriving in
// this process however far the container travels.

#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "toolkit/Handles.h"
#include "toolkit/ImageList.h"
#include "toolkit/Menu.h"
#include "toolkit/Window.h"

// The address box: every key that goes down is offered to OnKeyDown, every typed character to
// OnKeyPress; a handler that sets the key to 0 keeps it from the box.
class TURLEdit : public toolkit::SubclassedControl {
public:
    void Create(HWND parent, int x, int y, int width, int height, HFONT font);

    std::function<void(WORD& key)> OnKeyDown;
    std::function<void(char& key)> OnKeyPress;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class TToolBar1 : public toolkit::Window {
public:
    // The toolbar's children, left to right.
    enum class Item {
        ToolButton4,
        Btn_KestrixtoBrouser,
        URL,
        Btn_Navigate,
        Btn_Favorite,
        ToolButton9,
        Btn_Tag,
        ToolButton1,
        Btn_Close,
    };
    static constexpr int kItemCount = 9;
    static constexpr int kWidth = 337;
    static constexpr int kHeight = 28;

    // Creates the toolbar, hidden, as a child of form. It draws with the two image lists and
    // takes the font (the form's) for the address box.
    TToolBar1(HWND form, const toolkit::TImageList& normalImages, const toolkit::TImageList& hotImages,
              toolkit::FontHandle font);
    ~TToolBar1() override;

    void SetOnClick(Item button, std::function<void()> action);
    // The button shows the menu under itself when pressed, and stays pressed while it is open.
    void SetDropDownMenu(Item button, toolkit::TPopupMenu& menu);

    bool Flat() const noexcept { return flat_; }
    void SetFlat(bool flat);
    int BorderWidth() const noexcept { return borderWidth_; }
    void SetBorderWidth(int width);
    int Left() const noexcept { return left_; }
    void SetLeft(int left);
    int Top() const noexcept { return top_; }
    void SetTop(int top);

    // Makes the toolbar a child of parent; with no parent it becomes a window of its own.
    void SetParentWindow(HWND parent);

    TURLEdit URL;
    std::string URLText() const;  // the address box's text, in the ANSI code page

private:
    struct ItemActions {
        std::function<void()> onClick;
        toolkit::TPopupMenu* dropDown = nullptr;
    };

    void CreateButtons(const toolkit::TImageList& normalImages, const toolkit::TImageList& hotImages);
    void CreateTooltip();
    // Keeps the address box on its placeholder and the tooltip on its button.
    void FollowLayout();
    void Move();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCommand(int commandId);
    void OnDropDown(int commandId);

    toolkit::FontHandle font_;
    toolkit::WindowHandle tooltip_;  // a top-level window, so not destroyed with the container
    HWND buttons_ = nullptr;         // the common-controls toolbar, a child of the container
    std::array<ItemActions, kItemCount> actions_;
    bool flat_ = true;
    int borderWidth_ = 1;
    int left_ = 0;
    int top_ = 0;
};
