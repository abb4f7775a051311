#include "toolkit/Menu.h"

#include <algorithm>
#include <stdexcept>

#include "toolkit/Application.h"
#include "toolkit/Error.h"
#include "toolkit/Handles.h"
#include "toolkit/ImageList.h"
#include "toolkit/Text.h"
#include "toolkit/Window.h"
#include "toolkit/core/MenuRules.h"

namespace toolkit {

// ---- The model ---------------------------------------------------------------------------------

TMenuItem::TMenuItem(std::string caption) : caption_(std::move(caption)) {}

TMenuItem::TMenuItem(std::wstring caption) { SetCaption(std::move(caption)); }

void TMenuItem::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    ansiPending_ = false;
    wideCaption_.clear();
    isWide_ = false;
}

void TMenuItem::SetCaption(std::wstring caption) {
    caption_.clear();
    ansiPending_ = true;
    wideCaption_ = std::move(caption);
    isWide_ = true;
}

const std::string& TMenuItem::Caption() const {
    if (ansiPending_) {
        caption_ = WideToAnsi(wideCaption_);
        ansiPending_ = false;
    }
    return caption_;
}

std::wstring TMenuItem::WideCaption() const { return isWide_ ? wideCaption_ : AnsiToWide(caption_); }

TMenuItem::~TMenuItem() = default;

void TMenuItem::Click() {
    if (onClick_) onClick_(*this);
}

TMenuItem& TMenuItem::Add(std::unique_ptr<TMenuItem> child) { return Insert(children_.size(), std::move(child)); }

TMenuItem& TMenuItem::Insert(size_t index, std::unique_ptr<TMenuItem> child) {
    if (!child) throw std::invalid_argument("TMenuItem::Insert: no item");
    child->parent_ = this;
    const auto at = children_.begin() + static_cast<std::ptrdiff_t>(std::min(index, children_.size()));
    return **children_.insert(at, std::move(child));
}

void TMenuItem::DeleteFrom(size_t index) {
    if (index < children_.size())
        children_.erase(children_.begin() + static_cast<std::ptrdiff_t>(index), children_.end());
}

void TMenuItem::SetChildrenMaker(std::function<void(TMenuItem& item)> make, bool opens) {
    makeChildren_ = make ? std::make_unique<std::function<void(TMenuItem&)>>(std::move(make)) : nullptr;
    pendingOpens_ = opens;
}

void TMenuItem::MakeChildren() {
    if (!ChildrenPending()) return;
    const std::unique_ptr<std::function<void(TMenuItem&)>> make = std::move(makeChildren_);
    (*make)(*this);
}

void TMenuItem::AdoptChildrenOf(TMenuItem& from) {
    if (&from == this) return;
    children_.reserve(children_.size() + from.children_.size());
    for (std::unique_ptr<TMenuItem>& child : from.children_) {
        child->parent_ = this;
        children_.push_back(std::move(child));
    }
    from.children_.clear();
}

// ---- The popup menu ----------------------------------------------------------------------------

namespace {

constexpr wchar_t kMenuOwnerClass[] = L"TMenuOwnerWindow";

// Owner-drawn layout, left to right: margin, image column, gap, caption, room for the arrow.
constexpr int kImageMargin = 2;
constexpr int kCaptionGap = 6;
constexpr int kCaptionRightMargin = 16;

TMenuItem* ItemOf(ULONG_PTR data) noexcept { return reinterpret_cast<TMenuItem*>(data); }

std::vector<MenuSlot> SlotsOf(const TMenuItem& parent) {
    std::vector<MenuSlot> slots;
    slots.reserve(parent.Count());
    for (size_t i = 0; i < parent.Count(); ++i) {
        const TMenuItem& child = parent.Item(i);
        slots.push_back(MenuSlot{child.Visible(), child.IsSeparator()});
    }
    return slots;
}

// Each Win32 menu knows the model item whose children it shows.
void SetMenuModel(HMENU menu, TMenuItem& parent) {
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_MENUDATA;
    info.dwMenuData = reinterpret_cast<ULONG_PTR>(&parent);
    ::SetMenuInfo(menu, &info);
}

TMenuItem* MenuModelOf(HMENU menu) {
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_MENUDATA;
    return ::GetMenuInfo(menu, &info) ? ItemOf(info.dwMenuData) : nullptr;
}

MenuHandle NewPopupMenu() {
    MenuHandle menu(::CreatePopupMenu());
    if (!menu) throw Error(L"メニューを作成できません");
    return menu;
}

FontHandle NewMenuFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return FontHandle();
    return FontHandle(::CreateFontIndirectW(&metrics.lfMenuFont));
}

wchar_t UpperCase(wchar_t c) noexcept {
    // CharUpperW takes a single character in the low word of its pointer argument.
    const auto single = reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(c));
    return static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(::CharUpperW(single)));
}

// A memory device context for measuring text, with the menu font selected, for one showing.
class MeasuringDC {
public:
    explicit MeasuringDC(HFONT font) noexcept : dc_(::CreateCompatibleDC(nullptr)), font_(dc_.Get(), font) {}
    HDC Get() const noexcept { return dc_.Get(); }

private:
    MemoryDc dc_;  // declared first: the font is deselected before the context goes
    SelectObjectScope font_;
};

// Keys go to the thread of the foreground window. When that is another thread's window (the host's,
// around the toolbar that dropped the menu), the menu's owner becomes the foreground window while
// the menu is open, so that the keys reach the menu; afterwards the other window gets the
// foreground back, unless the user has meanwhile brought up a third one.
class KeyboardForMenu {
public:
    explicit KeyboardForMenu(HWND owner) noexcept : owner_(owner), previous_(::GetForegroundWindow()) {
        if (!previous_ || ::GetWindowThreadProcessId(previous_, nullptr) == ::GetCurrentThreadId()) {
            previous_ = nullptr;
            return;
        }
        ::SetForegroundWindow(owner_);
    }
    ~KeyboardForMenu() {
        if (!previous_ || !::IsWindow(previous_)) return;
        const HWND now = ::GetForegroundWindow();
        if (!now || now == owner_) ::SetForegroundWindow(previous_);
    }
    KeyboardForMenu(const KeyboardForMenu&) = delete;
    KeyboardForMenu& operator=(const KeyboardForMenu&) = delete;

private:
    HWND owner_;
    HWND previous_;
};

}  // namespace

// One showing of the menu: the hidden window that owns it while it is open, and the Win32 menus,
// which live only as long as the showing. A group's Win32 menu is filled when the group first
// opens, so a large tree costs only the groups the user looks at.
class TPopupMenu::Session : public Window {
public:
    explicit Session(TPopupMenu& menu) : menu_(menu) {
        WindowPlacement placement;
        placement.exStyle = WS_EX_TOOLWINDOW;
        placement.style = WS_POPUP;
        placement.parent = menu.OwnerWindow() ? menu.OwnerWindow() : App().Handle();
        CreateWindowObject(WindowClass{kMenuOwnerClass}, L"", placement);
        if (OwnerDrawn()) {
            font_ = NewMenuFont();
            measuring_ = std::make_unique<MeasuringDC>(Font());
        }
    }

    // Shows the menu until it closes; returns the chosen item, or null when nothing was chosen.
    TMenuItem* Track(int x, int y) {
        root_ = NewPopupMenu();
        SetMenuModel(root_.Get(), menu_.Items());
        Fill(root_.Get(), menu_.Items());
        if (::GetMenuItemCount(root_.Get()) <= 0) return nullptr;
        const UINT flags = TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD;
        const KeyboardForMenu keyboard(Handle());
        const BOOL command = ::TrackPopupMenuEx(root_.Get(), flags, x, y, Handle(), nullptr);
        root_.Reset();
        if (command <= 0 || static_cast<size_t>(command) > commands_.size()) return nullptr;
        return commands_[static_cast<size_t>(command) - 1];
    }

private:
    bool OwnerDrawn() const noexcept { return menu_.Images() != nullptr; }
    HFONT Font() const noexcept {
        return font_ ? font_.Get() : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_INITMENUPOPUP:
            if (HIWORD(lParam) == 0) OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
            return 0;
        case WM_MEASUREITEM: {
            auto& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (measure.CtlType != ODT_MENU || !OwnerDrawn()) break;
            OnMeasureItem(measure);
            return TRUE;
        }
        case WM_DRAWITEM: {
            const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (draw.CtlType != ODT_MENU || !OwnerDrawn()) break;
            OnDrawItem(draw);
            return TRUE;
        }
        case WM_MENUCHAR:
            return OnMenuChar(static_cast<wchar_t>(LOWORD(wParam)), reinterpret_cast<HMENU>(lParam));
        }
        return Default(message, wParam, lParam);
    }

    // Appends the children of parent that the menu shows at this moment.
    void Fill(HMENU menu, TMenuItem& parent) {
        parent.MakeChildren();
        const std::vector<bool> shown = ShownMenuItems(SlotsOf(parent), menu_.AutoLineReduction());
        UINT position = 0;
        for (size_t i = 0; i < parent.Count(); ++i)
            if (shown[i]) Append(menu, position++, parent.Item(i));
    }

    void Append(HMENU menu, UINT position, TMenuItem& item) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_DATA;
        info.fType = OwnerDrawn() ? MFT_OWNERDRAW : MFT_STRING;
        info.fState = item.Enabled() ? MFS_ENABLED : MFS_DISABLED;
        info.dwItemData = reinterpret_cast<ULONG_PTR>(&item);
        std::wstring caption;
        MenuHandle submenu;
        if (item.IsSeparator()) {
            info.fType |= MFT_SEPARATOR;
        } else {
            // Owner-drawn items carry their text too, for the menu system's own access keys.
            caption = item.WideCaption();
            info.fMask |= MIIM_STRING;
            info.dwTypeData = caption.data();
            const bool opens = item.ChildrenPending() ? item.PendingChildrenOpen()
                                                      : ShowsAnyMenuItem(SlotsOf(item), menu_.AutoLineReduction());
            if (opens) {
                submenu = NewPopupMenu();
                SetMenuModel(submenu.Get(), item);
                info.fMask |= MIIM_SUBMENU;
                info.hSubMenu = submenu.Get();
            } else {
                // A group that would open empty is a plain command item.
                commands_.push_back(&item);
                info.fMask |= MIIM_ID;
                info.wID = static_cast<UINT>(commands_.size());
            }
        }
        if (!::InsertMenuItemW(menu, position, TRUE, &info)) throw Error(L"メニューを作成できません");
        submenu.Release();  // the parent menu destroys it now
    }

    void OnInitMenuPopup(HMENU menu) {
        // Every group with a Win32 menu shows at least one item, so an empty one is not filled yet.
        if (::GetMenuItemCount(menu) != 0) return;
        if (TMenuItem* parent = MenuModelOf(menu)) Fill(menu, *parent);
    }

    int CaptionIndent() const noexcept { return kImageMargin + menu_.Images()->Width() + kCaptionGap; }

    void OnMeasureItem(MEASUREITEMSTRUCT& measure) {
        const TMenuItem* item = ItemOf(measure.itemData);
        if (!item) return;
        if (item->IsSeparator()) {
            measure.itemHeight = kOwnerDrawnSeparatorHeight;
            measure.itemWidth = static_cast<UINT>(CaptionIndent());
            return;
        }
        const std::wstring caption = item->WideCaption();
        RECT text{};
        if (measuring_ && measuring_->Get())
            ::DrawTextW(measuring_->Get(), caption.c_str(), static_cast<int>(caption.size()), &text,
                        DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
        measure.itemHeight = static_cast<UINT>(OwnerDrawnItemHeight(menu_.Images()->Height()));
        measure.itemWidth = static_cast<UINT>(CaptionIndent() + (text.right - text.left) + kCaptionRightMargin);
    }

    void OnDrawItem(const DRAWITEMSTRUCT& draw) {
        const TMenuItem* item = ItemOf(draw.itemData);
        if (!item) return;
        const SavedDcScope saved(draw.hDC);
        const bool selected = (draw.itemState & ODS_SELECTED) != 0 && !item->IsSeparator();
        const bool grayed = (draw.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
        RECT area = draw.rcItem;
        ::FillRect(draw.hDC, &area, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
        if (item->IsSeparator()) {
            area.top += (area.bottom - area.top) / 2 - 1;
            ::DrawEdge(draw.hDC, &area, EDGE_ETCHED, BF_TOP);
            return;
        }
        const TImageList& images = *menu_.Images();
        if (item->ImageIndex() >= 0 && item->ImageIndex() < images.Count()) {
            const int top = area.top + ((area.bottom - area.top) - images.Height()) / 2;
            images.Draw(item->ImageIndex(), draw.hDC, area.left + kImageMargin, top,
                        grayed ? ILD_TRANSPARENT | ILD_BLEND50 : ILD_TRANSPARENT);
        }
        area.left += CaptionIndent();
        ::SetBkMode(draw.hDC, TRANSPARENT);
        ::SetTextColor(draw.hDC, ::GetSysColor(grayed ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
        ::SelectObject(draw.hDC, Font());
        // The access key is underlined only while the system shows keyboard cues.
        const UINT prefix = (draw.itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0;
        const std::wstring caption = item->WideCaption();
        ::DrawTextW(draw.hDC, caption.c_str(), static_cast<int>(caption.size()), &area,
                    DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_EXPANDTABS | prefix);
    }

    // The menu system leaves access keys of owner-drawn items to their owner.
    LRESULT OnMenuChar(wchar_t key, HMENU menu) {
        const int count = ::GetMenuItemCount(menu);
        std::vector<int> matches;
        int highlighted = -1;
        for (int i = 0; i < count; ++i) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_DATA | MIIM_STATE;
            if (!::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
            if (info.fState & MFS_HILITE) highlighted = i;
            const TMenuItem* item = ItemOf(info.dwItemData);
            if (!item || item->IsSeparator() || (info.fState & MFS_DISABLED)) continue;
            const wchar_t itemKey = AccessKeyOf(item->WideCaption());
            if (itemKey != 0 && UpperCase(itemKey) == UpperCase(key)) matches.push_back(i);
        }
        if (matches.empty()) return MAKELRESULT(0, MNC_IGNORE);
        if (matches.size() == 1) return MAKELRESULT(matches.front(), MNC_EXECUTE);
        // Items that share a key are visited in turn, one per key press.
        const auto next = std::upper_bound(matches.begin(), matches.end(), highlighted);
        return MAKELRESULT(next == matches.end() ? matches.front() : *next, MNC_SELECT);
    }

    TPopupMenu& menu_;
    MenuHandle root_;
    std::vector<TMenuItem*> commands_;  // command id n chooses commands_[n - 1]
    FontHandle font_;
    std::unique_ptr<MeasuringDC> measuring_;
};

TPopupMenu::TPopupMenu() = default;

TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::Popup(int x, int y) {
    if (OnPopup) OnPopup();
    TMenuItem* chosen = nullptr;
    {
        Session session(*this);
        chosen = session.Track(x, y);
    }
    // The menu and its window are gone before the choice is delivered.
    if (chosen && chosen->Enabled() && !chosen->IsSeparator()) chosen->Click();
}

}  // namespace toolkit
