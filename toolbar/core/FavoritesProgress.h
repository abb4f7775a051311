#pragma once
// The favorites menu's line while a load runs: how many items it has listed so far.

#include <cstdint>
#include <string>

namespace toolbar {

// "読み込み中… 12,345 件": the count in digits grouped by three.
std::wstring LoadProgressCaption(std::int64_t listed);

}  // namespace toolbar
