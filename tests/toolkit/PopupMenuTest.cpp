// The popup menu on real windows: what an opening menu and group show, owner-drawn sizes, and
// how choices are delivered. A helper thread drives the menu while the test thread is inside it.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/testbed/MenuDriver.h"
#include "tests/testbed/TestSupport.h"
#include "toolkit/ImageList.h"
#include "toolkit/Menu.h"

namespace {

using menutest::ItemsOf;
using menutest::MenuDriver;
using menutest::MenuOfWindow;
using menutest::ShownItem;
using toolkit::TMenuItem;

// "&Alpha|-|Beta(off)|&Group>": separators as "-", disabled items marked, groups with ">".
std::string Describe(const std::vector<ShownItem>& items) {
    std::string text;
    for (const ShownItem& item : items) {
        if (!text.empty()) text += "|";
        text += item.separator ? "-" : testsupport::WideToUtf8(item.text);
        if (item.disabled && !item.separator) text += "(off)";
        if (item.submenu) text += ">";
    }
    return text;
}

POINT CentreOf(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

class PopupMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"MenuTestWindow";
        ::RegisterClassW(&wc);
        window_ = ::CreateWindowExW(0, wc.lpszClassName, L"menu test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300,
                                    200, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(window_, nullptr);
        ::SetForegroundWindow(window_);
        testsupport::PumpFor(100);
        menu_.SetOwnerWindow(window_);
    }
    void TearDown() override {
        if (window_) ::DestroyWindow(window_);
    }

    TMenuItem& Add(TMenuItem& parent, const std::string& caption, bool enabled = true, bool visible = true) {
        TMenuItem& item = parent.Add(std::make_unique<TMenuItem>(caption));
        item.SetEnabled(enabled);
        item.SetVisible(visible);
        return item;
    }
    // An item whose action writes its caption to the log, noting whether a menu was still open.
    TMenuItem& AddLogged(TMenuItem& parent, const std::string& caption, bool enabled = true) {
        TMenuItem& item = Add(parent, caption, enabled);
        item.SetOnClick([this](TMenuItem& sender) {
            log_.push_back(sender.Caption());
            if (menutest::AnyMenuOpen() || ::IsWindowVisible(::FindWindowW(L"#32768", nullptr)))
                log_.push_back("menu still open");
            if (popupReturned_) log_.push_back("after Popup returned");
        });
        return item;
    }

    // Separators everywhere, a disabled and a hidden item, a group with separators of its own.
    void BuildSeparatorModel() {
        TMenuItem& root = menu_.Items();
        for (const char* caption : {"-", "&Alpha", "-", "-"}) Add(root, caption);
        Add(root, "Beta", false);
        Add(root, "Hidden", true, false);
        Add(root, "-");
        TMenuItem& group = Add(root, "&Group");
        for (const char* caption : {"-", "x", "-", "Hid", "-", "y", "-"})
            Add(group, caption, true, std::string(caption) != "Hid");
        Add(root, "-");
    }

    // Shows the menu while script drives it; returns once both are done.
    void PopupWith(std::function<void(MenuDriver&)> script) {
        popupReturned_ = false;
        MenuDriver driver(std::move(script));
        menu_.Popup(100, 100);
        popupReturned_ = true;
        driver.Finish();
    }

    HWND window_ = nullptr;
    toolkit::TPopupMenu menu_;
    std::vector<std::string> log_;
    bool popupReturned_ = false;
};

struct SeenLevels {
    std::string top, group;
    int groupItemsBeforeOpening = -1;
};

TEST_F(PopupMenuTest, OpeningMenusShowVisibleItemsWithSeparatorsReduced) {
    BuildSeparatorModel();

    auto look = [this] {
        SeenLevels seen;
        PopupWith([&](MenuDriver& driver) {
            HWND top = driver.WaitForMenus(1);
            if (!top) return;
            const auto items = ItemsOf(MenuOfWindow(top));
            seen.top = Describe(items);
            for (const auto& item : items)
                if (item.submenu) seen.groupItemsBeforeOpening = ::GetMenuItemCount(item.submenu);
            driver.Char(top, L'g');
            if (HWND group = driver.WaitForMenus(2)) seen.group = Describe(ItemsOf(MenuOfWindow(group)));
        });
        return seen;
    };

    menu_.SetAutoLineReduction(true);
    SeenLevels reduced = look();
    EXPECT_EQ(reduced.top, "&Alpha|-|Beta(off)|-|&Group>");
    EXPECT_EQ(reduced.group, "x|-|y");
    EXPECT_EQ(reduced.groupItemsBeforeOpening, 0) << "a group's menu is built when it opens";

    menu_.SetAutoLineReduction(false);
    SeenLevels exact = look();
    EXPECT_EQ(exact.top, "-|&Alpha|-|-|Beta(off)|-|&Group>|-");
    EXPECT_EQ(exact.group, "-|x|-|-|y|-");
    EXPECT_TRUE(log_.empty());
}

TEST_F(PopupMenuTest, ChoiceRunsItsActionAfterTheMenuHasClosed) {
    AddLogged(menu_.Items(), "&Alpha");
    TMenuItem& group = Add(menu_.Items(), "&Group");
    AddLogged(group, "&One");
    AddLogged(group, "&Two");
    AddLogged(menu_.Items(), "");  // an empty caption is an item like any other, not a separator

    // Keyboard: arrow and Enter, then an access key inside a group.
    PopupWith([](MenuDriver& driver) {
        if (HWND top = driver.WaitForMenus(1)) {
            driver.Key(top, VK_DOWN);
            driver.Key(top, VK_RETURN);
        }
    });
    PopupWith([](MenuDriver& driver) {
        if (HWND top = driver.WaitForMenus(1)) {
            driver.Char(top, L'g');
            if (HWND sub = driver.WaitForMenus(2)) driver.Char(sub, L't');
        }
    });
    // Mouse: open the group with a click, then click its first entry.
    PopupWith([](MenuDriver& driver) {
        HWND top = driver.WaitForMenus(1);
        if (!top) return;
        const auto items = ItemsOf(MenuOfWindow(top));
        if (items.size() != 3) return;
        driver.Click(CentreOf(items[1].rect));
        if (HWND sub = driver.WaitForMenus(2)) {
            const auto entries = ItemsOf(MenuOfWindow(sub));
            if (!entries.empty()) driver.Click(CentreOf(entries[0].rect));
        }
    });
    std::string shown;
    PopupWith([&](MenuDriver& driver) {
        HWND top = driver.WaitForMenus(1);
        if (!top) return;
        const auto items = ItemsOf(MenuOfWindow(top));
        shown = Describe(items);
        if (items.size() == 3) driver.Click(CentreOf(items[2].rect));
    });
    EXPECT_EQ(shown, "&Alpha|&Group>|");
    EXPECT_EQ(log_, (std::vector<std::string>{"&Alpha", "&Two", "&One", ""}));
    EXPECT_FALSE(menutest::AnyMenuOpen());
}

TEST_F(PopupMenuTest, DisabledItemsAndSeparatorsCannotBeChosen) {
    AddLogged(menu_.Items(), "&Disabled", false);
    Add(menu_.Items(), "-");
    AddLogged(menu_.Items(), "&Ok");

    bool stillOpen = false;
    PopupWith([&](MenuDriver& driver) {
        HWND top = driver.WaitForMenus(1);
        if (!top) return;
        const auto items = ItemsOf(MenuOfWindow(top));
        if (items.size() != 3) return;
        driver.Click(CentreOf(items[0].rect));
        driver.Click(CentreOf(items[1].rect));
        stillOpen = menutest::AnyMenuOpen();
        // The menu system may close the menu on a disabled item's key, but chooses nothing.
        driver.Char(top, L'd');
    });
    EXPECT_TRUE(stillOpen) << "clicks on a disabled item or a separator leave the menu open";
    EXPECT_TRUE(log_.empty()) << log_.front();

    // The same ways of choosing do choose an enabled item.
    PopupWith([](MenuDriver& driver) {
        if (HWND top = driver.WaitForMenus(1)) driver.Char(top, L'o');
    });
    PopupWith([](MenuDriver& driver) {
        HWND top = driver.WaitForMenus(1);
        if (!top) return;
        const auto items = ItemsOf(MenuOfWindow(top));
        if (items.size() == 3) driver.Click(CentreOf(items[2].rect));
    });
    EXPECT_EQ(log_, (std::vector<std::string>{"&Ok", "&Ok"}));
}

TEST_F(PopupMenuTest, GroupsThatWouldOpenEmptyArePlainItems) {
    menu_.SetAutoLineReduction(true);
    Add(menu_.Items(), "&Empty");
    TMenuItem& separators = Add(menu_.Items(), "&Separators");
    Add(separators, "-");
    Add(separators, "-");
    TMenuItem& hidden = Add(menu_.Items(), "&Hidden");
    AddLogged(hidden, "invisible").SetVisible(false);
    AddLogged(menu_.Items(), "&Plain");

    std::string shown;
    bool closed = false;
    PopupWith([&](MenuDriver& driver) {
        HWND top = driver.WaitForMenus(1);
        if (!top) return;
        shown = Describe(ItemsOf(MenuOfWindow(top)));
        driver.Char(top, L'e');
        closed = driver.WaitForClosed(3000);
    });
    EXPECT_EQ(shown, "&Empty|&Separators|&Hidden|&Plain");
    EXPECT_TRUE(closed) << "choosing an empty group closes the menu";
    EXPECT_TRUE(log_.empty());

    for (wchar_t key : {L's', L'h', L'p'})
        PopupWith([key](MenuDriver& driver) {
            if (HWND top = driver.WaitForMenus(1)) driver.Char(top, key);
        });
    EXPECT_EQ(log_, std::vector<std::string>{"&Plain"});
}

TEST_F(PopupMenuTest, WithAnImageListItemsAreOwnerDrawnAtFixedHeights) {
    toolkit::TImageList images(16, 16);
    menu_.SetImages(&images);
    const std::string japanese = testsupport::Utf8ToAnsi("日本語&J");
    AddLogged(menu_.Items(), "&Alpha").SetImageIndex(0);
    Add(menu_.Items(), "-");
    AddLogged(menu_.Items(), japanese);
    AddLogged(menu_.Items(), "R&&D");
    TMenuItem& group = Add(menu_.Items(), "&Group");
    Add(group, "a");
    Add(group, "-");
    Add(group, "b");

    std::vector<ShownItem> top, sub;
    PopupWith([&](MenuDriver& driver) {
        HWND window = driver.WaitForMenus(1);
        if (!window) return;
        top = ItemsOf(MenuOfWindow(window));
        driver.Char(window, L'd');  // "&&" marks no access key
        driver.Char(window, L'g');
        if (HWND groupWindow = driver.WaitForMenus(2)) sub = ItemsOf(MenuOfWindow(groupWindow));
    });
    ASSERT_EQ(top.size(), 5u);
    ASSERT_EQ(sub.size(), 3u);
    EXPECT_EQ(top[2].text, testsupport::Utf8ToWide("日本語&J"));
    for (const auto* level : {&top, &sub})
        for (const ShownItem& item : *level) {
            EXPECT_TRUE(item.ownerDrawn) << testsupport::WideToUtf8(item.text);
            EXPECT_EQ(item.rect.bottom - item.rect.top, item.separator ? 5 : 19) << testsupport::WideToUtf8(item.text);
        }
    EXPECT_TRUE(log_.empty());

    // Access keys of owner-drawn items, a double-byte caption's included.
    PopupWith([](MenuDriver& driver) {
        if (HWND window = driver.WaitForMenus(1)) driver.Char(window, L'j');
    });
    EXPECT_EQ(log_, std::vector<std::string>{japanese});
}

TEST_F(PopupMenuTest, NothingShowsForAMenuWithoutVisibleItems) {
    AddLogged(menu_.Items(), "gone").SetVisible(false);
    bool opened = true;
    PopupWith([&](MenuDriver& driver) { opened = driver.WaitForMenus(1, 1000) != nullptr; });
    EXPECT_FALSE(opened);
    EXPECT_TRUE(log_.empty());
}

}  // namespace
