// Which items an opening popup menu shows, and which character of a caption is its access key.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/core/MenuRules.h"

namespace {

using toolkit::MenuSlot;

// A menu written as a string: 'a'..'z' an item, '-' a separator; upper case (or '_' for a
// separator) marks an invisible one. The result shows what the menu shows, in the same notation.
std::string Shown(const std::string& layout, bool reduce) {
    std::vector<MenuSlot> slots;
    for (char c : layout) slots.push_back(MenuSlot{c != '_' && !(c >= 'A' && c <= 'Z'), c == '-' || c == '_'});
    const std::vector<bool> shown = toolkit::ShownMenuItems(slots, reduce);
    EXPECT_EQ(shown.size(), layout.size());
    std::string result;
    for (size_t i = 0; i < layout.size() && i < shown.size(); ++i)
        if (shown[i]) result.push_back(layout[i]);
    return result;
}

TEST(MenuRules, SeparatorReduction) {
    EXPECT_EQ(Shown("a-b", true), "a-b");
    EXPECT_EQ(Shown("--a-b--", true), "a-b");        // none first or last
    EXPECT_EQ(Shown("a---b", true), "a-b");          // one of a run
    EXPECT_EQ(Shown("a-b--c-", true), "a-b-c");
    EXPECT_EQ(Shown("---", true), "");
    EXPECT_EQ(Shown("-", true), "");
    EXPECT_EQ(Shown("", true), "");
    EXPECT_EQ(Shown("a", true), "a");
}

TEST(MenuRules, ReductionLooksOnlyAtVisibleItems) {
    EXPECT_EQ(Shown("a-B-c", true), "a-c");    // an invisible item between two makes a run
    EXPECT_EQ(Shown("A-b", true), "b");        // first among the visible items
    EXPECT_EQ(Shown("a-B", true), "a");        // last among the visible items
    EXPECT_EQ(Shown("a_-b", true), "a-b");     // invisible separators never show
    EXPECT_EQ(Shown("ABC", true), "");
}

TEST(MenuRules, WithoutReductionEveryVisibleItemShows) {
    EXPECT_EQ(Shown("--a--B-_", false), "--a---");
    EXPECT_EQ(Shown("-", false), "-");
}

TEST(MenuRules, WhetherAGroupShowsAnything) {
    const std::vector<MenuSlot> separators{{true, true}, {true, true}};
    const std::vector<MenuSlot> hidden{{false, false}, {true, true}};
    const std::vector<MenuSlot> one{{true, true}, {true, false}};
    EXPECT_FALSE(toolkit::ShowsAnyMenuItem(separators, true));
    EXPECT_TRUE(toolkit::ShowsAnyMenuItem(separators, false));
    EXPECT_FALSE(toolkit::ShowsAnyMenuItem(hidden, true));
    EXPECT_TRUE(toolkit::ShowsAnyMenuItem(one, true));
    EXPECT_FALSE(toolkit::ShowsAnyMenuItem({}, false));
}

TEST(MenuRules, AccessKeys) {
    EXPECT_EQ(toolkit::AccessKeyOf(L"&File"), L'F');
    EXPECT_EQ(toolkit::AccessKeyOf(L"A&B"), L'B');
    EXPECT_EQ(toolkit::AccessKeyOf(L"x&y&z"), L'y');
    EXPECT_EQ(toolkit::AccessKeyOf(L"R&&D"), 0);
    EXPECT_EQ(toolkit::AccessKeyOf(L"&&&x"), L'x');
    EXPECT_EQ(toolkit::AccessKeyOf(L"&&"), 0);
    EXPECT_EQ(toolkit::AccessKeyOf(L"end&"), 0);
    EXPECT_EQ(toolkit::AccessKeyOf(L"&"), 0);
    EXPECT_EQ(toolkit::AccessKeyOf(L""), 0);
    EXPECT_EQ(toolkit::AccessKeyOf(L"<&p>"), L'p');
    EXPECT_EQ(toolkit::AccessKeyOf(L"表&示"), L'示');
}

}  // namespace
