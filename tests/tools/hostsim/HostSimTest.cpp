// The stand-in host's own promises that the end-to-end tests build on: the room in its toolbar,
// its timed and commanded toolbar changes, and its guard on the shared block.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/testbed/HostSim.h"
#include "tests/testbed/TestSupport.h"
#include "hostlink/Kestrix.h"
#include "toolkit/Handles.h"

namespace {

using testsupport::HostMessage;
using testsupport::HostSim;

constexpr UINT kTakeText = hostlink::kMsgTakeText;

RECT RectInParent(HWND window) {
    RECT rect;
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

TEST(HostSimHarness, ItsToolbarLeavesRoomForTheCompanionRightOfItsOwnButtons) {
    HostSim host = HostSim::Start();
    const HWND toolbar = host.Toolbar();
    ASSERT_NE(toolbar, nullptr);
    RECT client;
    ::GetClientRect(toolbar, &client);
    EXPECT_GE(client.right, 660);
    EXPECT_GE(client.bottom, 26);
    EXPECT_LE(client.bottom, 30);
    int buttons = 0;
    for (HWND child = ::GetWindow(toolbar, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT), ++buttons)
        EXPECT_LT(RectInParent(child).right, 310);
    EXPECT_GT(buttons, 0);
    EXPECT_NE(host.FileNameEdit(), nullptr);
    EXPECT_NE(host.Memo(), nullptr);
}

TEST(HostSimHarness, ToolbarChangesOnTimeAndOnCommand) {
    HostSim::Options options;
    options.hideToolbarAfterMs = 200;
    options.showToolbarAfterMs = 1200;
    HostSim timed = HostSim::Start(options);
    ASSERT_NE(timed.Toolbar(), nullptr);
    EXPECT_TRUE(testsupport::WaitUntil([&] { return !::IsWindowVisible(timed.Toolbar()); }, 3000));
    EXPECT_TRUE(testsupport::WaitUntil([&] { return ::IsWindowVisible(timed.Toolbar()) != FALSE; }, 3000));

    HostSim::Options destroying;
    destroying.destroyToolbarAfterMs = 200;
    HostSim doomed = HostSim::Start(destroying);
    EXPECT_TRUE(testsupport::WaitUntil([&] { return doomed.Toolbar() == nullptr; }, 3000));

    timed.HideToolbar();
    EXPECT_FALSE(::IsWindowVisible(timed.Toolbar()));
    timed.ShowToolbar();
    EXPECT_TRUE(::IsWindowVisible(timed.Toolbar()));
    timed.DestroyToolbar();
    EXPECT_EQ(timed.Toolbar(), nullptr);
}

TEST(HostSimHarness, StartsAsANewUnsavedModifiedDocumentWhenAsked) {
    HostSim::Options options;
    options.text = "draft";
    options.modified = true;
    HostSim host = HostSim::Start(options);
    EXPECT_EQ(host.Text(), "draft");
    EXPECT_TRUE(host.Modified());
    EXPECT_EQ(host.FileName(), "");
    host.SetModified(false);
    EXPECT_FALSE(host.Modified());
}

// What a careless sender could hand it: no block, a size past the block, no terminating zero.
TEST(HostSimHarness, ReadsOnlyWellFormedBlocks) {
    HostSim host = HostSim::Start();
    host.SetText("");
    const HWND main = host.Main();
    ::SendMessageA(main, kTakeText, 1, 5);  // no block at all

    const std::string name = hostlink::SharedBlockName(host.Handle32());
    const toolkit::KernelHandle mapping(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, name.c_str()));
    ASSERT_TRUE(mapping);
    {
        const toolkit::MappedView view(::MapViewOfFile(mapping.Get(), FILE_MAP_WRITE, 0, 0, 0));
        ASSERT_TRUE(view);
        std::memset(view.Get(), 'a', 4096);
    }
    for (LPARAM size : {LPARAM{10}, LPARAM{4096}, LPARAM{1} << 20, LPARAM{0}, LPARAM{-5}})
        ::SendMessageA(main, kTakeText, 1, size);
    {
        const toolkit::MappedView view(::MapViewOfFile(mapping.Get(), FILE_MAP_WRITE, 0, 0, 0));
        static_cast<char*>(view.Get())[3] = '\0';
    }
    ::SendMessageA(main, kTakeText, 1, 4);

    const std::vector<HostMessage> messages = host.MessagesWithId(kTakeText);
    ASSERT_EQ(messages.size(), 7u);
    for (size_t i = 0; i + 1 < messages.size(); ++i) EXPECT_FALSE(messages[i].blockRead) << "message " << i;
    EXPECT_TRUE(messages.back().blockRead);
    EXPECT_EQ(messages.back().block, std::string("aaa") + '\0');
    EXPECT_EQ(host.Text(), "aaa");
}

}  // namespace
