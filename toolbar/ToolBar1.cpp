#include "toolbar/ToolBar1.h"

#include "toolkit/Error.h"

namespace toolbar {

namespace {

constexpr wchar_t kContainerClass[] = L"TCorvaneToolBar";

const toolkit::ToolItem& ItemWithId(std::span<const toolkit::ToolItem> items, int id) {
    const toolkit::ToolItem* item = toolkit::FindItem(items, id);
    if (!item) throw toolkit::Error(L"アドレス ボックスの場所がありません");
    return *item;
}

}  // namespace

TToolBar1::TToolBar1(HWND form, const toolkit::TImageList& normalImages, const toolkit::TImageList& hotImages,
                     std::span<const toolkit::ToolItem> items, int addressItem, toolkit::FontHandle font)
    : font_(std::move(font)) {
    toolkit::WindowPlacement placement;
    placement.style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    placement.width = kWidth;
    placement.height = kHeight;
    placement.parent = form;
    CreateWindowObject(toolkit::WindowClass{kContainerClass, 0, ::GetSysColorBrush(COLOR_BTNFACE)}, L"ToolBar1",
                       placement);
    // The tips' window is made once the toolbar is planted (TForm1::FormCreate).
    const toolkit::ToolBarLook look{ClientBounds(), kButtonSize, false, true};
    buttons_ = std::make_unique<toolkit::TToolBar>(Handle(), look, normalImages, hotImages, items);
    toolkit::KeyEditOptions options;
    options.text = L"http://";
    options.visible = false;  // shown once the toolbar is planted
    const int addressWidth = toolkit::WidthOf(ItemWithId(items, addressItem), kButtonSize.cx);
    url_ = std::make_unique<toolkit::TKeyEdit>(buttons_->Handle(), RECT{0, 0, addressWidth, kButtonSize.cy},
                                               font_.Get(), options);
    buttons_->PlaceOver(addressItem, url_->Handle());
}

TToolBar1::~TToolBar1() {
    url_.reset();
    buttons_.reset();
    DestroyWindowObject();
}

RECT TToolBar1::ClientBounds() const noexcept { return RECT{0, 0, kWidth - 2 * borderWidth_, kHeight - 2 * borderWidth_}; }

void TToolBar1::SetFlat(bool flat) {
    flat_ = flat;
    buttons_->SetFlat(flat);
}

void TToolBar1::SetBorderWidth(int width) {
    borderWidth_ = width;
    // The frame is measured again (WM_NCCALCSIZE) and drawn again; the window keeps its outer size.
    ::SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    buttons_->SetBounds(ClientBounds());
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

// The border is the button face's colour all round, as the container's background was before.
void TToolBar1::PaintBorder() {
    if (borderWidth_ <= 0) return;
    const toolkit::WindowDC dc(Handle());
    if (!dc.Get()) return;
    RECT outer{};
    ::GetWindowRect(Handle(), &outer);
    ::OffsetRect(&outer, -outer.left, -outer.top);
    ::ExcludeClipRect(dc.Get(), borderWidth_, borderWidth_, outer.right - borderWidth_, outer.bottom - borderWidth_);
    ::FillRect(dc.Get(), &outer, ::GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT TToolBar1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCALCSIZE: {
        // Both forms of the message start with the window's rectangle, which becomes the client's.
        auto* rect = reinterpret_cast<RECT*>(lParam);
        ::InflateRect(rect, -borderWidth_, -borderWidth_);
        return 0;
    }
    case WM_NCPAINT:
        PaintBorder();
        return 0;
    default:
        return Default(message, wParam, lParam);
    }
}

}  // namespace toolbar
