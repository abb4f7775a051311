#include "resources/Images.h"

#include <string>

#include "toolkit/Error.h"
#include "toolkit/Handles.h"
#include "toolkit/Text.h"

namespace resources {

namespace {

[[noreturn]] void FailToLoad(int resourceId) {
    throw toolkit::Error(toolkit::FormatMessageText(L"画像 %s を読み込めません", std::to_wstring(resourceId)));
}

}  // namespace

void LoadImageStrip(toolkit::TImageList& list, int resourceId) {
    // A DIB section keeps the strip's alpha channel, which the image list draws with.
    toolkit::BitmapHandle strip{static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr),
                                                                  MAKEINTRESOURCEW(resourceId), IMAGE_BITMAP, 0, 0,
                                                                  LR_CREATEDIBSECTION))};
    if (!strip) FailToLoad(resourceId);
    BITMAP info{};
    if (!::GetObjectW(strip.Get(), sizeof info, &info) || info.bmHeight != list.Height() || info.bmWidth <= 0 ||
        info.bmWidth % list.Width() != 0)
        FailToLoad(resourceId);
    if (list.AddStrip(strip.Get(), nullptr) < 0) FailToLoad(resourceId);
}

}  // namespace resources
