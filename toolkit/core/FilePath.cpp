#include "toolkit/core/FilePath.h"

namespace toolkit {

std::size_t FolderLength(std::wstring_view path) noexcept {
    const std::size_t last = path.find_last_of(L"\\/");
    return last == std::wstring_view::npos ? 0 : last + 1;
}

}  // namespace toolkit
