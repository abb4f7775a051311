#include "toolbar/core/FavoritesProgress.h"

namespace toolbar {

std::wstring LoadProgressCaption(std::int64_t listed) {
    const std::wstring digits = std::to_wstring(listed < 0 ? 0 : listed);
    std::wstring grouped;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += L',';
        grouped += digits[i];
    }
    return L"読み込み中… " + grouped + L" 件";
}

}  // namespace toolbar
