#include "toolkit/Font.h"

#include <algorithm>
#include <iterator>

namespace toolkit {

FontHandle CreateFormFont() {
    constexpr wchar_t kFace[] = L"ＭＳ Ｐゴシック";
    static_assert(std::size(kFace) <= LF_FACESIZE);
    LOGFONTW font{};
    font.lfHeight = -12;  // the height of the characters, not of the cell
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = SHIFTJIS_CHARSET;
    std::copy(std::begin(kFace), std::end(kFace), font.lfFaceName);
    return FontHandle(::CreateFontIndirectW(&font));
}

}  // namespace toolkit
