// The tag menu end to end: a staged Corvane with its Tag.ini, planted in the stand-in host; the
// menu dropped from Btn_Tag with the mouse, entries chosen with the mouse and the keyboard, and
// what the host receives. Also the settings button, a missing Tag.ini, Tag.ini in each encoding
// and edited while Corvane runs, and one without tags.

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "tests/testbed/HostSim.h"
#include "tests/testbed/TestSupport.h"
#include "hostlink/core/HostProtocol.h"
#include "toolbar/ToolbarItems.h"

namespace {

using namespace testsupport;

constexpr int kItemHeight = 19;
constexpr int kSeparatorHeight = 5;

// Groups Head (entries bottom up: "", "A&&B", "<h2>表</h2>", "<h1></h1>"), Empty, a separator
// group and Tail, whose separators stand first, last and in a row.
const std::string kTagIni = Utf8ToAnsi(
    "Tag menu of the end-to-end tests\r\n"
    "&<before any group>\r\n"
    "%&Head\r\n&<h1></h1>\r\n&<h2>表</h2>\r\n&A&&B\r\n&\r\n"
    "%&Empty\r\n"
    " %not a group\r\n"
    "%-\r\n"
    "%&Tail\r\n&-\r\n&<br>\r\n&-\r\n&-\r\n&<hr>\r\n&-\r\n");


std::vector<HWND> VisibleMenusOf(DWORD processId) { return VisibleWindowsOf(processId, "#32768"); }

class TagMenuEndToEnd : public ::testing::Test {
protected:
    void SetUp() override { dir_ = ScratchDir("menus tag menu e2e"); }
    void TearDown() override {
        for (HWND window : VisibleMenusOf(corvane_.Id())) ::PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 1);
        corvane_.Kill();
        host_ = HostSim();
        RemoveTree(dir_);
    }

    // Stages Corvane with the file (none when null), starts the host and Corvane in front of it.
    void Start(const char* tagIni) {
        exe_ = StageCorvane(dir_, tagIni);
        HostSim::Options options;
        options.text = "0123456789";
        options.hasText = true;
        host_ = HostSim::Start(options);
        ASSERT_NE(host_.Main(), nullptr);
        corvane_ = StartCorvane(exe_, host_);
        ASSERT_TRUE(corvane_.Running());
    }

    // The toolbar control inside the toolbar that Corvane planted in the host.
    HWND Buttons() {
        const HWND planted = WaitForPlantedToolbar(host_, corvane_.Id());
        if (!planted || ClassNameOf(planted) == "ToolbarWindow32") return planted;
        return ::FindWindowExA(planted, nullptr, "ToolbarWindow32", nullptr);
    }

    void ClickButton(int id) {
        const HWND buttons = Buttons();
        ASSERT_NE(buttons, nullptr) << "no planted toolbar";
        RECT client{};
        ::GetClientRect(buttons, &client);
        POINT point{toolbar::ToolbarItemMiddle(id), client.bottom / 2};
        ::ClientToScreen(buttons, &point);
        ClickAt(point);
    }

    std::vector<HWND> WaitForMenus(size_t count) { return WaitForOpenMenus(corvane_.Id(), count); }

    std::vector<HWND> DropTagMenu() {
        ClickButton(toolbar::kBtnTag);
        return WaitForMenus(1);
    }

    // A real key press, which goes to whatever thread has the keyboard.
    // The screen point in the middle of item index of a menu window whose items have these heights.
    static POINT ItemCentre(HWND menu, const std::vector<int>& heights, size_t index) {
        RECT client{};
        ::GetClientRect(menu, &client);
        const int items = std::accumulate(heights.begin(), heights.end(), 0);
        const int top = (client.bottom - items) / 2 +
                        std::accumulate(heights.begin(), heights.begin() + static_cast<std::ptrdiff_t>(index), 0);
        POINT point{client.right / 3, top + heights[index] / 2};
        ::ClientToScreen(menu, &point);
        return point;
    }

    static int ClientHeight(HWND window) {
        RECT client{};
        ::GetClientRect(window, &client);
        return client.bottom;
    }

    // Waits for the next text the host is given; returns every such message so far.
    std::vector<HostMessage> WaitForInsertions(size_t count) {
        std::vector<HostMessage> messages;
        WaitUntil([&] { return (messages = host_.MessagesWithId(hostlink::kMsgTakeText)).size() >= count; }, 5000);
        return messages;
    }

    void ExpectInserted(const HostMessage& message, const std::string& text) {
        EXPECT_EQ(message.wParam, 1u);
        EXPECT_EQ(message.lParam, static_cast<long long>(text.size() + 1));
        EXPECT_TRUE(message.blockRead);
        EXPECT_EQ(message.block, text + std::string(1, '\0'));
    }

    // Drops the menu and chooses the entry at index of the first group, with the keyboard.
    void ChooseFirstGroupEntry(size_t index) {
        ASSERT_EQ(DropTagMenu().size(), 1u);
        PressKey(VK_DOWN);
        PressKey(VK_RIGHT);
        ASSERT_EQ(WaitForMenus(2).size(), 2u);
        for (size_t i = 0; i < index; ++i) PressKey(VK_DOWN);
        PressKey(VK_RETURN);
    }

    std::string dir_, exe_;
    HostSim host_;
    Process corvane_;
};

// Top level: Head, Empty, the separator group, Tail.
const std::vector<int> kTopHeights{kItemHeight, kItemHeight, kSeparatorHeight, kItemHeight};
// Head: "", "A&&B", "<h2>表</h2>", "<h1></h1>".
const std::vector<int> kHeadHeights(4, kItemHeight);

TEST_F(TagMenuEndToEnd, ChosenEntriesInsertTheirBytesAtTheHostsCaret) {
    Start(kTagIni.c_str());

    // The keyboard, as the user types: into Head, down to its second entry. The menu takes the
    // keys although the host's window is in front, and the host is in front again afterwards.
    auto menus = DropTagMenu();
    ASSERT_EQ(menus.size(), 1u);
    PressKey(VK_DOWN);
    PressKey(VK_RIGHT);
    menus = WaitForMenus(2);
    ASSERT_EQ(menus.size(), 2u);
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    auto inserted = WaitForInsertions(1);
    ASSERT_EQ(inserted.size(), 1u);
    ExpectInserted(inserted[0], "A&&B");  // as written in the file, not as the menu draws it
    EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == host_.Main(); }, 3000));

    // Mouse: Head, then its third entry, a double-byte character whose trail byte is "\".
    menus = DropTagMenu();
    ASSERT_EQ(menus.size(), 1u);
    ClickAt(ItemCentre(menus[0], kTopHeights, 0));
    menus = WaitForMenus(2);
    ASSERT_EQ(menus.size(), 2u);
    ClickAt(ItemCentre(menus[1], kHeadHeights, 2));
    inserted = WaitForInsertions(2);
    ASSERT_EQ(inserted.size(), 2u);
    ExpectInserted(inserted[1], Utf8ToAnsi("<h2>表</h2>"));

    // The entry written as "&" alone: an empty text, a block of the zero byte only.
    menus = DropTagMenu();
    ASSERT_EQ(menus.size(), 1u);
    ClickAt(ItemCentre(menus[0], kTopHeights, 0));
    menus = WaitForMenus(2);
    ASSERT_EQ(menus.size(), 2u);
    ClickAt(ItemCentre(menus[1], kHeadHeights, 0));
    inserted = WaitForInsertions(3);
    ASSERT_EQ(inserted.size(), 3u);
    ExpectInserted(inserted[2], "");

    EXPECT_NE(host_.Text().find("A&&B"), std::string::npos) << host_.Text();
    EXPECT_NE(host_.Text().find(Utf8ToAnsi("<h2>表</h2>")), std::string::npos) << host_.Text();
    EXPECT_TRUE(VisibleMenusOf(corvane_.Id()).empty());
}

// Text as UTF-16 bytes, little or big endian, with the byte-order mark.
std::string Utf16File(const std::string& utf8, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (wchar_t unit : Utf8ToWide(utf8)) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

// The same tags saved in each encoding insert the same code-page bytes; a character the code page
// cannot hold arrives as its numeric character reference, as the Shift-JIS file writes it. Every
// file after the first is written while Corvane runs, and the next choice already inserts from it.
TEST_F(TagMenuEndToEnd, EveryEncodingAndEveryEditInsertsTheSameBytesAtTheNextChoice) {
    const std::string text = "%見出し\r\n&☕\r\n&<h1>表</h1>\r\n";
    struct Case {
        const char* what;
        std::string bytes;
    };
    const std::vector<Case> cases{
        {"Shift-JIS", Utf8ToAnsi("%見出し\r\n&&#9749;\r\n&<h1>表</h1>\r\n")},
        {"UTF-8 without mark", text},
        {"UTF-8 with mark", "\xEF\xBB\xBF" + text},
        {"UTF-16 LE", Utf16File(text, false)},
        {"UTF-16 BE", Utf16File(text, true)},
    };
    Start(cases[0].bytes.c_str());
    size_t choices = 0;
    for (const Case& c : cases) {
        WriteFileBytes(dir_ + "Tag.ini", c.bytes);
        for (const char* expected : {"<h1>表</h1>", "&#9749;"}) {
            ChooseFirstGroupEntry(choices % 2);
            const auto inserted = WaitForInsertions(++choices);
            ASSERT_EQ(inserted.size(), choices) << c.what;
            ExpectInserted(inserted.back(), Utf8ToAnsi(expected));
        }
    }
}

// A Tag.ini without tags drops down one disabled line that says so; tags added to it later are
// there at the next drop-down.
TEST_F(TagMenuEndToEnd, AFileWithoutTagsDropsDownTheHint) {
    Start("");
    auto menus = DropTagMenu();
    ASSERT_EQ(menus.size(), 1u);
    ClickAt(ItemCentre(menus[0], {kItemHeight}, 0));
    PumpFor(300);
    EXPECT_EQ(VisibleMenusOf(corvane_.Id()).size(), 1u) << "the hint cannot be chosen";
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return VisibleMenusOf(corvane_.Id()).empty(); }, 3000));

    WriteFileBytes(dir_ + "Tag.ini", "%Head\r\n&<p>\r\n");
    ChooseFirstGroupEntry(0);
    const auto inserted = WaitForInsertions(1);
    ASSERT_EQ(inserted.size(), 1u);
    ExpectInserted(inserted[0], "<p>");
}

TEST_F(TagMenuEndToEnd, EmptyGroupsAndSeparatorsDoNothing) {
    Start(kTagIni.c_str());

    // The empty group is a plain item: choosing it closes the menu and sends nothing.
    auto menus = DropTagMenu();
    ASSERT_EQ(menus.size(), 1u);
    const int topHeight = ClientHeight(menus[0]);
    ClickAt(ItemCentre(menus[0], kTopHeights, 1));
    EXPECT_TRUE(WaitUntil([&] { return VisibleMenusOf(corvane_.Id()).empty(); }, 3000));
    // A click on the separator group leaves the menu open.
    menus = DropTagMenu();
    ASSERT_EQ(menus.size(), 1u);
    ClickAt(ItemCentre(menus[0], kTopHeights, 2));
    EXPECT_EQ(VisibleMenusOf(corvane_.Id()).size(), 1u);

    // Tail shows "<hr>", one separator, "<br>": the separators first, last and all but one of
    // the run are not shown. Its first item is "<hr>".
    ClickAt(ItemCentre(menus[0], kTopHeights, 3));
    menus = WaitForMenus(2);
    ASSERT_EQ(menus.size(), 2u);
    const int margins = topHeight - std::accumulate(kTopHeights.begin(), kTopHeights.end(), 0);
    EXPECT_EQ(ClientHeight(menus[1]), margins + 2 * kItemHeight + kSeparatorHeight);
    ClickAt(ItemCentre(menus[1], {kItemHeight, kSeparatorHeight, kItemHeight}, 0));
    const auto inserted = WaitForInsertions(1);
    ASSERT_EQ(inserted.size(), 1u);
    ExpectInserted(inserted[0], "<hr>");
    PumpFor(300);
    EXPECT_EQ(host_.MessagesWithId(hostlink::kMsgTakeText).size(), 1u);
}

// The settings button warns, then has the host's executable open Tag.ini, its path unquoted. The
// stand-in host names its own executable, so the file opens in a second stand-in host.
TEST_F(TagMenuEndToEnd, SettingsButtonWarnsThenOpensTagIniInTheHost) {
    Start(kTagIni.c_str());
    ClickButton(toolbar::kToolButton1);
    const HWND box = WaitForMessageBox(corvane_.Id(), 5000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowCaption(box), "Corvane with Kestrix");
    EXPECT_EQ(MessageBoxText(box),
              "設定ファイルが表示されるので、\r\n設定を編集後、保存すると次にタグメニューを開いたときから反映されます。");

    auto otherHosts = [&] {
        std::vector<HWND> hosts;
        for (HWND w = ::FindWindowExA(nullptr, nullptr, "TKestrixMainForm", nullptr); w;
             w = ::FindWindowExA(nullptr, w, "TKestrixMainForm", nullptr))
            if (w != host_.Main()) hosts.push_back(w);
        return hosts;
    };
    PumpFor(300);
    EXPECT_TRUE(otherHosts().empty()) << "the host is started only after the box is closed";
    PressMessageBoxButton(box);

    std::vector<HWND> started;
    WaitUntil([&] { return !(started = otherHosts()).empty(); }, 10000);
    ASSERT_EQ(started.size(), 1u);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(started[0], &processId);
    // The new host names the document it has opened once it has loaded it.
    std::string opened;
    WaitUntil(
        [&] {
            const HWND fileName = ::FindWindowExA(started[0], nullptr, "TEdit", nullptr);
            opened = fileName ? WindowTextAnsi(fileName) : std::string();
            return !opened.empty();
        },
        5000);
    if (HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId)) {
        ::TerminateProcess(process, 0);
        ::WaitForSingleObject(process, 5000);
        ::CloseHandle(process);
    }
    EXPECT_EQ(opened, dir_ + "Tag.ini");
}

TEST_F(TagMenuEndToEnd, MissingTagIniShowsTheErrorUntilOKAndCorvaneEndsThen) {
    Start(nullptr);
    const HWND box = WaitForMessageBox(corvane_.Id(), 5000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "ファイル " + dir_ + "Tag.ini は開けません.");
    EXPECT_EQ(WindowCaption(box), "Corvane");
    EXPECT_EQ(FindPlantedToolbar(host_, corvane_.Id()), nullptr);
    // Five watchdog rounds with the host's toolbar in sight: the box waits for the reader.
    PumpFor(5000);
    EXPECT_TRUE(::IsWindow(box) && ::IsWindowVisible(box)) << "the box closed by itself";
    PressMessageBoxButton(box);
    // Wine here takes up to two seconds to withdraw a closed box from a display without a window
    // manager, so the time to the end counts from the box's end.
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box); }, 5000)) << "OK did not close the box";
    EXPECT_TRUE(corvane_.WaitExit(2000)) << "Corvane goes on after OK";
    EXPECT_EQ(FindPlantedToolbar(host_, corvane_.Id()), nullptr);
}

}  // namespace
