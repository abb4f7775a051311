// The tag menu built from Tag.ini on disk, in this process: captions of a Unicode file drawn with
// their real characters and their host text in the code page, groups whose entries are made when
// they first open, the hint of a file without tags, and the menu following the file's changes.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/testbed/MenuDriver.h"
#include "tests/testbed/TestSupport.h"
#include "menus/TagMenu.h"
#include "toolkit/ImageList.h"
#include "toolkit/Menu.h"

namespace {

using menutest::ItemsOf;
using menutest::MenuDriver;
using menutest::MenuOfWindow;
using testsupport::Utf8ToAnsi;
using testsupport::Utf8ToWide;
using testsupport::WideToUtf8;

// "text(off)>" per shown item, as UTF-8, joined by "|".
std::string Describe(HWND menuWindow) {
    std::string text;
    for (const menutest::ShownItem& item : ItemsOf(MenuOfWindow(menuWindow))) {
        if (!text.empty()) text += "|";
        text += item.separator ? "-" : WideToUtf8(item.text);
        if (item.disabled) text += "(off)";
        if (item.submenu) text += ">";
    }
    return text;
}

class TagMenuFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = testsupport::ScratchDir("menus tag menu file");
        path_ = dir_ + "Tag.ini";
        menu_.SetImages(&images_);
        menu_.SetAutoLineReduction(true);
    }
    void TearDown() override { testsupport::RemoveTree(dir_); }

    void Write(const std::string& bytes) { testsupport::WriteFileBytes(path_, bytes); }
    std::unique_ptr<menus::TagMenuFile> Follow() {
        return std::make_unique<menus::TagMenuFile>(Utf8ToWide(path_), menu_,
                                                    [this](toolkit::TMenuItem& sender) { chosen_ = &sender; });
    }
    // Drops the menu down (as the toolbar does: following the file first) while script drives it.
    void PopupWith(menus::TagMenuFile& file, std::function<void(MenuDriver&)> script) {
        menu_.OnPopup = [&file] { file.Follow(); };
        MenuDriver driver(std::move(script));
        menu_.Popup(100, 100);
        driver.Finish();
    }
    std::string TopCaptions() {
        std::string text;
        for (size_t i = 0; i < menu_.Items().Count(); ++i) text += WideToUtf8(menu_.Items().Item(i).WideCaption()) + "|";
        return text;
    }

    std::string dir_, path_;
    toolkit::TImageList images_{16, 16};
    toolkit::TPopupMenu menu_;
    toolkit::TMenuItem* chosen_ = nullptr;
};

TEST_F(TagMenuFileTest, UnicodeCaptionsShowTheirCharactersAndEntriesAreMadeWhenTheirGroupOpens) {
    Write("\xEF\xBB\xBF%見出し☕\r\n&<b>表</b>\r\n&<i>☕</i>\r\n%Lines\r\n&-\r\n&-\r\n");
    const auto file = Follow();
    toolkit::TMenuItem& group = menu_.Items().Item(0);
    EXPECT_EQ(group.Count(), 0u) << "no entry item before the group opens";

    std::string top, entries;
    PopupWith(*file, [&](MenuDriver& driver) {
        HWND menu = driver.WaitForMenus(1);
        if (!menu) return;
        top = Describe(menu);
        driver.Key(menu, VK_DOWN);
        driver.Key(menu, VK_RIGHT);
        if (HWND sub = driver.WaitForMenus(2)) {
            entries = Describe(sub);
            driver.Key(sub, VK_RETURN);
        }
    });
    EXPECT_EQ(top, "見出し☕>|Lines") << "a group of separators only is a plain item";
    EXPECT_EQ(entries, "<i>☕</i>|<b>表</b>");
    ASSERT_NE(chosen_, nullptr);
    EXPECT_EQ(menus::TagEntryHostText(*chosen_), "<i>&#9749;</i>");
    EXPECT_EQ(menus::TagEntryHostText(group.Item(1)), Utf8ToAnsi("<b>表</b>"));
    EXPECT_EQ(menu_.Items().Item(1).Count(), 0u);
}

TEST_F(TagMenuFileTest, ALargeGroupOpensAsPagesOfEntries) {
    std::string text = "%Large\r\n";
    for (int i = 1; i <= 4001; ++i) text += "&e" + std::to_string(i) + "\r\n";
    Write(text);
    const auto file = Follow();
    toolkit::TMenuItem& group = menu_.Items().Item(0);
    group.MakeChildren();
    ASSERT_EQ(group.Count(), 3u);
    EXPECT_EQ(WideToUtf8(group.Item(0).WideCaption()) + "|" + WideToUtf8(group.Item(2).WideCaption()),
              "1 ～ 2000|4001 ～ 4001");
    toolkit::TMenuItem& last = group.Item(2);
    EXPECT_EQ(last.Count(), 0u) << "a page's entries are made when it opens";
    last.MakeChildren();
    ASSERT_EQ(last.Count(), 1u);
    EXPECT_EQ(menus::TagEntryHostText(last.Item(0)), "e1");
    group.Item(0).MakeChildren();
    EXPECT_EQ(menus::TagEntryHostText(group.Item(0).Item(0)), "e4001");
}

TEST_F(TagMenuFileTest, TheMenuFollowsTheFileAndKeepsItsLastGoodStateWithoutAWord) {
    Write("%First\r\n&<a>\r\n");
    const auto file = Follow();
    const toolkit::TMenuItem* built = &menu_.Items().Item(0);

    file->Follow();
    EXPECT_EQ(&menu_.Items().Item(0), built) << "nothing changed: the menu stays as it is";

    struct Step {
        const char* what;
        std::function<void()> change;
        std::string captions;
    };
    toolkit::FileHandle lock;
    const std::vector<Step> steps{
        {"edited", [&] { Write("%Second\r\n%Third\r\n"); }, "Second|Third|"},
        {"saved in UTF-16", [&] { Write(std::string("\xFF\xFE%\0\x8B\x89\r\0\n\0", 10)); }, "見|"},
        {"locked without sharing",
         [&] {
             Write("%Locked\r\n");
             lock = toolkit::FileHandle(::CreateFileA(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
         },
         "見|"},
        {"unlocked", [&] { lock = toolkit::FileHandle(); }, "Locked|"},
        {"deleted", [&] { ::DeleteFileA(path_.c_str()); }, "Locked|"},
        {"written again", [&] { Write("%Back\r\n"); }, "Back|"},
        {"emptied: one line says so", [&] { Write(""); }, path_ + " にタグがありません|"},
    };
    for (const Step& step : steps) {
        step.change();
        EXPECT_NO_THROW(file->Follow()) << step.what;
        EXPECT_EQ(TopCaptions(), step.captions) << step.what;
    }
    EXPECT_FALSE(menu_.Items().Item(0).Enabled()) << "the line without tags cannot be chosen";
}

}  // namespace
