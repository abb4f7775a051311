#include "toolbar/ToolBar1.h"

#include <commctrl.h>

#include "toolkit/Error.h"

namespace {

using Item = TToolBar1::Item;

constexpr wchar_t kContainerClass[] = L"TCorvaneToolBar";
constexpr int kButtonWidth = 23;
constexpr int kButtonHeight = 22;
constexpr int kImageSize = 16;
constexpr int kURLWidth = 121;
constexpr int kURLHeight = 22;
constexpr int kFirstCommand = 1;
constexpr wchar_t kCloseTip[] = L"Corvane を終了します";

enum class Kind { Separator, Button, DropDown, Placeholder };

struct ItemLayout {
    Item item;
    Kind kind;
    int image;  // separators and the placeholder: their width
};

// Left to right. Buttons are kButtonWidth wide, so the items start at x = 0, 8, 31, 152, 175,
// 198, 206, 229 and 252.
constexpr ItemLayout kLayout[TToolBar1::kItemCount] = {
    {Item::ToolButton4, Kind::Separator, 8},
    {Item::Btn_KestrixtoBrouser, Kind::Button, 1},
    {Item::URL, Kind::Placeholder, kURLWidth},
    {Item::Btn_Navigate, Kind::Button, 7},
    {Item::Btn_Favorite, Kind::DropDown, 8},
    {Item::ToolButton9, Kind::Separator, 8},
    {Item::Btn_Tag, Kind::DropDown, 0},
    {Item::ToolButton1, Kind::Button, 9},
    {Item::Btn_Close, Kind::Button, 6},
};

int CommandOf(Item item) { return kFirstCommand + static_cast<int>(item); }

bool IsItemCommand(int command) { return command >= kFirstCommand && command < kFirstCommand + TToolBar1::kItemCount; }

size_t IndexOfCommand(int command) { return static_cast<size_t>(command - kFirstCommand); }

TBBUTTON ButtonFor(const ItemLayout& layout) {
    TBBUTTON button{};
    button.idCommand = CommandOf(layout.item);
    button.iBitmap = layout.image;
    button.fsState = TBSTATE_ENABLED;
    button.iString = -1;
    switch (layout.kind) {
    case Kind::Separator:
    case Kind::Placeholder:
        button.fsStyle = BTNS_SEP;
        break;
    case Kind::Button:
        button.fsStyle = BTNS_BUTTON;
        break;
    case Kind::DropDown:
        // Without TBSTYLE_EX_DRAWDDARROWS the whole button drops the menu down and keeps its width.
        button.fsStyle = BTNS_DROPDOWN;
        break;
    }
    return button;
}

RECT ItemRect(HWND buttons, Item item) {
    RECT rect{};
    ::SendMessageW(buttons, TB_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rect));
    return rect;
}

// Shows the drop-down button pressed for as long as its menu is open.
class PressedButton {
public:
    PressedButton(HWND buttons, int command) : buttons_(buttons), command_(command) {
        ::SendMessageW(buttons_, TB_PRESSBUTTON, static_cast<WPARAM>(command_), MAKELPARAM(TRUE, 0));
        ::UpdateWindow(buttons_);
    }
    ~PressedButton() { ::SendMessageW(buttons_, TB_PRESSBUTTON, static_cast<WPARAM>(command_), MAKELPARAM(FALSE, 0)); }
    PressedButton(const PressedButton&) = delete;
    PressedButton& operator=(const PressedButton&) = delete;

private:
    HWND buttons_;
    int command_;
};

}  // namespace

void TURLEdit::Create(HWND parent, int x, int y, int width, int height, HFONT font) {
    const HWND edit = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"http://", WS_CHILD | WS_TABSTOP | ES_AUTOHSCROLL,
                                        x, y, width, height, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!edit) throw toolkit::Error(L"アドレス ボックスを作成できません");
    ::SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    Attach(edit);
}

LRESULT TURLEdit::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        WORD key = LOWORD(wParam);
        if (OnKeyDown) OnKeyDown(key);
        if (key == 0) return 0;
        return Default(message, key, lParam);
    }
    case WM_CHAR: {
        // Only single-byte characters can be offered as a char; the others go to the box as they are.
        if (wParam >= 0x80 || !OnKeyPress) break;
        char key = static_cast<char>(wParam);
        OnKeyPress(key);
        if (key == 0) return 0;
        return Default(message, static_cast<unsigned char>(key), lParam);
    }
    default:
        break;
    }
    return Default(message, wParam, lParam);
}

TToolBar1::TToolBar1(HWND form, const toolkit::TImageList& normalImages, const toolkit::TImageList& hotImages,
                     toolkit::FontHandle font)
    : font_(std::move(font)) {
    toolkit::WindowPlacement placement;
    placement.style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    placement.width = kWidth;
    placement.height = kHeight;
    placement.parent = form;
    CreateWindowObject(toolkit::WindowClass{kContainerClass, 0, ::GetSysColorBrush(COLOR_BTNFACE)}, L"ToolBar1",
                       placement);
    CreateButtons(normalImages, hotImages);
    CreateTooltip();
    URL.Create(buttons_, 0, 0, kURLWidth, kURLHeight, font_.Get());
    FollowLayout();
}

TToolBar1::~TToolBar1() {
    // The address box uses font_, which goes after the windows.
    tooltip_.Reset();
    DestroyWindowObject();
}

void TToolBar1::CreateButtons(const toolkit::TImageList& normalImages, const toolkit::TImageList& hotImages) {
    buttons_ = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                                 WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | TBSTYLE_FLAT |
                                     CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER | CCS_TOP,
                                 borderWidth_, borderWidth_, kWidth - 2 * borderWidth_, kHeight - 2 * borderWidth_,
                                 Handle(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!buttons_) throw toolkit::Error(L"ツールバーを作成できません");
    ::SendMessageW(buttons_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageW(buttons_, TB_SETBITMAPSIZE, 0, MAKELPARAM(kImageSize, kImageSize));
    ::SendMessageW(buttons_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(normalImages.Handle()));
    ::SendMessageW(buttons_, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(hotImages.Handle()));
    ::SendMessageW(buttons_, TB_SETBUTTONSIZE, 0, MAKELPARAM(kButtonWidth, kButtonHeight));
    TBBUTTON buttons[kItemCount];
    for (int i = 0; i < kItemCount; ++i) buttons[i] = ButtonFor(kLayout[i]);
    if (!::SendMessageW(buttons_, TB_ADDBUTTONSW, kItemCount, reinterpret_cast<LPARAM>(buttons)))
        throw toolkit::Error(L"ツールバーのボタンを作成できません");
}

// The tooltip is Corvane's own rather than the toolbar's, so that it shows although the active
// window, once the toolbar is planted, belongs to the host; and only the close button has one.
void TToolBar1::CreateTooltip() {
    tooltip_.Reset(::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSW, nullptr,
                                     WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr, ::GetModuleHandleW(nullptr),
                                     nullptr));
    if (!tooltip_) return;  // the toolbar works without it
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = buttons_;
    tool.uId = static_cast<UINT_PTR>(CommandOf(Item::Btn_Close));
    tool.rect = ItemRect(buttons_, Item::Btn_Close);
    tool.lpszText = const_cast<wchar_t*>(kCloseTip);
    ::SendMessageW(tooltip_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageW(buttons_, TB_SETTOOLTIPS, reinterpret_cast<WPARAM>(tooltip_.Get()), 0);
}

void TToolBar1::FollowLayout() {
    const RECT slot = ItemRect(buttons_, Item::URL);
    ::SetWindowPos(URL.Handle(), nullptr, slot.left, slot.top, kURLWidth, kURLHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    if (!tooltip_) return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = buttons_;
    tool.uId = static_cast<UINT_PTR>(CommandOf(Item::Btn_Close));
    tool.rect = ItemRect(buttons_, Item::Btn_Close);
    ::SendMessageW(tooltip_.Get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TToolBar1::SetOnClick(Item button, std::function<void()> action) {
    actions_[static_cast<size_t>(button)].onClick = std::move(action);
}

void TToolBar1::SetDropDownMenu(Item button, toolkit::TPopupMenu& menu) {
    actions_[static_cast<size_t>(button)].dropDown = &menu;
}

void TToolBar1::SetFlat(bool flat) {
    flat_ = flat;
    // Through the window style, which the toolbar control follows (WM_STYLECHANGED).
    LONG_PTR style = ::GetWindowLongPtrW(buttons_, GWL_STYLE);
    style = flat ? (style | TBSTYLE_FLAT) : (style & ~static_cast<LONG_PTR>(TBSTYLE_FLAT));
    ::SetWindowLongPtrW(buttons_, GWL_STYLE, style);
    // The bitmap size message makes the toolbar lay its buttons out again for the new style.
    ::SendMessageW(buttons_, TB_SETBITMAPSIZE, 0, MAKELPARAM(kImageSize, kImageSize));
    FollowLayout();
    ::InvalidateRect(buttons_, nullptr, TRUE);
}

void TToolBar1::SetBorderWidth(int width) {
    borderWidth_ = width;
    ::SetWindowPos(buttons_, nullptr, width, width, kWidth - 2 * width, kHeight - 2 * width,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void TToolBar1::SetLeft(int left) {
    left_ = left;
    Move();
}

void TToolBar1::SetTop(int top) {
    top_ = top;
    Move();
}

void TToolBar1::Move() {
    ::SetWindowPos(Handle(), nullptr, left_, top_, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TToolBar1::SetParentWindow(HWND parent) {
    ::SetParent(Handle(), parent);
    if (parent) return;
    // A window without a parent must not keep the child style; as a tool window it has no
    // taskbar button.
    const LONG_PTR style = ::GetWindowLongPtrW(Handle(), GWL_STYLE);
    ::SetWindowLongPtrW(Handle(), GWL_STYLE, (style & ~static_cast<LONG_PTR>(WS_CHILD)) | WS_POPUP);
    const LONG_PTR exStyle = ::GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
    ::SetWindowLongPtrW(Handle(), GWL_EXSTYLE, exStyle | WS_EX_TOOLWINDOW);
    ::SetWindowPos(Handle(), nullptr, left_, top_, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

std::string TToolBar1::URLText() const {
    const int length = ::GetWindowTextLengthA(URL.Handle());
    if (length <= 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(URL.Handle(), text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

LRESULT TToolBar1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lParam) == buttons_) {
            OnCommand(LOWORD(wParam));
            return 0;
        }
        break;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom == buttons_ && header->code == TBN_DROPDOWN) {
            OnDropDown(reinterpret_cast<const NMTOOLBARW*>(lParam)->iItem);
            return TBDDRET_DEFAULT;
        }
        break;
    }
    default:
        break;
    }
    return Default(message, wParam, lParam);
}

void TToolBar1::OnCommand(int commandId) {
    if (!IsItemCommand(commandId)) return;
    const ItemActions& actions = actions_[IndexOfCommand(commandId)];
    // A drop-down button's only action is its menu.
    if (actions.onClick && !actions.dropDown) actions.onClick();
}

void TToolBar1::OnDropDown(int commandId) {
    if (!IsItemCommand(commandId)) return;
    toolkit::TPopupMenu* menu = actions_[IndexOfCommand(commandId)].dropDown;
    if (!menu) return;
    RECT button{};
    ::SendMessageW(buttons_, TB_GETRECT, static_cast<WPARAM>(commandId), reinterpret_cast<LPARAM>(&button));
    ::MapWindowPoints(buttons_, HWND_DESKTOP, reinterpret_cast<POINT*>(&button), 2);
    PressedButton pressed(buttons_, commandId);
    menu->Popup(button.left, button.bottom);
}
