// The docked toolbar end to end: a staged Corvane planted in the stand-in host, seen and driven
// from outside. Where it is planted and how the host's settings move it; its items; the tooltip,
// hot item and drop-downs under the real mouse; the watchdog; the close button; the address box
// and the navigate button with the browser window behind them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/testbed/ScriptedBrowser.h"
#include "tests/testbed/ToolbarDriver.h"

namespace {

using namespace testsupport;
using namespace toolbartest;

// ---------------------------------------------------------------------------------------------
// Where the toolbar is planted

struct PlacementCase {
    const char* name;
    int hostAnswer;
    const char* settings;  // the host's settings file
    int x, y, borderWidth;
    bool flat;
};

void PrintTo(const PlacementCase& c, std::ostream* os) { *os << c.name; }

class ToolbarPlacement : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(ToolbarPlacement, PlantsTheToolbarInTheHostsToolbarWhereTheSettingsSay) {
    const PlacementCase& c = GetParam();
    CorvaneOnHost corvane;
    HostSim::Options options;
    options.layout = c.hostAnswer;
    options.iniText = c.settings;
    corvane.Start(options);
    ASSERT_NE(corvane.Planted(), nullptr);
    const HWND hostToolbar = corvane.Host().Toolbar();

    EXPECT_EQ(::GetAncestor(corvane.Planted(), GA_PARENT), hostToolbar);
    EXPECT_NE(ClassNameOf(corvane.Planted()), "TToolbar");
    const POINT origin = ClientOrigin(corvane.Planted(), hostToolbar);
    EXPECT_EQ(origin.x, c.x);
    EXPECT_EQ(origin.y, c.y);
    EXPECT_EQ(SizeOf(corvane.Planted()).cx, 337);
    EXPECT_EQ(SizeOf(corvane.Planted()).cy, 28);
    // The border lies outside the planted window's client area, which the toolbar control fills;
    // every item then sits at its place in that client area, the address box too.
    RECT client{};
    ::GetClientRect(corvane.Planted(), &client);
    const POINT clientOrigin = ClientOrigin(corvane.Planted(), corvane.Planted());
    EXPECT_EQ(-clientOrigin.x, c.borderWidth);
    EXPECT_EQ(-clientOrigin.y, c.borderWidth);
    EXPECT_EQ(client.right, 337 - 2 * c.borderWidth);
    EXPECT_EQ(client.bottom, 28 - 2 * c.borderWidth);
    const POINT inner = ClientOrigin(corvane.Buttons(), corvane.Planted());
    EXPECT_EQ(inner.x, 0);
    EXPECT_EQ(inner.y, 0);
    EXPECT_EQ(ClientOrigin(corvane.URL(), corvane.Planted()).x, toolbar::ToolbarItemLeft(kURL));
    EXPECT_EQ((::GetWindowLongW(corvane.Buttons(), GWL_STYLE) & TBSTYLE_FLAT) != 0, c.flat);
    EXPECT_TRUE(::IsWindowVisible(corvane.URL()));
    // Planting and showing the toolbar leaves the host in front.
    EXPECT_EQ(::GetForegroundWindow(), corvane.Host().Main());
}

INSTANTIATE_TEST_SUITE_P(
    HostAndSettings, ToolbarPlacement,
    ::testing::Values(
        PlacementCase{"HostAnswersOne", 1, "", 369, -2, 1, true},
        PlacementCase{"HostAnswersZero", 0, "", 314, -2, 1, true},
        PlacementCase{"MenuOneWinsOverTheHost", 0, "[Browser]\r\nMenu=1\r\n", 369, -2, 1, true},
        PlacementCase{"MenuTwoWinsOverTheHost", 1, "[Browser]\r\nMenu=2\r\n", 314, -2, 1, true},
        PlacementCase{"OtherMenuLeavesItToTheHost", 1, "[Browser]\r\nMenu=$3\r\n", 369, -2, 1, true},
        PlacementCase{"FlatZeroIsRaised", 0, "[Option]\r\nFlatToolBar=0\r\n", 314, 0, 0, false},
        PlacementCase{"NoIntegersGiveTheDefaults", 1, "[Option]\r\nFlatToolBar=no\r\n[Browser]\r\nMenu=2abc\r\n", 369,
                      -2, 1, true}),
    [](const ::testing::TestParamInfo<PlacementCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------------
// The toolbar's items under the mouse

class ToolbarItems : public ::testing::Test {
protected:
    void SetUp() override { corvane_.Start(HostSim::Options{}); }
    CorvaneOnHost corvane_;
};

TEST_F(ToolbarItems, SitAtTheirPlacesWithTheirPictures) {
    ASSERT_NE(corvane_.Buttons(), nullptr);
    // Left to right as the program's table has them, each where the table puts it.
    const int widths[] = {8, 23, 121, 23, 23, 8, 23, 23, 23};
    ASSERT_EQ(std::size(widths), std::size(toolbar::kToolbarItems));
    for (int i = 0; i < static_cast<int>(std::size(widths)); ++i) {
        const int id = toolbar::kToolbarItems[i].id;
        EXPECT_EQ(corvane_.IndexOf(id), i) << "item " << id;
        const RECT item = corvane_.ItemRect(id);
        EXPECT_EQ(item.left, toolbar::ToolbarItemLeft(id)) << "item " << id;
        EXPECT_EQ(item.right - item.left, widths[i]) << "item " << id;
    }
    const int pictures[][2] = {{kBtnKestrixtoBrouser, 1}, {kBtnNavigate, 7}, {kBtnFavorite, 8},
                               {kBtnTag, 0},              {kToolButton1, 9}, {kBtnClose, 6}};
    for (const auto& [index, picture] : pictures) {
        const TBBUTTON button = corvane_.Button(index);
        EXPECT_EQ(button.iBitmap, picture) << "item " << index;
        EXPECT_EQ((button.fsStyle & BTNS_DROPDOWN) != 0, index == kBtnFavorite || index == kBtnTag) << "item " << index;
    }
    for (int separator : {kToolButton4, kURL, kToolButton9})
        EXPECT_TRUE(corvane_.Button(separator).fsStyle & BTNS_SEP) << "item " << separator;

    const HWND url = corvane_.URL();
    ASSERT_NE(url, nullptr);
    EXPECT_EQ(ClientOrigin(url, corvane_.Buttons()).x, toolbar::ToolbarItemLeft(kURL));
    EXPECT_EQ(SizeOf(url).cx, 121);
    EXPECT_EQ(SizeOf(url).cy, 22);
    EXPECT_EQ(corvane_.URLText(), "http://");
}

TEST_F(ToolbarItems, OnlyTheCloseButtonHasATooltipAndTheButtonUnderTheMouseIsHot) {
    const auto tooltipText = [&]() -> std::string {
        const auto tips = corvane_.VisibleWindows("tooltips_class32");
        return tips.empty() ? std::string() : WindowCaption(tips.front());
    };
    // The other process takes the mouse in its own time: wait for the hot item, don't sample it.
    const auto hotItemBecomes = [&](int id) {
        const LRESULT index = corvane_.IndexOf(id);
        return WaitUntil([&] { return ::SendMessageW(corvane_.Buttons(), TB_GETHOTITEM, 0, 0) == index; }, 3000);
    };
    MoveMouseTo(corvane_.ItemCentre(kBtnClose));
    EXPECT_TRUE(hotItemBecomes(kBtnClose));
    EXPECT_TRUE(WaitUntil([&] { return !tooltipText().empty(); }, 4000)) << "no tooltip over the close button";
    EXPECT_EQ(tooltipText(), "Corvane を終了します");

    MoveMouseTo(corvane_.ItemCentre(kBtnNavigate));
    EXPECT_TRUE(hotItemBecomes(kBtnNavigate));
    PumpFor(1500);
    EXPECT_EQ(tooltipText(), "");
}

TEST_F(ToolbarItems, DropDownButtonsShowTheirMenusUnderThemselvesPressedWhileOpen) {
    for (int index : {kBtnFavorite, kBtnTag}) {
        const int command = corvane_.Button(index).idCommand;
        corvane_.ClickItem(index);
        std::vector<HWND> menus;
        ASSERT_TRUE(WaitUntil([&] { return !(menus = corvane_.VisibleWindows("#32768")).empty(); },
                              5000))
            << "no menu under item " << index;
        const RECT item = corvane_.ItemRect(index);
        POINT bottomLeft{item.left, item.bottom};
        ::ClientToScreen(corvane_.Buttons(), &bottomLeft);
        RECT menu{};
        ::GetWindowRect(menus.front(), &menu);
        EXPECT_EQ(menu.left, bottomLeft.x) << "item " << index;
        EXPECT_EQ(menu.top, bottomLeft.y) << "item " << index;
        EXPECT_TRUE(::SendMessageW(corvane_.Buttons(), TB_ISBUTTONPRESSED, command, 0)) << "item " << index;

        PressKey(VK_ESCAPE);
        EXPECT_TRUE(WaitUntil([&] { return corvane_.VisibleWindows("#32768").empty(); }, 3000));
        EXPECT_TRUE(WaitUntil([&] { return !::SendMessageW(corvane_.Buttons(), TB_ISBUTTONPRESSED, command, 0); },
                              2000))
            << "item " << index;
    }
}

TEST_F(ToolbarItems, CloseButtonEndsCorvaneAndLeavesTheHost) {
    corvane_.ClickItem(kBtnClose);
    EXPECT_TRUE(corvane_.WaitForEnd(3000));
    EXPECT_TRUE(corvane_.Host().Proc().Running());
}

// ---------------------------------------------------------------------------------------------
// The watchdog

TEST(ToolbarWatchdog, FollowsTheHostsToolbarInAndOutOfSightAndTheHostsLayout) {
    CorvaneOnHost corvane;
    corvane.Start(HostSim::Options{});
    ASSERT_NE(corvane.Planted(), nullptr);
    corvane.Host().HideToolbar();
    EXPECT_FALSE(::IsWindowVisible(corvane.Planted()));
    PumpFor(2500);
    EXPECT_TRUE(corvane.Corvane().Running()) << "a hidden host toolbar ended Corvane";

    corvane.Host().ShowToolbar();
    EXPECT_TRUE(::IsWindowVisible(corvane.Planted()));
    corvane.Host().SetLayout(1);
    EXPECT_TRUE(WaitUntil([&] { return ClientOrigin(corvane.Planted(), corvane.Host().Toolbar()).x == 369; }, 3000));
    EXPECT_TRUE(corvane.Corvane().Running());
}

TEST(ToolbarWatchdog, EndsCorvaneQuietlyWhenTheHostsToolbarOrTheHostGoes) {
    for (bool closeHost : {false, true}) {
        CorvaneOnHost corvane;
        corvane.Start(HostSim::Options{});
        if (closeHost)
            EXPECT_TRUE(corvane.Host().Close());
        else
            corvane.Host().DestroyToolbar();
        EXPECT_TRUE(corvane.WaitForEnd(2500)) << (closeHost ? "host closed" : "host toolbar destroyed");
    }
}

TEST(ToolbarWatchdog, WithoutAHostToolbarTheToolbarStandsAloneUntilTheFirstTick) {
    CorvaneOnHost corvane;
    HostSim::Options options;
    options.noToolbar = true;
    corvane.Start(options, CorvaneOnHost::kTagIni, false);
    const HWND alone = WaitForWindow(
        [&]() -> HWND {
            const auto windows = corvane.VisibleWindows("TCorvaneToolBar");
            return windows.empty() ? nullptr : windows.front();
        },
        10000);
    EXPECT_NE(alone, nullptr) << "the toolbar never showed as a window of its own";
    EXPECT_TRUE(corvane.WaitForEnd(3000));
}

TEST(ToolbarWatchdog, AFailedSetUpShowsTheErrorAndEndsOnceTheHostsToolbarIsInSight) {
    CorvaneOnHost corvane;
    HostSim::Options options;
    options.hideToolbarAfterMs = 0;
    corvane.Start(options, nullptr, false);
    const HWND box = corvane.WaitForBox(15000);
    ASSERT_NE(box, nullptr) << "no error box for the missing Tag.ini";
    EXPECT_NE(MessageBoxText(box).find("Tag.ini"), std::string::npos) << MessageBoxText(box);
    // While the host's toolbar is hidden, the box stays and Corvane waits; after OK it still waits.
    PumpFor(2500);
    EXPECT_TRUE(corvane.Corvane().Running());
    EXPECT_TRUE(::IsWindowVisible(box));
    PressMessageBoxButton(box);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box); }, 5000)) << "OK did not close the box";
    PumpFor(2500);
    EXPECT_TRUE(corvane.Corvane().Running()) << "ended while the host's toolbar was hidden";

    corvane.Host().ShowToolbar();
    EXPECT_TRUE(corvane.WaitForEnd(3000, false)) << "the watchdog did not end it once the host's toolbar showed";
    EXPECT_EQ(FindPlantedToolbar(corvane.Host(), corvane.Corvane().Id()), nullptr);
}

// ---------------------------------------------------------------------------------------------
// The address box and the navigate button

class AddressBox : public ::testing::Test {
protected:
    void SetUp() override {
        corvane_.Start(HostSim::Options{});
        ASSERT_NE(corvane_.URL(), nullptr);
    }
    void SetURL(const std::string& ansi) {
        ::SendMessageA(corvane_.URL(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ansi.c_str()));
    }
    // Nothing navigated and no browser window shown for a while.
    void ExpectNoNavigation() {
        PumpFor(1500);
        EXPECT_TRUE(browser_.NavigatedUrls().empty());
        EXPECT_FALSE(corvane_.BrowserShown());
    }

    ScriptedBrowserRegistration browser_;
    CorvaneOnHost corvane_;
};

TEST_F(AddressBox, TypedCharactersEditButKeysGoingDownDoNothing) {
    corvane_.FocusURL(7);
    for (WORD key : {VK_LEFT, VK_LEFT, VK_HOME, VK_UP}) PressKey(key);
    EXPECT_EQ(corvane_.URLCaret(), 7) << "a caret key moved the caret";
    PressKey('A');
    PressKey('B');
    PressKey(VK_BACK);
    EXPECT_EQ(corvane_.URLText(), "http://a");

    corvane_.FocusURL(0);
    PressKey(VK_DELETE);
    PressKey(VK_END);
    EXPECT_EQ(corvane_.URLText(), "http://a");
    EXPECT_EQ(corvane_.URLCaret(), 0);

    PressKey(VK_F4, true);
    PumpFor(1000);
    EXPECT_TRUE(corvane_.Corvane().Running()) << "Alt+F4 in the box closed Corvane";
    EXPECT_TRUE(corvane_.Host().Proc().Running()) << "Alt+F4 in the box closed the host";
    EXPECT_EQ(corvane_.URLText(), "http://a");
    EXPECT_TRUE(browser_.NavigatedUrls().empty());
}

TEST_F(AddressBox, EnterOpensWhateverTheBoxHoldsEvenTheBarePrefix) {
    corvane_.FocusURL(7);
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return corvane_.BrowserShown(); }, 5000)) << "no browser window";
    EXPECT_EQ(browser_.WaitForNavigatedUrls(1, 5000), std::vector<std::string>{"http://"});
    EXPECT_EQ(corvane_.URLText(), "http://") << "the Enter character reached the box";
}

TEST_F(AddressBox, NavigateButtonIgnoresAnEmptyBoxAndTheBarePrefix) {
    corvane_.ClickItem(kBtnNavigate);
    ExpectNoNavigation();
    SetURL("");
    corvane_.ClickItem(kBtnNavigate);
    ExpectNoNavigation();

    const std::string address = "http://example.jp/" + Utf8ToAnsi("案内") + ".htm";
    SetURL(address);
    corvane_.ClickItem(kBtnNavigate);
    EXPECT_TRUE(WaitUntil([&] { return corvane_.BrowserShown(); }, 5000)) << "no browser window";
    EXPECT_EQ(browser_.WaitForNavigatedUrls(1, 5000), std::vector<std::string>{"http://example.jp/案内.htm"});
}

}  // namespace
