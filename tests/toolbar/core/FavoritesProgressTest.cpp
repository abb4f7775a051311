// The favorites menu's progress line while a load runs.

#include <gtest/gtest.h>

#include "toolbar/core/FavoritesProgress.h"

namespace {

TEST(FavoritesProgress, CountsInDigitsGroupedByThree) {
    const struct {
        std::int64_t listed;
        const wchar_t* caption;
    } cases[] = {
        {0, L"読み込み中… 0 件"},           {7, L"読み込み中… 7 件"},
        {999, L"読み込み中… 999 件"},       {1000, L"読み込み中… 1,000 件"},
        {12345, L"読み込み中… 12,345 件"},  {50000, L"読み込み中… 50,000 件"},
        {1234567, L"読み込み中… 1,234,567 件"}, {-5, L"読み込み中… 0 件"},
    };
    for (const auto& c : cases) EXPECT_EQ(toolbar::LoadProgressCaption(c.listed), c.caption) << c.listed;
}

}  // namespace
