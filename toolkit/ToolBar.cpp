#include "toolkit/ToolBar.h"

#include <commctrl.h>

#include <algorithm>

#include "toolkit/Application.h"
#include "toolkit/Error.h"
#include "toolkit/ImageList.h"
#include "toolkit/Menu.h"

namespace toolkit {

namespace {

BYTE StyleOf(ToolKind kind) {
    switch (kind) {
    case ToolKind::Separator:
    case ToolKind::Placeholder:
        return BTNS_SEP;
    case ToolKind::Check:
        return BTNS_CHECK;
    case ToolKind::DropDown:
        // Without TBSTYLE_EX_DRAWDDARROWS the whole button drops the menu down and keeps its width.
        return BTNS_DROPDOWN;
    case ToolKind::Button:
        break;
    }
    return BTNS_BUTTON;
}

TBBUTTON ButtonFor(const ToolItem& item) {
    TBBUTTON button{};
    button.idCommand = item.id;
    const bool spacer = item.kind == ToolKind::Separator || item.kind == ToolKind::Placeholder;
    button.iBitmap = spacer ? item.width : item.image;  // a separator's picture index is its width
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = StyleOf(item.kind);
    button.iString = -1;
    return button;
}

// Shows a drop-down button pressed for as long as its menu is open.
class PressedButton {
public:
    PressedButton(HWND bar, int id) : bar_(bar), id_(id) {
        ::SendMessageW(bar_, TB_PRESSBUTTON, static_cast<WPARAM>(id_), MAKELPARAM(TRUE, 0));
        ::UpdateWindow(bar_);
    }
    ~PressedButton() { ::SendMessageW(bar_, TB_PRESSBUTTON, static_cast<WPARAM>(id_), MAKELPARAM(FALSE, 0)); }
    PressedButton(const PressedButton&) = delete;
    PressedButton& operator=(const PressedButton&) = delete;

private:
    HWND bar_;
    int id_;
};

}  // namespace

TToolBar::TToolBar(HWND parent, const ToolBarLook& look, const TImageList& normalImages, const TImageList& hotImages,
                   std::span<const ToolItem> items)
    : items_(items.begin(), items.end()), tipOwner_(::GetAncestor(parent, GA_ROOT)) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    // Placed and sized by its owner, not by the bar itself.
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | TBSTYLE_FLAT | CCS_TOP |
                        CCS_NORESIZE | CCS_NOPARENTALIGN | (look.divider ? 0 : CCS_NODIVIDER);
    const RECT& r = look.bounds;
    const HWND bar = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, style, r.left, r.top, r.right - r.left,
                                       r.bottom - r.top, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!bar) throw Error(L"ツール バーを作成できません");
    try {
        Attach(bar);
    } catch (...) {
        ::DestroyWindow(bar);
        throw;
    }
    ::SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageW(bar, TB_SETBITMAPSIZE, 0, MAKELPARAM(kSmallImageSize, kSmallImageSize));
    ::SendMessageW(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(normalImages.Handle()));
    ::SendMessageW(bar, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(hotImages.Handle()));
    ::SendMessageW(bar, TB_SETBUTTONSIZE, 0, MAKELPARAM(look.button.cx, look.button.cy));
    AddItems(items);
    if (!look.tipsLater) AddTips();
}

TToolBar::~TToolBar() {
    tooltip_.Reset();
    if (Handle()) ::DestroyWindow(Handle());
}

void TToolBar::AddItems(std::span<const ToolItem> items) {
    std::vector<TBBUTTON> buttons;
    buttons.reserve(items.size());
    for (const ToolItem& item : items) buttons.push_back(ButtonFor(item));
    if (!::SendMessageW(Handle(), TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data())))
        throw Error(L"ツール バーのボタンを作成できません");
}

// The tooltips are the bar's own rather than the common control's, so that they show although
// the active window may belong to another program (the host the bar is planted in).
void TToolBar::AddTips() {
    if (std::exchange(tipsAdded_, true)) return;
    if (std::none_of(items_.begin(), items_.end(), [](const ToolItem& item) { return item.tip != nullptr; })) return;
    if (!EnsureTooltip()) return;  // the bar works without them
    for (const ToolItem& item : items_) {
        if (!item.tip) continue;
        TTTOOLINFOW tool = ToolInfo(item);
        tool.lpszText = const_cast<wchar_t*>(item.tip);
        ::SendMessageW(tooltip_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

bool TToolBar::EnsureTooltip() {
    if (tooltip_) return true;
    tooltip_.Reset(::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSW, nullptr,
                                     WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, tipOwner_, nullptr,
                                     ::GetModuleHandleW(nullptr), nullptr));
    if (!tooltip_) return false;
    // A width of its own makes the tooltip break lines at "\n"; the bar's tips are short.
    constexpr LPARAM kMaxTipWidth = 480;
    ::SendMessageW(tooltip_.Get(), TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
    ::SendMessageW(Handle(), TB_SETTOOLTIPS, reinterpret_cast<WPARAM>(tooltip_.Get()), 0);
    return true;
}

bool TToolBar::HasTip(const ToolItem& item) const {
    return item.tip || std::find(changingTips_.begin(), changingTips_.end(), item.id) != changingTips_.end();
}

void TToolBar::SetTip(int id, const std::wstring& text) {
    const ToolItem* item = Find(id);
    if (!item || item->tip) return;  // a fixed tip stays
    TTTOOLINFOW tool = ToolInfo(*item);
    const auto known = std::find(changingTips_.begin(), changingTips_.end(), id);
    if (text.empty()) {
        if (known == changingTips_.end()) return;
        ::SendMessageW(tooltip_.Get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        changingTips_.erase(known);
        return;
    }
    if (!EnsureTooltip()) return;
    tool.lpszText = const_cast<wchar_t*>(text.c_str());  // the tooltip keeps a copy
    const UINT message = known == changingTips_.end() ? TTM_ADDTOOLW : TTM_UPDATETIPTEXTW;
    ::SendMessageW(tooltip_.Get(), message, 0, reinterpret_cast<LPARAM>(&tool));
    if (known == changingTips_.end()) changingTips_.push_back(id);
}

TTTOOLINFOW TToolBar::ToolInfo(const ToolItem& item) const {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = Handle();
    tool.uId = static_cast<UINT_PTR>(item.id);
    tool.rect = ItemRect(item.id);
    return tool;
}

const ToolItem* TToolBar::Find(int id) const { return FindItem(items_, id); }

RECT TToolBar::ItemRect(int id) const {
    RECT rect{};
    ::SendMessageW(Handle(), TB_GETRECT, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&rect));
    return rect;
}

bool TToolBar::Enabled(int id) const {
    return ::SendMessageW(Handle(), TB_ISBUTTONENABLED, static_cast<WPARAM>(id), 0) != 0;
}

void TToolBar::SetEnabled(int id, bool enabled) {
    ::SendMessageW(Handle(), TB_ENABLEBUTTON, static_cast<WPARAM>(id), MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

bool TToolBar::Checked(int id) const {
    return ::SendMessageW(Handle(), TB_ISBUTTONCHECKED, static_cast<WPARAM>(id), 0) != 0;
}

void TToolBar::SetChecked(int id, bool checked) {
    ::SendMessageW(Handle(), TB_CHECKBUTTON, static_cast<WPARAM>(id), MAKELPARAM(checked ? TRUE : FALSE, 0));
}

bool TToolBar::Hidden(int id) const {
    return ::SendMessageW(Handle(), TB_ISBUTTONHIDDEN, static_cast<WPARAM>(id), 0) != 0;
}

void TToolBar::SetHidden(int id, bool hidden) {
    ::SendMessageW(Handle(), TB_HIDEBUTTON, static_cast<WPARAM>(id), MAKELPARAM(hidden ? TRUE : FALSE, 0));
    FollowLayout();
}

void TToolBar::SetFlat(bool flat) {
    // Through the window style, which the bar follows (WM_STYLECHANGED).
    LONG_PTR style = ::GetWindowLongPtrW(Handle(), GWL_STYLE);
    style = flat ? (style | TBSTYLE_FLAT) : (style & ~static_cast<LONG_PTR>(TBSTYLE_FLAT));
    ::SetWindowLongPtrW(Handle(), GWL_STYLE, style);
    // The bitmap size message makes the bar lay its buttons out again for the new style.
    ::SendMessageW(Handle(), TB_SETBITMAPSIZE, 0, MAKELPARAM(kSmallImageSize, kSmallImageSize));
    FollowLayout();
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

void TToolBar::SetBounds(const RECT& bounds) {
    ::SetWindowPos(Handle(), nullptr, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void TToolBar::PlaceOver(int id, HWND control) {
    placed_.emplace_back(id, control);
    FollowLayout();
}

void TToolBar::FollowLayout() {
    for (const auto& [id, control] : placed_) {
        const RECT slot = ItemRect(id);
        ::SetWindowPos(control, nullptr, slot.left, slot.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (!tooltip_) return;
    for (const ToolItem& item : items_) {
        if (!HasTip(item)) continue;
        const TTTOOLINFOW tool = ToolInfo(item);
        ::SendMessageW(tooltip_.Get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void TToolBar::DropDown(int id, TPopupMenu& menu) {
    RECT button = ItemRect(id);
    ::MapWindowPoints(Handle(), HWND_DESKTOP, reinterpret_cast<POINT*>(&button), 2);
    PressedButton pressed(Handle(), id);
    const ModalScope modal;
    menu.Popup(button.left, button.bottom);
}

bool TToolBar::OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_COMMAND) {
        const ToolItem* item = Find(LOWORD(wParam));
        // A drop-down button's only action is its menu.
        if (item && item->kind != ToolKind::DropDown && OnItem) OnItem(item->id);
        result = 0;
        return true;
    }
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (message != WM_NOTIFY || header->code != TBN_DROPDOWN) return false;
    const ToolItem* item = Find(reinterpret_cast<const NMTOOLBARW*>(lParam)->iItem);
    if (item && item->kind == ToolKind::DropDown && OnItem) OnItem(item->id);
    result = TBDDRET_DEFAULT;
    return true;
}

}  // namespace toolkit
