#pragma once
// A one-row common-controls tool bar built from a table of items: separators, placeholders that
// keep room for another control, buttons, check buttons and buttons that drop a menu down, with
// pictures from two image lists and tooltips of their own. The bar handles its own clicks and
// drop-downs (reflected from its parent) and hands each to OnItem with the item's id.

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/Handles.h"
#include "toolkit/Window.h"

namespace toolkit {

class TImageList;
class TPopupMenu;

enum class ToolKind { Separator, Placeholder, Button, Check, DropDown };

// One item of a bar, in a table of items left to right. No item names its place: the first sits
// at 0 and each other where the one before it ends (LeftOf).
struct ToolItem {
    int id;                        // the command id, unique within the bar, not 0
    ToolKind kind;
    int width = 0;                 // separators and placeholders; buttons are as wide as the bar says
    int image = -1;                // buttons: the picture's index in the image lists
    const wchar_t* tip = nullptr;  // a tooltip of its own, or none
};

constexpr int WidthOf(const ToolItem& item, int buttonWidth) {
    return item.kind == ToolKind::Separator || item.kind == ToolKind::Placeholder ? item.width : buttonWidth;
}

// Item id of the table; null when no item has that id.
constexpr const ToolItem* FindItem(std::span<const ToolItem> items, int id) {
    for (const ToolItem& item : items)
        if (item.id == id) return &item;
    return nullptr;
}

// Where the bar puts item id of the table, in its client area; -1 when no item has that id.
constexpr int LeftOf(std::span<const ToolItem> items, int id, int buttonWidth) {
    int x = 0;
    for (const ToolItem& item : items) {
        if (item.id == id) return x;
        x += WidthOf(item, buttonWidth);
    }
    return -1;
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

// What a form does for an item of its bar, one row of the form's table: the handler a click runs,
// or the menu a drop-down button shows; and the member that names the button, if one does.
template <typename Form>
struct ToolCommand {
    int id;
    void (Form::*click)() = nullptr;
    TPopupMenu& (*menu)(Form& form) = nullptr;
    std::unique_ptr<TToolButton> Form::*button = nullptr;
};

// True when every row of the table names an item of the bar's items.
template <typename Form>
constexpr bool CommandsNameItems(std::span<const ToolCommand<Form>> commands, std::span<const ToolItem> items) {
    for (const ToolCommand<Form>& command : commands)
        if (!FindItem(items, command.id)) return false;
    return true;
}

// Does what the form's table says for item id of bar: drops its menu down under it, or runs its
// handler. An item without a row, or a row with neither, does nothing.
template <typename Form>
void RunToolCommand(std::span<const ToolCommand<Form>> commands, int id, Form& form, TToolBar& bar) {
    for (const ToolCommand<Form>& command : commands) {
        if (command.id != id) continue;
        if (command.menu)
            bar.DropDown(id, command.menu(form));
        else if (command.click)
            (form.*(command.click))();
        return;
    }
}

}  // namespace toolkit
