#include "toolkit/ImageList.h"

#include "toolkit/Error.h"

namespace toolkit {

TImageList::TImageList(int width, int height)
    : list_(::ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 0, 16)), width_(width), height_(height) {
    if (!list_) throw Error(L"イメージ リストを作成できません");
}

int TImageList::Count() const noexcept { return ::ImageList_GetImageCount(list_.Get()); }

int TImageList::AddIcon(HICON icon) { return ::ImageList_AddIcon(list_.Get(), icon); }

int TImageList::AddStrip(HBITMAP strip, HBITMAP mask) { return ::ImageList_Add(list_.Get(), strip, mask); }

void TImageList::RemoveFrom(int index) {
    // One cut: removing images one at a time rebuilds the whole list each time.
    if (index >= 0 && index < Count()) ::ImageList_SetImageCount(list_.Get(), static_cast<UINT>(index));
}

void TImageList::Draw(int index, HDC dc, int x, int y, UINT style) const {
    ::ImageList_Draw(list_.Get(), index, dc, x, y, style);
}

}  // namespace toolkit
