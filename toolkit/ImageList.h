#pragma once
// An owned comctl32 image list of fixed-size images.

#include <windows.h>
#include <commctrl.h>

#include "toolkit/Handles.h"

namespace toolkit {

// The side of every picture on the tool bars and in the menus.
inline constexpr int kSmallImageSize = 16;

class TImageList {
public:
    TImageList(int width, int height);  // 32-bit colour with a mask; throws Error on failure

    HIMAGELIST Handle() const noexcept { return list_.Get(); }
    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }
    int Count() const noexcept;

    // Appends a copy of the icon, scaled to the list's size; returns its index, or -1.
    int AddIcon(HICON icon);
    // Appends every image of a horizontal strip (Count = strip width / image width) in one call;
    // returns the index of the first, or -1. mask may be null for a strip with alpha.
    int AddStrip(HBITMAP strip, HBITMAP mask);
    // Removes images from index on.
    void RemoveFrom(int index);
    void Draw(int index, HDC dc, int x, int y, UINT style = ILD_TRANSPARENT) const;

private:
    ImageListHandle list_;
    int width_;
    int height_;
};

}  // namespace toolkit
