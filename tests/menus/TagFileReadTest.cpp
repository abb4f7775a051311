// Tag.ini from disk through the system's code page, its file-open error, and the menu model that
// the tag menu and the favorites menu build on.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/testbed/TestSupport.h"
#include "menus/TagMenu.h"
#include "toolkit/Error.h"
#include "toolkit/Menu.h"

namespace {

using testsupport::Utf8ToAnsi;

class TagFileRead : public ::testing::Test {
protected:
    void SetUp() override { dir_ = testsupport::ScratchDir("menus tag file"); }
    void TearDown() override { testsupport::RemoveTree(dir_); }
    std::string dir_;
};

TEST_F(TagFileRead, ReadsGroupsThroughTheSystemCodePage) {
    const std::string path = dir_ + "Tag.ini";
    // "見出し" as a group, and an entry whose second byte looks like "\" ("表").
    testsupport::WriteFileBytes(path, Utf8ToAnsi("%見出し\r\n&<h1>表</h1>\r\n＆全角は注釈\r\n&&amp;\r\n"));
    const auto groups = menus::LoadTagFile(testsupport::Utf8ToWide(path));
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].caption, Utf8ToAnsi("見出し"));
    EXPECT_EQ(groups[0].entries, (std::vector<std::string>{Utf8ToAnsi("<h1>表</h1>"), "&amp;"}));
    EXPECT_TRUE(menus::IsAnsiLeadByte(0x95));
    EXPECT_FALSE(menus::IsAnsiLeadByte('%'));
}

TEST_F(TagFileRead, MissingOrUnreadableFileGivesTheFileOpenError) {
    // Paths written in UTF-8 here; the scratch folder's own path is plain ASCII.
    const std::string missing = dir_ + "表 フォルダ\\Tag.ini";
    const std::string folder = dir_ + "Tag.ini";
    ::CreateDirectoryA(Utf8ToAnsi(dir_ + "表 フォルダ\\").c_str(), nullptr);
    ::CreateDirectoryA(folder.c_str(), nullptr);  // a folder where the file should be
    for (const std::string& path : {missing, folder}) {
        try {
            menus::LoadTagFile(testsupport::Utf8ToWide(path));
            ADD_FAILURE() << "no error for " << path;
        } catch (const toolkit::Error& error) {
            EXPECT_EQ(testsupport::WideToUtf8(error.Message()), "ファイル " + path + " は開けません");
        }
    }
}

TEST(MenuModel, ChildrenAreOrderedAndOwnedByTheirParent) {
    toolkit::TMenuItem root;
    // Each item's action holds a share of the token: a destroyed item gives its share back.
    const auto token = std::make_shared<int>(0);
    auto item = [&](const char* caption) {
        auto made = std::make_unique<toolkit::TMenuItem>(caption);
        made->SetOnClick([token](toolkit::TMenuItem&) {});
        return made;
    };
    // Inserting at position 0 lists the items the other way round; a position past the end appends.
    for (const char* caption : {"a", "b", "c"}) root.Insert(0, item(caption));
    root.Insert(99, item("z"));
    toolkit::TMenuItem& group = root.Add(item("group"));
    group.Add(item("child"));
    ASSERT_EQ(root.Count(), 5u);
    std::string order;
    for (size_t i = 0; i < root.Count(); ++i) order += root.Item(i).Caption() + " ";
    EXPECT_EQ(order, "c b a z group ");
    EXPECT_EQ(group.Item(0).Parent(), &group);
    EXPECT_EQ(root.Item(0).ImageIndex(), -1);
    EXPECT_TRUE(root.Item(0).Visible() && root.Item(0).Enabled());
    EXPECT_EQ(token.use_count(), 7);

    root.DeleteFrom(3);  // "z", and the group with its child
    EXPECT_EQ(root.Count(), 3u);
    EXPECT_EQ(token.use_count(), 4);
    root.DeleteFrom();
    EXPECT_EQ(root.Count(), 0u);
    EXPECT_EQ(token.use_count(), 1);
}

}  // namespace
