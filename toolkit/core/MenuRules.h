#pragma once
// Rules of the popup menu that need no window: which items an opening menu shows, the heights of
// owner-drawn items, and which character of a caption is its access key.

#include <span>
#include <string_view>
#include <vector>

namespace toolkit {

// What the showing rule needs to know of one item, in menu order.
struct MenuSlot {
    bool visible = true;
    bool separator = false;
};

// The items an opening menu (or group) shows. Invisible items never show. With reduceSeparators,
// a separator shows only when a shown item that is not a separator stands before it and the next
// visible item is not a separator either: so none stands first or last, and of a run of separators
// only the last one shows.
std::vector<bool> ShownMenuItems(std::span<const MenuSlot> items, bool reduceSeparators);

// True when a group whose children are these would show anything at all when it opens.
bool ShowsAnyMenuItem(std::span<const MenuSlot> items, bool reduceSeparators);

// Heights of owner-drawn items: an item is three pixels taller than the images beside it.
inline constexpr int kOwnerDrawnSeparatorHeight = 5;
constexpr int OwnerDrawnItemHeight(int imageHeight) noexcept { return imageHeight + 3; }

// The access key of a caption: the character after the first "&" that does not belong to a
// doubled "&&"; 0 when the caption has none ("&&" alone, a trailing "&", no "&" at all).
wchar_t AccessKeyOf(std::wstring_view caption) noexcept;

}  // namespace toolkit
