#pragma once
// A one-row common-controls tool bar built from a table of items: separators, placeholders that
// keep room for another control, buttons, check buttons and buttons that drop a menu down, with
// pictures from two image lists and tooltips of their own. The bar handles its own clicks and
// drop-downs (reflected from its parent) and hands each to OnItem with the item's id.

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "Handles.h"
#include "Window.h"

namespace toolkit {

class TImageList;
class TPopupMenu;

enum class ToolKind { Separator, Placeholder, Button, Check, DropDown };

// One item of a bar, in a table of items left to right.
struct ToolItem {
    int id;                        // the command id, unique within the bar, not 0
    ToolKind kind;
    int x;                         // its left edge in the bar
    int width = 0;                 // separators and placeholders; buttons are as wide as the bar says
    int image = -1;                // buttons: the picture's index in the image lists
    const wchar_t* tip = nullptr;  // a tooltip of its own, or none
};

constexpr int WidthOf(const ToolItem& item, int buttonWidth) {
    return item.kind == ToolKind::Separator || item.kind == ToolKind::Placeholder ? item.width : buttonWidth;
}

// True when the first item starts at 0 and each other where the one before it ends: the x of
// every row is then where the bar puts the item. Rows are a table whose rows have an `item`.
template <typename Rows>
constexpr bool ItemsAdjoin(const Rows& rows, int buttonWidth) {
    int x = 0;
    for (const auto& row : rows) {
        if (row.item.x != x) return false;
        x += WidthOf(row.item, buttonWidth);
    }
    return true;
}

struct ToolBarLook {
    RECT bounds;        // in the parent's client area
    SIZE button;        // every button's size
    bool divider;       // the edge line along the bar's top
    // The items' own tips wait for AddTips: a bar that must show quickly leaves their window for later.
    bool tipsLater = false;
};

class TToolBar : public SubclassedControl {
public:
    // Creates the bar, visible, with its items; throws Error when it cannot.
    TToolBar(HWND parent, const ToolBarLook& look, const TImageList& normalImages, const TImageList& hotImages,
             std::span<const ToolItem> items);
    ~TToolBar() override;

    // A click on a button or a check button, or a drop-down button pressed (its only action).
    std::function<void(int id)> OnItem;

    RECT ItemRect(int id) const;  // in the bar's client area
    bool Enabled(int id) const;
    void SetEnabled(int id, bool enabled);
    bool Checked(int id) const;
    void SetChecked(int id, bool checked);
    bool Hidden(int id) const;
    void SetHidden(int id, bool hidden);
    // Gives the item a tip that can change (several lines, "\n" between them); empty: none.
    void SetTip(int id, const std::wstring& text);
    // Gives the items their own tips (the bar does so itself unless its look says tipsLater); once.
    void AddTips();
    void SetFlat(bool flat);
    void SetBounds(const RECT& bounds);

    // Keeps the control over the placeholder id, now and whenever the bar lays itself out again.
    void PlaceOver(int id, HWND control);
    // Shows the menu under the button, which stays pressed while it is open; returns once it has
    // closed and its choice has run. Counts as a modal scope meanwhile (Application::ModalOpen).
    void DropDown(int id, TPopupMenu& menu);

private:
    bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    const ToolItem* Find(int id) const;
    TTTOOLINFOW ToolInfo(const ToolItem& item) const;  // the tooltip's record of an item
    void AddItems(std::span<const ToolItem> items);
    bool EnsureTooltip();
    bool HasTip(const ToolItem& item) const;
    void FollowLayout();

    std::vector<ToolItem> items_;
    std::vector<std::pair<int, HWND>> placed_;
    std::vector<int> changingTips_;  // the items that have a tip given by SetTip
    WindowHandle tooltip_;  // a top-level window, so not destroyed with the bar
    HWND tipOwner_;         // the window the bar was made in, at the top: the tooltip's owner
    bool tipsAdded_ = false;
};

// One button of a bar, by its id.
class TToolButton {
public:
    TToolButton(TToolBar& bar, int id) : bar_(bar), id_(id) {}

    int Id() const noexcept { return id_; }
    bool Enabled() const { return bar_.Enabled(id_); }
    void SetEnabled(bool enabled) { bar_.SetEnabled(id_, enabled); }
    bool Checked() const { return bar_.Checked(id_); }
    bool Hidden() const { return bar_.Hidden(id_); }

private:
    TToolBar& bar_;
    int id_;
};

}  // namespace toolkit
