#pragma once
// TToolBar1: the toolbar that Corvane plants in the host editor's toolbar.
//
// The window that moves into the host is a container of Corvane's own class ("TCorvaneToolBar").
// Its border (1 pixel flat, none raised) lies outside its client area; inside, the common-controls
// tool bar fills the client area, and over a placeholder in it sits the address box, so every
// item sits at its place in the container's client area. A common-controls tool bar keeps sending
// its notifications to the window it was created under, so only the container changes parent:
// clicks, drop-downs and tooltips keep arriving in this process however far the container travels.

#include <windows.h>

#include <memory>
#include <span>

#include "toolbar/ToolbarItems.h"
#include "toolkit/Handles.h"
#include "toolkit/ImageList.h"
#include "toolkit/KeyEdit.h"
#include "toolkit/ToolBar.h"
#include "toolkit/Window.h"

namespace toolbar {

class TToolBar1 : public toolkit::Window {
public:
    static constexpr int kWidth = 337;
    static constexpr int kHeight = 28;
    static constexpr SIZE kButtonSize = kToolbarButtonSize;

    // Creates the toolbar, hidden, as a child of form, with the items given left to right; the
    // address box, in the font given, sits over the placeholder addressItem.
    TToolBar1(HWND form, const toolkit::TImageList& normalImages, const toolkit::TImageList& hotImages,
              std::span<const toolkit::ToolItem> items, int addressItem, toolkit::FontHandle font);
    ~TToolBar1() override;

    toolkit::TToolBar& Buttons() noexcept { return *buttons_; }
    toolkit::TKeyEdit& URL() noexcept { return *url_; }

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

private:
    RECT ClientBounds() const noexcept;
    void Move();
    void PaintBorder();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    toolkit::FontHandle font_;  // goes after the address box that uses it
    std::unique_ptr<toolkit::TToolBar> buttons_;
    std::unique_ptr<toolkit::TKeyEdit> url_;
    bool flat_ = true;
    int borderWidth_ = 1;
    int left_ = 0;
    int top_ = 0;
};

}  // namespace toolbar
