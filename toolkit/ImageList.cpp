#include "ImageList.h"

#include "Error.h"

namespace toolkit {

TImageList::TImageList(int width, int height)
    : list_(::ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 0, 16)), width_(width), height_(height) {
    if (!list_) throw Error(L"イメージ リストを作成できません");
}

int TImageList::Count() const noexcept { return ::ImageList_GetImageCount(list_.Get()); }

int TImageList::AddIcon(HICON icon) { return ::ImageList_AddIcon(list_.Get(), icon); }

int TImageList::AddStrip(HBITMAP strip, HBITMAP mask) { return ::ImageList_Add(list_.Get(), strip, mask); }

void TImageList::RemoveFrom(int index) {
    for (int i = Count() - 1; i >= index && i >= 0; --i) ::ImageList_Remove(list_.Get(), i);
}

void TImageList::Draw(int index, HDC dc, int x, int y, UINT style) const {
    ::ImageList_Draw(list_.Get(), index, dc, x, y, style);
}

}  // namespace toolkit
