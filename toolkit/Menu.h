#pragma once
// The menu model every menu of the program uses, and the popup menu that shows it.
//
// An item has a caption, an integer Tag, an image index (-1: none), visible and
// enabled flags, an optional click action and ordered children. An item with children opens them
// as a submenu; one without is a command item. A caption that is exactly "-" is a separator that
// cannot be chosen; "&" marks the next character as the access key and is not drawn ("&&" draws
// one "&"). Children belong to their parent item and are destroyed with it.
//
// A caption is ANSI text (a tag entry's caption is also the text it inserts, byte for byte), or
// UTF-16 text for names that the ANSI code page may not hold (file and folder names): the menu
// shows the wide caption as it is, and Caption() then gives its ANSI form.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Object.h"

namespace toolkit {

class TImageList;
class TMenuItem;

using TMenuClickEvent = std::function<void(TMenuItem& sender)>;

class TMenuItem {
public:
    explicit TMenuItem(std::string caption = {});
    explicit TMenuItem(std::wstring caption);
    TMenuItem(const TMenuItem&) = delete;
    TMenuItem& operator=(const TMenuItem&) = delete;
    ~TMenuItem();

    const std::string& Caption() const;
    void SetCaption(std::string caption);
    void SetCaption(std::wstring caption);
    // The caption as the menu shows it.
    std::wstring WideCaption() const;
    // True when the caption was given as UTF-16 text.
    bool HasWideCaption() const noexcept { return isWide_; }
    int Tag() const noexcept { return tag_; }
    void SetTag(int tag) noexcept { tag_ = tag; }
    int ImageIndex() const noexcept { return imageIndex_; }
    void SetImageIndex(int index) noexcept { imageIndex_ = index; }
    bool Visible() const noexcept { return visible_; }
    void SetVisible(bool visible) noexcept { visible_ = visible; }
    bool Enabled() const noexcept { return enabled_; }
    void SetEnabled(bool enabled) noexcept { enabled_ = enabled; }
    bool IsSeparator() const noexcept { return isWide_ ? wideCaption_ == L"-" : caption_ == "-"; }

    const TMenuClickEvent& OnClick() const noexcept { return onClick_; }
    void SetOnClick(TMenuClickEvent onClick) { onClick_ = std::move(onClick); }
    // Runs the click action, if there is one.
    void Click();

    size_t Count() const noexcept { return children_.size(); }
    TMenuItem& Item(size_t index) const { return *children_.at(index); }
    TMenuItem* Parent() const noexcept { return parent_; }
    // Appends or inserts a child and returns it; the item owns its children.
    TMenuItem& Add(std::unique_ptr<TMenuItem> child);
    TMenuItem& Insert(size_t index, std::unique_ptr<TMenuItem> child);
    // Removes and destroys children from index on (all of them by default).
    void DeleteFrom(size_t index = 0);
    // Moves every child of from, in order, to the end of this item's children.
    void AdoptChildrenOf(TMenuItem& from);

    // Children made only when the item's submenu first opens: make appends them. opens tells the
    // menu beforehand whether the item will show any of them, that is whether it opens a submenu
    // or is a plain item.
    void SetChildrenMaker(std::function<void(TMenuItem& item)> make, bool opens);
    bool ChildrenPending() const noexcept { return makeChildren_ && *makeChildren_; }
    bool PendingChildrenOpen() const noexcept { return pendingOpens_; }
    // Runs a pending maker, once.
    void MakeChildren();

private:
    // Laid out small, the flags together: a large menu holds tens of thousands of items. The maker
    // of pending children, which few items have, is kept apart.
    // A wide caption's ANSI form is made when first asked for: a menu shows the wide one.
    mutable std::string caption_;
    std::wstring wideCaption_;
    TMenuClickEvent onClick_;
    std::vector<std::unique_ptr<TMenuItem>> children_;
    std::unique_ptr<std::function<void(TMenuItem&)>> makeChildren_;
    TMenuItem* parent_ = nullptr;
    int tag_ = 0;
    int imageIndex_ = -1;
    mutable bool ansiPending_ = false;
    bool isWide_ = false;
    bool visible_ = true;
    bool enabled_ = true;
    bool pendingOpens_ = false;
};

// A popup menu over a TMenuItem tree. The Win32 menu is built when the menu opens (each submenu
// when it opens), so a large tree costs only what is looked at; the chosen item's click action
// runs after the menu has closed.
class TPopupMenu : public TObject {
public:
    TPopupMenu();
    TPopupMenu(const TPopupMenu&) = delete;
    TPopupMenu& operator=(const TPopupMenu&) = delete;
    ~TPopupMenu() override;

    TMenuItem& Items() noexcept { return items_; }

    // Runs each time the menu is about to show, before it looks at its items.
    std::function<void()> OnPopup;

    // With an image list the items are drawn by the program (owner-drawn).
    void SetImages(TImageList* images) noexcept { images_ = images; }
    TImageList* Images() const noexcept { return images_; }
    // Access keys of the menu system's own choosing: this program always turns them off.
    void SetAutoHotkeys(bool on) noexcept { autoHotkeys_ = on; }
    bool AutoHotkeys() const noexcept { return autoHotkeys_; }
    // Hides separators that would stand first or last, and all but the last of a run.
    void SetAutoLineReduction(bool on) noexcept { autoLineReduction_ = on; }
    bool AutoLineReduction() const noexcept { return autoLineReduction_; }

    // The window that owns the menu while it is open and that shell calls receive.
    void SetOwnerWindow(HWND owner) noexcept { owner_ = owner; }
    HWND OwnerWindow() const noexcept { return owner_; }

    // Shows the menu with its top-left corner at a screen point and returns once it has closed
    // and the chosen item's action, if any, has run. Invisible items are left out, and with
    // AutoLineReduction so are the separators it hides; a group with nothing to show is a plain
    // item. While the menu is open it has the keyboard, also when another thread's window (the
    // host's) is in front; that window is in front again when the menu closes.
    void Popup(int x, int y);

private:
    class Session;

    TMenuItem items_;
    TImageList* images_ = nullptr;
    bool autoHotkeys_ = false;
    bool autoLineReduction_ = false;
    HWND owner_ = nullptr;
};

}  // namespace toolkit
