// The favorites menu end to end: a staged Corvane planted in the stand-in host, with the scripted
// browser control standing in for the real one. The favorites button drops the menu; its first
// entry loads the user's Favorites folder of this prefix, which the tests fill; a chosen shortcut
// sends the browser window to the address the file holds at that moment.

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "tests/testbed/HostSim.h"
#include "tests/testbed/ScriptedBrowser.h"
#include "tests/testbed/TestSupport.h"
#include "toolbar/ToolbarItems.h"

namespace {

using namespace testsupport;

constexpr int kItemHeight = 19;
constexpr int kSeparatorHeight = 5;

constexpr char kTagIni[] = "Tags\r\n%&Head\r\n&<b>\r\n";

// Names that code page 932 cannot hold ("é", "ü", Hangul, simplified Chinese), and "¥", which
// the code page would turn into a path separator.
constexpr char kWideFolder[] = "café 한국 ¥";
constexpr char kWideShortcut[] = "简体.url";
constexpr char kWideFile[] = "Grüße.url";

std::string Shortcut(const std::string& url) { return "[InternetShortcut]\r\nURL=" + url + "\r\n"; }

std::vector<HWND> VisibleMenusOf(DWORD processId) { return VisibleWindowsOf(processId, "#32768"); }

SIZE ClientSize(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    return SIZE{client.right, client.bottom};
}

// The screen point in the middle of item index of a menu window whose items have these heights.
POINT ItemCentre(HWND menu, const std::vector<int>& heights, size_t index) {
    const SIZE client = ClientSize(menu);
    const int items = std::accumulate(heights.begin(), heights.end(), 0);
    const int top = (client.cy - items) / 2 +
                    std::accumulate(heights.begin(), heights.begin() + static_cast<std::ptrdiff_t>(index), 0);
    POINT point{client.cx / 3, top + heights[index] / 2};
    ::ClientToScreen(menu, &point);
    return point;
}

// The user's Favorites folder of this prefix, which a Corvane started from here finds too. The
// tests own it while they run: what was there is moved aside and put back afterwards.
class FavoritesFolder {
public:
    FavoritesFolder() {
        char path[MAX_PATH] = {};
        ::SHGetFolderPathA(nullptr, CSIDL_FAVORITES | CSIDL_FLAG_DONT_VERIFY, nullptr, SHGFP_TYPE_CURRENT, path);
        path_ = path;
        if (path_.empty()) return;
        path_ += "\\";
        aside_ = path_.substr(0, path_.size() - 1) + " (kept aside by the tests)";
        if (FileExists(path_)) movedAside_ = ::MoveFileA(path_.substr(0, path_.size() - 1).c_str(), aside_.c_str()) != 0;
    }
    ~FavoritesFolder() {
        if (path_.empty()) return;
        RemoveWide();
        RemoveTree(path_);
        if (movedAside_) ::MoveFileA(aside_.c_str(), path_.substr(0, path_.size() - 1).c_str());
    }
    FavoritesFolder(const FavoritesFolder&) = delete;
    FavoritesFolder& operator=(const FavoritesFolder&) = delete;

    const std::string& Path() const { return path_; }  // with its trailing "\"
    void Create() const { ::CreateDirectoryA(path_.c_str(), nullptr); }
    void Remove() const {
        RemoveWide();
        RemoveTree(path_);
    }
    void Folder(const std::string& relative) const { ::CreateDirectoryA((path_ + relative).c_str(), nullptr); }
    void File(const std::string& relative, const std::string& bytes) const { WriteFileBytes(path_ + relative, bytes); }
    // Names given in UTF-8, made through the wide API: the code page need not hold them.
    void WideFolder(const std::string& relative) const {
        ::CreateDirectoryW(Utf8ToWide(path_ + relative).c_str(), nullptr);
    }
    void WideFile(const std::string& relative, const std::string& bytes) const {
        const HANDLE file = ::CreateFileW(Utf8ToWide(path_ + relative).c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        ::CloseHandle(file);
    }

private:
    // The ANSI removal cannot name what the code page does not hold: the wide names go first.
    void RemoveWide() const {
        ::DeleteFileW(Utf8ToWide(path_ + kWideFolder + "\\" + kWideShortcut).c_str());
        ::RemoveDirectoryW(Utf8ToWide(path_ + kWideFolder).c_str());
        ::DeleteFileW(Utf8ToWide(path_ + kWideFile).c_str());
    }

    std::string path_;
    std::string aside_;
    bool movedAside_ = false;
};

class FavoritesEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(favorites_.Path().empty()) << "this platform names no Favorites folder";
        dir_ = ScratchDir("launch favorites e2e");
        // Corvane's start may create the folder; each test decides what it holds afterwards.
        favorites_.Remove();
    }
    void TearDown() override {
        for (HWND window : VisibleMenusOf(corvane_.Id())) ::PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 1);
        corvane_.Kill();
        host_ = HostSim();
        RemoveTree(dir_);
    }

    void Start() {
        exe_ = StageCorvane(dir_, kTagIni);
        host_ = HostSim::Start();
        ASSERT_NE(host_.Main(), nullptr);
        corvane_ = StartCorvane(exe_, host_);
        ASSERT_TRUE(corvane_.Running());
        ASSERT_NE(Buttons(), nullptr) << "no planted toolbar";
    }

    HWND Buttons() {
        const HWND planted = WaitForPlantedToolbar(host_, corvane_.Id());
        if (!planted || ClassNameOf(planted) == "ToolbarWindow32") return planted;
        return ::FindWindowExA(planted, nullptr, "ToolbarWindow32", nullptr);
    }

    // Presses the favorites button; gives the menu windows that are open then, leftmost first.
    std::vector<HWND> DropFavorites(size_t expectedWindows = 1) {
        const HWND buttons = Buttons();
        if (!buttons) return {};
        RECT client{};
        ::GetClientRect(buttons, &client);
        POINT point{toolbar::ToolbarItemMiddle(toolbar::kBtnFavorite), client.bottom / 2};
        ::ClientToScreen(buttons, &point);
        ClickAt(point);
        return WaitForMenus(expectedWindows);
    }

    std::vector<HWND> WaitForMenus(size_t count) { return WaitForOpenMenus(corvane_.Id(), count); }

    bool WaitForMenusClosed() {
        return WaitUntil([&] { return VisibleMenusOf(corvane_.Id()).empty(); }, 3000);
    }

    // Chooses the first entry of the menu that is not loaded yet; the menu closes, then the load runs.
    // Returns once the load has ended: the menu dropped again shows neither the entry alone (the
    // load not begun) nor the entry over the progress line (the load running), however long the
    // load takes on a busy machine.
    void Load() {
        std::vector<HWND> menus = DropFavorites();
        ASSERT_EQ(menus.size(), 1u);
        const LONG unloaded = ClientSize(menus[0]).cy;
        ClickAt(ItemCentre(menus[0], {kItemHeight}, 0));
        ASSERT_TRUE(WaitForMenusClosed());
        const bool ended = WaitUntil(
            [&] {
                menus = DropFavorites();
                const LONG height = menus.size() == 1 ? ClientSize(menus[0]).cy : unloaded;
                PressKey(VK_ESCAPE);
                return WaitForMenusClosed() && height != unloaded && height != unloaded + kItemHeight;
            },
            20000);
        ASSERT_TRUE(ended) << "the load did not end";
    }

    void ExpectOnlyTheSeparatorAfterTheLoad();

    bool BrowserWindowVisible() const {
        for (HWND window : TopLevelWindowsOf(corvane_.Id(), "TForm2"))
            if (::IsWindowVisible(window)) return true;
        return false;
    }

    FavoritesFolder favorites_;
    ScriptedBrowserRegistration browser_;
    std::string dir_, exe_;
    HostSim host_;
    Process corvane_;
};

// Loaded: the disabled first entry, the separator, Empty, Links, then alpha, bravo, charlie.
const std::vector<int> kLoadedHeights{kItemHeight, kSeparatorHeight, kItemHeight, kItemHeight,
                                      kItemHeight, kItemHeight, kItemHeight};
constexpr size_t kEmpty = 2, kLinks = 3, kAlpha = 4, kBravo = 5, kCharlie = 6;

TEST_F(FavoritesEndToEnd, FirstEntryLoadsTheFolderAndChoicesOpenTheAddressReadAtThatMoment) {
    // The folder is there but empty when Corvane starts; its shortcuts come only afterwards, so
    // what the menu lists must have been read when the first entry was chosen.
    favorites_.Create();
    Start();
    favorites_.Folder("Links");
    favorites_.File("Links\\inner.url", Shortcut("http://inner.example/"));
    favorites_.Folder("Empty");
    favorites_.File("alpha.url", Shortcut("http://alpha.example/"));
    favorites_.File("bravo.url", "[InternetShortcut]\r\nIconIndex=0\r\n[Other]\r\nURL=http://not-this.example/\r\n");
    const std::string longAddress = "http://long.example/" + std::string(3000, 'x');
    favorites_.File("charlie.url", Shortcut(longAddress));
    favorites_.File("hidden.url", Shortcut("http://hidden.example/"));
    ::SetFileAttributesA((favorites_.Path() + "hidden.url").c_str(), FILE_ATTRIBUTE_HIDDEN);

    std::vector<HWND> menus = DropFavorites();
    ASSERT_EQ(menus.size(), 1u);
    const SIZE unloaded = ClientSize(menus[0]);
    const int margins = unloaded.cy - kItemHeight;
    EXPECT_GE(margins, 0);
    EXPECT_LT(margins, kItemHeight) << "before the load the menu holds one entry";
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitForMenusClosed());

    Load();
    menus = DropFavorites();
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(ClientSize(menus[0]).cy,
              margins + std::accumulate(kLoadedHeights.begin(), kLoadedHeights.end(), 0))
        << "the hidden shortcut is not listed";
    ClickAt(ItemCentre(menus[0], kLoadedHeights, kAlpha));
    std::vector<std::string> urls = browser_.WaitForNavigatedUrls(1, 5000);
    ASSERT_EQ(urls.size(), 1u);
    EXPECT_EQ(urls[0], "http://alpha.example/");
    EXPECT_TRUE(BrowserWindowVisible());

    // No "URL" key in the shortcut's own section: the window still navigates, to nothing.
    menus = DropFavorites();
    ASSERT_EQ(menus.size(), 1u);
    ClickAt(ItemCentre(menus[0], kLoadedHeights, kBravo));
    urls = browser_.WaitForNavigatedUrls(2, 5000);
    ASSERT_EQ(urls.size(), 2u);
    EXPECT_EQ(urls[1], "");

    // A value past 2047 bytes is cut there.
    menus = DropFavorites();
    ASSERT_EQ(menus.size(), 1u);
    ClickAt(ItemCentre(menus[0], kLoadedHeights, kCharlie));
    urls = browser_.WaitForNavigatedUrls(3, 5000);
    ASSERT_EQ(urls.size(), 3u);
    EXPECT_EQ(urls[2], longAddress.substr(0, 2047));

    // An address written into the shortcut after the load is the one opened.
    favorites_.File("alpha.url", Shortcut("http://edited.example/"));
    menus = DropFavorites();
    ASSERT_EQ(menus.size(), 1u);
    ClickAt(ItemCentre(menus[0], kLoadedHeights, kAlpha));
    urls = browser_.WaitForNavigatedUrls(4, 5000);
    ASSERT_EQ(urls.size(), 4u);
    EXPECT_EQ(urls[3], "http://edited.example/");

    // A subfolder opens as a submenu, by the keyboard here; an empty one is a plain item that
    // does nothing.
    menus = DropFavorites();
    ASSERT_EQ(menus.size(), 1u);
    ClickAt(ItemCentre(menus[0], kLoadedHeights, kLinks));
    menus = WaitForMenus(2);
    ASSERT_EQ(menus.size(), 2u);
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    urls = browser_.WaitForNavigatedUrls(5, 5000);
    ASSERT_EQ(urls.size(), 5u);
    EXPECT_EQ(urls[4], "http://inner.example/");

    menus = DropFavorites();
    ASSERT_EQ(menus.size(), 1u);
    ClickAt(ItemCentre(menus[0], kLoadedHeights, kEmpty));
    EXPECT_TRUE(WaitForMenusClosed());
    PumpFor(500);
    EXPECT_EQ(browser_.NavigatedUrls().size(), 5u);
}

// What the menu shows once loaded when there is no Favorites folder to list: the finished entry
// and the separator, nothing else.
void FavoritesEndToEnd::ExpectOnlyTheSeparatorAfterTheLoad() {
    std::vector<HWND> menus = DropFavorites();
    ASSERT_EQ(menus.size(), 1u);
    const SIZE unloaded = ClientSize(menus[0]);
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitForMenusClosed());

    Load();
    menus = DropFavorites();
    ASSERT_EQ(menus.size(), 1u);
    const SIZE loaded = ClientSize(menus[0]);
    EXPECT_EQ(loaded.cy, unloaded.cy + kSeparatorHeight) << "the finished entry and the separator, nothing else";
    EXPECT_LT(loaded.cx, unloaded.cx) << "the finished entry's caption is the shorter one";

    // The finished entry is disabled: a click on it neither closes the menu nor loads again.
    ClickAt(ItemCentre(menus[0], {kItemHeight, kSeparatorHeight}, 0));
    PumpFor(300);
    EXPECT_EQ(VisibleMenusOf(corvane_.Id()).size(), 1u);
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitForMenusClosed());
    menus = DropFavorites();
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(ClientSize(menus[0]).cy, loaded.cy);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(browser_.NavigatedUrls().empty());
}

// The platform cannot name a folder that does not exist: the menu must then list nothing at
// all (not the drive's root, which a bare "\" would name).
TEST_F(FavoritesEndToEnd, AFolderMissingAtTheStartGivesOnlyTheSeparator) {
    Start();
    ExpectOnlyTheSeparatorAfterTheLoad();
}

TEST_F(FavoritesEndToEnd, AFolderGoneBeforeTheLoadGivesOnlyTheSeparator) {
    favorites_.Create();
    favorites_.File("gone.url", Shortcut("http://gone.example/"));
    Start();
    favorites_.Remove();
    ExpectOnlyTheSeparatorAfterTheLoad();
}

// Shortcuts whose names, and one whose address, the code page cannot hold: the system writes the
// whole address in UTF-7 in a section of its own beside the ANSI one, which has lost characters.
TEST_F(FavoritesEndToEnd, NamesAndAddressesOutsideTheCodePageOpenWhatTheyName) {
    favorites_.Create();
    favorites_.WideFolder(kWideFolder);
    favorites_.WideFile(std::string(kWideFolder) + "\\" + kWideShortcut,
                        "[{000214A0-0000-0000-C000-000000000046}]\r\nProp3=19,11\r\n"
                        "[InternetShortcut.W]\r\nURL=http://example.org/caf+AOk-/+1VytbQ-/+e4BPUw-\r\n"
                        "[InternetShortcut]\r\nIDList=\r\nURL=http://example.org/caf?/??" "/??\r\n"
                        "IconIndex=1\r\nHotKey=0\r\n[DEFAULT]\r\nBASEURL=http://example.org/\r\n");
    favorites_.WideFile(kWideFile, Shortcut("http://gruesse.example/"));
    Start();
    Load();

    const std::vector<int> heights{kItemHeight, kSeparatorHeight, kItemHeight, kItemHeight};
    std::vector<HWND> menus = DropFavorites();
    ASSERT_EQ(menus.size(), 1u);
    ClickAt(ItemCentre(menus[0], heights, 3));
    std::vector<std::string> urls = browser_.WaitForNavigatedUrls(1, 5000);
    ASSERT_EQ(urls.size(), 1u) << "the file of a name outside the code page was read";
    EXPECT_EQ(urls[0], "http://gruesse.example/");

    menus = DropFavorites();
    ASSERT_EQ(menus.size(), 1u);
    ClickAt(ItemCentre(menus[0], heights, 2));
    menus = WaitForMenus(2);
    ASSERT_EQ(menus.size(), 2u) << "the folder of a name outside the code page opens";
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    urls = browser_.WaitForNavigatedUrls(2, 5000);
    ASSERT_EQ(urls.size(), 2u);
    EXPECT_EQ(urls[1], "http://example.org/café/한국/简体");
}

}  // namespace
