// The folder launch menu on real folder trees: what a load lists, in which order and under which
// numbers, which icons the items get, what choosing an item does, and what a second load leaves.

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "tests/testbed/TestSupport.h"
#include "menus/LaunchPopup.h"
#include "menus/ShortcutFile.h"
#include "menus/core/LaunchNames.h"
#include "toolkit/ImageList.h"
#include "toolkit/Menu.h"
#include "toolkit/Text.h"

namespace {

using menus::TLaunchPopup;
using testsupport::ScratchDir;
using testsupport::WriteFileBytes;
using toolkit::TMenuItem;

// The scratch trees' paths are ASCII: the ANSI and the UTF-16 forms say the same.
std::wstring W(const std::string& ascii) { return toolkit::AnsiToWide(ascii); }
std::string A(const std::wstring& path) { return toolkit::WideToAnsi(path); }

std::vector<std::string> FileListOf(const TLaunchPopup& popup) {
    std::vector<std::string> paths;
    for (const std::wstring& path : popup.FileList()) paths.push_back(A(path));
    return paths;
}

constexpr char kShortcut[] = "[InternetShortcut]\r\nURL=http://example.invalid/\r\n";

// A scratch folder tree, removed with the object.
class Tree {
public:
    explicit Tree(const std::string& name) : root_(ScratchDir(name)) {}
    // Makes the entries in their order: a name that ends in "\\" is a folder, any other a shortcut.
    Tree(const std::string& name, std::initializer_list<std::string_view> entries) : Tree(name) {
        for (const std::string_view entry : entries) {
            if (entry.ends_with('\\'))
                Folder(std::string(entry));
            else
                File(std::string(entry));
        }
    }
    ~Tree() { testsupport::RemoveTree(root_); }
    Tree(const Tree&) = delete;
    Tree& operator=(const Tree&) = delete;

    const std::string& Root() const { return root_; }
    void File(const std::string& relative, DWORD attributes = 0) {
        WriteFileBytes(root_ + relative, kShortcut);
        if (attributes) ::SetFileAttributesA((root_ + relative).c_str(), attributes);
    }
    void Folder(const std::string& relative, DWORD attributes = 0) {
        ::CreateDirectoryA((root_ + relative).c_str(), nullptr);
        if (attributes) ::SetFileAttributesA((root_ + relative).c_str(), attributes | FILE_ATTRIBUTE_DIRECTORY);
    }
    void Remove(const std::string& relative) { ::DeleteFileA((root_ + relative).c_str()); }

private:
    std::string root_;
};

// The popup set to list the shortcuts ("*.url") of root and, with searchDirectory, of its folders.
void Favor(TLaunchPopup& popup, const std::string& root, bool searchDirectory = true) {
    popup.SetMask(L"*.url");
    popup.SetSearchDirectory(searchDirectory);
    popup.SetDirectory(W(root));
}

// The menu as indented lines: a folder item ends with "/", a file item shows "=tag".
void Outline(const TMenuItem& parent, size_t first, const std::string& indent, std::vector<std::string>& lines) {
    for (size_t i = first; i < parent.Count(); ++i) {
        const TMenuItem& item = parent.Item(i);
        lines.push_back(indent + item.Caption() + (item.OnClick() ? "=" + std::to_string(item.Tag()) : "/"));
        Outline(item, 0, indent + "  ", lines);
    }
}

std::vector<std::string> Outline(TLaunchPopup& popup, size_t first = 0) {
    std::vector<std::string> lines;
    Outline(popup.Items(), first, "", lines);
    return lines;
}

void CollectFileItems(TMenuItem& parent, std::vector<TMenuItem*>& items) {
    for (size_t i = 0; i < parent.Count(); ++i) {
        TMenuItem& item = parent.Item(i);
        if (item.OnClick()) items.push_back(&item);
        CollectFileItems(item, items);
    }
}

std::vector<TMenuItem*> FileItems(TLaunchPopup& popup) {
    std::vector<TMenuItem*> items;
    CollectFileItems(popup.Items(), items);
    return items;
}

TMenuItem* FindItem(TMenuItem& parent, const std::string& caption) {
    for (size_t i = 0; i < parent.Count(); ++i) {
        if (parent.Item(i).Caption() == caption) return &parent.Item(i);
        if (TMenuItem* found = FindItem(parent.Item(i), caption)) return found;
    }
    return nullptr;
}

// An image drawn over a plain background, as 32-bit pixels, so that two lists can be compared
// through their public drawing whatever their inner layout.
std::vector<DWORD> DrawnPixels(HIMAGELIST list, int index, COLORREF background) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 16;
    info.bmiHeader.biHeight = -16;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    HBRUSH brush = ::CreateSolidBrush(background);
    const RECT all{0, 0, 16, 16};
    ::FillRect(dc, &all, brush);
    ::ImageList_Draw(list, index, dc, 0, 0, ILD_NORMAL);
    ::GdiFlush();
    std::vector<DWORD> pixels(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + 256);
    ::SelectObject(dc, old);
    ::DeleteObject(brush);
    ::DeleteDC(dc);
    ::DeleteObject(bitmap);
    return pixels;
}

bool SamePicture(HIMAGELIST a, int indexA, HIMAGELIST b, int indexB) {
    for (const COLORREF background : {RGB(0, 0, 0), RGB(255, 255, 255), RGB(30, 160, 90)})
        if (DrawnPixels(a, indexA, background) != DrawnPixels(b, indexB, background)) return false;
    return true;
}

// What a file item would show if its icon were fetched and copied into the list on its own.
int AddShellIconOnItsOwn(toolkit::TImageList& list, const std::string& path) {
    SHFILEINFOA info{};
    ::SHGetFileInfoA(path.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info, SHGFI_ICON | SHGFI_USEFILEATTRIBUTES);
    if (!info.hIcon) return -1;
    const int index = list.AddIcon(info.hIcon);
    ::DestroyIcon(info.hIcon);
    return index;
}

// File types registered for the life of the object. The classes root is written directly: this
// platform's shell does not look at the per-user classes key.
class RegisteredTypes {
public:
    RegisteredTypes() = default;
    RegisteredTypes(const RegisteredTypes&) = delete;
    RegisteredTypes& operator=(const RegisteredTypes&) = delete;
    ~RegisteredTypes() {
        for (auto key = keys_.rbegin(); key != keys_.rend(); ++key) {
            ::RegDeleteTreeA(HKEY_CLASSES_ROOT, key->c_str());
            ::RegDeleteKeyA(HKEY_CLASSES_ROOT, key->c_str());
        }
    }

    // extension (".x") -> progId, whose subkey (e.g. "DefaultIcon") holds value.
    bool Add(const std::string& extension, const std::string& progId, const std::string& subkey,
             const std::string& value) {
        keys_.push_back(extension);
        keys_.push_back(progId);
        return SetDefault(extension, progId) && SetDefault(progId + "\\" + subkey, value);
    }

private:
    static bool SetDefault(const std::string& key, const std::string& value) {
        HKEY handle = nullptr;
        if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) !=
            ERROR_SUCCESS)
            return false;
        const LSTATUS status = ::RegSetValueExA(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                                static_cast<DWORD>(value.size() + 1));
        ::RegCloseKey(handle);
        return status == ERROR_SUCCESS;
    }
    std::vector<std::string> keys_;
};

constexpr char kRecorderExtension[] = ".corvanerec";

TEST(LaunchPopup, StartsEmptyAndIgnoresADirectoryThatIsNoFolder) {
    TLaunchPopup popup;
    EXPECT_EQ(popup.Mask(), L"*.lnk");
    EXPECT_EQ(popup.Directory(), L"");
    EXPECT_FALSE(popup.SearchDirectory());
    EXPECT_FALSE(popup.OnItemClick());
    EXPECT_EQ(popup.ItemCount(), 0);
    EXPECT_TRUE(popup.FileList().empty());
    EXPECT_EQ(popup.SelectedFile(), L"");
    EXPECT_EQ(popup.Items().Count(), 0u);

    Tree tree("launch-nofolder");
    tree.File("a.lnk");
    for (const std::string& directory : {std::string(), tree.Root() + "missing\\", tree.Root() + "a.lnk"}) {
        popup.SetDirectory(W(directory));
        popup.LoadItems();
        EXPECT_EQ(popup.Items().Count(), 0u) << directory;
        EXPECT_EQ(popup.ItemCount(), 0) << directory;
    }

    // Writing the properties changes nothing until the next load.
    popup.SetDirectory(W(tree.Root()));
    popup.LoadItems();
    ASSERT_EQ(Outline(popup), std::vector<std::string>{"a=1000"});
    popup.SetMask(L"*.none");
    popup.SetDirectory(W(tree.Root() + "missing\\"));
    EXPECT_EQ(Outline(popup), std::vector<std::string>{"a=1000"});
    // A load from a directory that has gone leaves the previous load in place.
    popup.LoadItems();
    EXPECT_EQ(Outline(popup), std::vector<std::string>{"a=1000"});
    EXPECT_EQ(FileListOf(popup), std::vector<std::string>{tree.Root() + "a.lnk"});
}

TEST(LaunchPopup, FoldersComeFirstAndFilesAreNumberedDepthFirst) {
    Tree tree("launch-order",
              {"zeta\\", "alpha.url", "A\\", "A\\x.url", "A\\deep\\", "A\\deep\\y.url", "b.url", "notes.txt"});

    TLaunchPopup popup;
    Favor(popup, tree.Root());
    popup.LoadItems();

    EXPECT_EQ(Outline(popup), (std::vector<std::string>{"A/", "  deep/", "    y=1000", "  x=1001", "zeta/",
                                                        "alpha=1002", "b=1003"}));
    EXPECT_EQ(popup.ItemCount(), 4);
    EXPECT_EQ(FileListOf(popup), (std::vector<std::string>{tree.Root() + "A\\deep\\y.url", tree.Root() + "A\\x.url",
                                                         tree.Root() + "alpha.url", tree.Root() + "b.url"}));
    for (const TMenuItem* item : FileItems(popup)) {
        EXPECT_TRUE(item->Visible() && item->Enabled()) << item->Caption();
        EXPECT_EQ(item->ImageIndex(), -1) << item->Caption();
        EXPECT_EQ(item->Count(), 0u);
    }
    TMenuItem* zeta = FindItem(popup.Items(), "zeta");
    ASSERT_NE(zeta, nullptr);
    EXPECT_EQ(zeta->Tag(), 0);
    EXPECT_EQ(zeta->ImageIndex(), -1);
    EXPECT_EQ(zeta->Count(), 0u);  // an empty folder is an item without a submenu
}

TEST(LaunchPopup, WithoutSearchDirectoryOnlyTheTopFolderIsListed) {
    Tree tree("launch-flat", {"A\\", "A\\x.url", "b.url", "c.url"});

    TLaunchPopup popup;
    Favor(popup, tree.Root(), false);
    popup.LoadItems();
    EXPECT_EQ(Outline(popup), (std::vector<std::string>{"b=1000", "c=1001"}));
    EXPECT_EQ(FileListOf(popup), (std::vector<std::string>{tree.Root() + "b.url", tree.Root() + "c.url"}));
}

TEST(LaunchPopup, HiddenAndSystemFilesAreLeftOutButSuchFoldersAreEntered) {
    // old.url is a folder that the file pattern matches.
    Tree tree("launch-attributes", {"plain.url", "HiddenFolder\\", "HiddenFolder\\inside.url", "SystemFolder\\",
                                    "SystemFolder\\sys-inside.url", "old.url\\", "old.url\\in-old.url"});
    tree.File("readonly.url", FILE_ATTRIBUTE_READONLY);
    tree.File("hidden.url", FILE_ATTRIBUTE_HIDDEN);
    tree.File("system.url", FILE_ATTRIBUTE_SYSTEM);
    tree.File("HiddenFolder\\secret.url", FILE_ATTRIBUTE_HIDDEN);
    tree.Folder("HiddenFolder", FILE_ATTRIBUTE_HIDDEN);
    tree.Folder("SystemFolder", FILE_ATTRIBUTE_SYSTEM);

    TLaunchPopup popup;
    Favor(popup, tree.Root());
    popup.LoadItems();
    EXPECT_EQ(Outline(popup), (std::vector<std::string>{"HiddenFolder/", "  inside=1000", "old.url/", "  in-old=1001",
                                                        "SystemFolder/", "  sys-inside=1002", "plain=1003",
                                                        "readonly=1004"}));

    popup.SetSearchDirectory(false);
    popup.LoadItems();
    EXPECT_EQ(Outline(popup), (std::vector<std::string>{"plain=1000", "readonly=1001"}));
}

TEST(LaunchPopup, CaptionsAreNamesCutAtTheLastDotAndEveryFileKeepsItsNumber) {
    Tree tree("launch-captions",
              {"a.b.url", ".url", "-.url", "R&&D.url", "A&B.url", "plain.url", "Notes.old\\", "Notes.old\\n.url"});

    TLaunchPopup popup;
    Favor(popup, tree.Root());
    popup.LoadItems();

    ASSERT_GE(popup.Items().Count(), 1u);
    EXPECT_EQ(popup.Items().Item(0).Caption(), "Notes.old");
    std::multiset<std::string> captions;
    std::set<int> tags;
    for (TMenuItem* item : FileItems(popup)) {
        captions.insert(item->Caption());
        tags.insert(item->Tag());
        // Whatever the collation puts where, an item's number leads to its own file.
        const size_t number = static_cast<size_t>(item->Tag() - 1000);
        ASSERT_LT(number, popup.FileList().size());
        const std::wstring& path = popup.FileList()[number];
        EXPECT_EQ(menus::CaptionForFile(path.substr(path.rfind(L'\\') + 1)), item->WideCaption());
    }
    // This platform may mark a name that starts with "." as hidden, and a hidden file is not listed.
    const bool dotNameListed = (::GetFileAttributesA((tree.Root() + ".url").c_str()) & FILE_ATTRIBUTE_HIDDEN) == 0;
    std::multiset<std::string> expected{"a.b", "-", "R&&D", "A&B", "plain", "n"};
    if (dotNameListed) expected.insert("");
    EXPECT_EQ(captions, expected);
    std::set<int> expectedTags;
    for (int tag = 1000; tag < 1000 + static_cast<int>(expected.size()); ++tag) expectedTags.insert(tag);
    EXPECT_EQ(tags, expectedTags);
    const TMenuItem* separator = FindItem(popup.Items(), "-");
    ASSERT_NE(separator, nullptr);
    EXPECT_TRUE(separator->IsSeparator());
    EXPECT_EQ(popup.ItemCount(), static_cast<int>(expected.size()));
}

TEST(LaunchPopup, ChoosingAnItemReportsItsPathToTheHandler) {
    Tree tree("launch-choice", {"sub\\", "sub\\inner.url", "empty\\", "outer.url"});

    TLaunchPopup popup;
    Favor(popup, tree.Root());
    std::vector<std::string> seen;
    popup.SetOnItemClick([&](toolkit::TObject& sender) {
        EXPECT_EQ(&sender, static_cast<toolkit::TObject*>(&popup));
        seen.push_back(A(popup.SelectedFile()));
    });
    popup.LoadItems();

    FindItem(popup.Items(), "outer")->Click();
    FindItem(popup.Items(), "inner")->Click();
    FindItem(popup.Items(), "empty")->Click();  // a folder item does nothing
    EXPECT_EQ(seen, (std::vector<std::string>{tree.Root() + "outer.url", tree.Root() + "sub\\inner.url"}));

    // A number that leads outside the list is no choice at all.
    TMenuItem* outer = FindItem(popup.Items(), "outer");
    for (const int tag : {999, 1002, 0, -5, 2147483647}) {
        outer->SetTag(tag);
        outer->Click();
    }
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_EQ(A(popup.SelectedFile()), tree.Root() + "sub\\inner.url");
}

TEST(LaunchPopup, EveryFileItemGetsItsOwnImageOfItsTypeIcon) {
    // Two types of our own with pictures of their own, beside the platform's types.
    RegisteredTypes types;
    ASSERT_TRUE(types.Add(".corvanefolder", "CorvaneLaunchTest.Folder", "DefaultIcon", "shell32.dll,-4"));
    ASSERT_TRUE(types.Add(".corvanedrive", "CorvaneLaunchTest.Drive", "DefaultIcon", "shell32.dll,-9"));
    Tree tree("launch-icons", {"a.url", "b.CorvaneFolder", "c.txt", "d.corvanefolder", "e", "f.lnk", "g.exe",
                               "h.unknowntype", "i.corvanedrive", "sub\\", "sub\\j.url", "sub\\k.CORVANEDRIVE"});

    toolkit::TImageList images(16, 16);
    toolkit::TImageList alone(16, 16);
    // Images the owner put in the list before stay in front.
    HICON stock = ::LoadIconA(nullptr, MAKEINTRESOURCEA(32512));
    images.AddIcon(stock);
    images.AddIcon(stock);
    alone.AddIcon(stock);
    alone.AddIcon(stock);

    TLaunchPopup popup;
    popup.SetMask(L"*");
    popup.SetSearchDirectory(true);
    popup.SetImages(&images);
    popup.SetDirectory(W(tree.Root()));
    popup.LoadItems();

    ASSERT_EQ(popup.ItemCount(), 11);
    std::vector<TMenuItem*> items = FileItems(popup);
    ASSERT_EQ(items.size(), 11u);
    int withIcon = 0;
    std::vector<int> imageOfNumber(11, -2);
    for (TMenuItem* item : items) imageOfNumber[static_cast<size_t>(item->Tag() - 1000)] = item->ImageIndex();
    for (size_t number = 0; number < imageOfNumber.size(); ++number) {
        const int expected = AddShellIconOnItsOwn(alone, A(popup.FileList()[number]));
        const int actual = imageOfNumber[number];
        if (expected < 0) {
            EXPECT_EQ(actual, -1) << A(popup.FileList()[number]);
            continue;
        }
        ++withIcon;
        // Images follow the file numbers: file k's image comes after those of files before it.
        EXPECT_EQ(actual, 1 + withIcon) << A(popup.FileList()[number]);
        EXPECT_TRUE(SamePicture(images.Handle(), actual, alone.Handle(), expected)) << A(popup.FileList()[number]);
    }
    EXPECT_GT(withIcon, 0);
    EXPECT_EQ(images.Count(), 2 + withIcon);
    // The comparison means something only if the types do not all share one picture.
    int distinct = 0;
    for (int i = 2; i < alone.Count(); ++i) {
        bool seenBefore = false;
        for (int j = 2; j < i && !seenBefore; ++j) seenBefore = SamePicture(alone.Handle(), i, alone.Handle(), j);
        if (!seenBefore) ++distinct;
    }
    EXPECT_GE(distinct, 3);
}

TEST(LaunchPopup, ASecondLoadReplacesWhatTheFirstGenerated) {
    Tree tree("launch-reload", {"dir\\", "dir\\one.url", "two.url", "three.url"});

    toolkit::TImageList images(16, 16);
    images.AddIcon(::LoadIconA(nullptr, MAKEINTRESOURCEA(32512)));
    TLaunchPopup popup;
    Favor(popup, tree.Root());
    popup.SetImages(&images);
    popup.Items().Add(std::make_unique<TMenuItem>("own"));
    popup.Items().Add(std::make_unique<TMenuItem>("-"));

    popup.LoadItems();
    ASSERT_EQ(Outline(popup, 2), (std::vector<std::string>{"dir/", "  one=1000", "three=1001", "two=1002"}));
    ASSERT_EQ(images.Count(), 1 + 3);

    tree.Remove("two.url");
    tree.File("dir\\four.url");
    tree.File("five.url");
    popup.LoadItems();
    EXPECT_EQ(Outline(popup), (std::vector<std::string>{"own/", "-/", "dir/", "  four=1000", "  one=1001",
                                                        "five=1002", "three=1003"}));
    EXPECT_EQ(popup.ItemCount(), 4);
    EXPECT_EQ(popup.FileList().size(), 4u);
    EXPECT_EQ(images.Count(), 1 + 4);
    std::set<int> imageIndices;
    for (TMenuItem* item : FileItems(popup)) imageIndices.insert(item->ImageIndex());
    EXPECT_EQ(imageIndices, (std::set<int>{1, 2, 3, 4}));
}

// Starts a program of the host system (this platform runs those too). Its process cannot be
// waited for here: callers watch for its effect instead.
bool StartHostCommand(std::string command) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The host file system's name of a Windows path, in quotes for a command line.
std::string QuotedUnixPath(const std::wstring& path) {
    using UnixName = char*(__cdecl*)(const wchar_t*);
    const FARPROC found = ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name");
    const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(found));
    char* const name = unixName ? unixName(path.c_str()) : nullptr;
    std::string quoted;
    if (name) quoted.append("\"").append(name).append("\"");
    ::HeapFree(::GetProcessHeap(), 0, name);
    return quoted;
}

// Folder links made by the host system's own "ln -s", removed with the object (before the tree
// that holds them, whose removal would otherwise follow them). This platform's
// CreateSymbolicLinkW reports success without making a link; a link that the host makes is
// followed like any folder.
class FolderLinks {
public:
    FolderLinks() = default;
    FolderLinks(const FolderLinks&) = delete;
    FolderLinks& operator=(const FolderLinks&) = delete;
    ~FolderLinks() {
        for (const std::string& link : links_) StartHostCommand("/bin/rm -f " + link);
        // A link left behind would lead the tree's removal into its target (a drive's root).
        for (const std::wstring& link : made_)
            if (!testsupport::WaitUntil([&] { return !Exists(link); }, 10000)) std::abort();
    }
    bool Make(const std::wstring& link, const std::wstring& target) {
        const std::string linkPath = QuotedUnixPath(link);
        const std::string targetPath = QuotedUnixPath(target);
        if (linkPath.empty() || targetPath.empty()) return false;
        links_.push_back(linkPath);
        made_.push_back(link);
        if (!StartHostCommand("/bin/ln -s " + targetPath + " " + linkPath) ||
            !testsupport::WaitUntil([&] { return Exists(link); }, 10000))
            return false;
        return (::GetFileAttributesW(link.c_str()) & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }

private:
    std::vector<std::string> links_;
    std::vector<std::wstring> made_;
};

TEST(LaunchPopupHostileTrees, LinksBackUpAreItemsAndOtherLinksAreFollowed) {
    Tree tree("launch-loops", {"A\\", "A\\a.url", "top.url"});
    Tree elsewhere("launch-loops-target", {"e.url"});
    const std::wstring root = W(tree.Root());
    const std::wstring drive = root.substr(0, 3);
    FolderLinks links;
    // To the folder itself, to the listed root (twice: each pass through one would list the root
    // again, and both, exponentially many times), to the drive's root above everything, and to a
    // folder outside the tree, which is listed like any other.
    ASSERT_TRUE(links.Make(root + L"A\\self", root + L"A")) << "the host's ln -s made no link";
    ASSERT_TRUE(links.Make(root + L"A\\up", root));
    ASSERT_TRUE(links.Make(root + L"A\\up too", root));
    ASSERT_TRUE(links.Make(root + L"A\\drive", drive));
    ASSERT_TRUE(links.Make(root + L"B", W(elsewhere.Root())));

    TLaunchPopup popup;
    Favor(popup, tree.Root());
    popup.LoadItems();
    EXPECT_EQ(Outline(popup), (std::vector<std::string>{"A/", "  drive/", "  self/", "  up/", "  up too/",
                                                        "  a=1000", "B/", "  e=1001", "top=1002"}));
    EXPECT_EQ(FileListOf(popup),
              (std::vector<std::string>{tree.Root() + "A\\a.url", tree.Root() + "B\\e.url", tree.Root() + "top.url"}));
}

TEST(LaunchPopupHostileTrees, ADeepTreeIsListedDownToTheDepthBound) {
    Tree tree("launch-deep");
    std::string folder;
    for (int level = 0; level <= menus::kMaxFolderDepth + 8; ++level) {
        tree.File(folder + "x.url");
        folder += "d\\";
        tree.Folder(folder);
    }
    TLaunchPopup popup;
    Favor(popup, tree.Root());
    popup.LoadItems();
    // Directory's own files and those of the folders down to the bound; the next folder is an item.
    EXPECT_EQ(popup.ItemCount(), menus::kMaxFolderDepth + 1);
    const TMenuItem* item = &popup.Items();
    for (int level = 0; level < menus::kMaxFolderDepth; ++level) item = &item->Item(0);
    ASSERT_EQ(item->Count(), 2u);
    EXPECT_EQ(item->Item(0).Caption(), "d");
    EXPECT_EQ(item->Item(0).Count(), 0u);
}

// A tree of names that the ANSI code page cannot hold, made through the wide API.
class WideTree {
public:
    explicit WideTree(const std::string& name) : tree_(name), root_(W(tree_.Root())) {}
    ~WideTree() { Remove(root_); }
    WideTree(const WideTree&) = delete;
    WideTree& operator=(const WideTree&) = delete;
    const std::wstring& Root() const { return root_; }
    void Folder(const std::wstring& relative) const { ::CreateDirectoryW((root_ + relative).c_str(), nullptr); }
    void File(const std::wstring& relative, std::string_view bytes) const {
        const HANDLE file =
            ::CreateFileW((root_ + relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        ::CloseHandle(file);
    }

private:
    static void Remove(const std::wstring& folder) {
        WIN32_FIND_DATAW entry{};
        const HANDLE find = ::FindFirstFileW((folder + L"*").c_str(), &entry);
        if (find == INVALID_HANDLE_VALUE) return;
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                Remove(folder + name + L"\\");
                ::RemoveDirectoryW((folder + name).c_str());
            } else {
                ::DeleteFileW((folder + name).c_str());
            }
        } while (::FindNextFileW(find, &entry));
        ::FindClose(find);
    }

    Tree tree_;
    std::wstring root_;
};

TEST(LaunchPopupWideNames, NamesOutsideTheCodePageAreShownAndReportedWhole) {
    WideTree tree("launch-wide");
    const std::wstring folder = L"café 한국 ¥";
    const std::wstring inner = L"简体 \U0001F600.url";
    tree.Folder(folder);
    tree.File(folder + L"\\" + inner, kShortcut);
    tree.File(L"Grüße.url", kShortcut);
    tree.File(L"表示.url", kShortcut);

    TLaunchPopup popup;
    popup.SetMask(L"*.url");
    popup.SetSearchDirectory(true);
    popup.SetDirectory(tree.Root());
    std::vector<std::wstring> chosen;
    popup.SetOnItemClick([&](toolkit::TObject&) { chosen.push_back(popup.SelectedFile()); });
    popup.LoadItems();

    ASSERT_EQ(popup.Items().Count(), 3u);
    TMenuItem& folderItem = popup.Items().Item(0);
    EXPECT_EQ(folderItem.WideCaption(), folder);
    ASSERT_EQ(folderItem.Count(), 1u);
    EXPECT_EQ(folderItem.Item(0).WideCaption(), L"简体 \U0001F600");
    std::vector<std::wstring> captions{popup.Items().Item(1).WideCaption(), popup.Items().Item(2).WideCaption()};
    std::sort(captions.begin(), captions.end());
    EXPECT_EQ(captions, (std::vector<std::wstring>{L"Grüße", L"表示"}));
    // A name the code page holds keeps its ANSI caption as before.
    for (size_t i = 1; i < 3; ++i) {
        if (popup.Items().Item(i).WideCaption() == L"表示") {
            EXPECT_EQ(popup.Items().Item(i).Caption(), testsupport::Utf8ToAnsi("表示"));
        }
    }

    folderItem.Item(0).Click();
    ASSERT_EQ(chosen.size(), 1u);
    EXPECT_EQ(chosen[0], tree.Root() + folder + L"\\" + inner);
    EXPECT_EQ(popup.FileList()[0], chosen[0]);
    EXPECT_NE(::GetFileAttributesW(chosen[0].c_str()), INVALID_FILE_ATTRIBUTES) << "the path names the file";
}

TEST(LaunchPopupWideNames, ShortcutFilesOfEveryShapeGiveTheirAddressOrNone) {
    WideTree tree("launch-shortcut-files");
    const std::string system =
        "[{000214A0-0000-0000-C000-000000000046}]\r\nProp3=19,11\r\n[InternetShortcut.W]\r\n"
        "URL=http://example.org/caf+AOk-/+1VytbQ-\r\n[InternetShortcut]\r\nIDList=\r\n"
        "URL=http://example.org/caf?/??\r\nIconFile=http://example.org/favicon.ico\r\nIconIndex=1\r\nHotKey=0\r\n"
        "[DEFAULT]\r\nBASEURL=http://example.org/\r\n";
    tree.File(L"é 한국.url", system);
    tree.File(L"plain.url", testsupport::Utf8ToAnsi("[InternetShortcut]\r\nURL=http://例.jp/表\r\n"));
    tree.File(L"empty.url", "");
    tree.File(L"binary.url", std::string("\0\xFF\x01[Intern\x80", 9));
    std::string big(10 * 1024 * 1024, 'x');
    big += "\r\n[InternetShortcut]\r\nURL=http://after-ten-megabytes/\r\n";
    tree.File(L"big.url", big);
    const std::u16string utf16 = u"[InternetShortcut]\r\nURL=http://例え.jp/한\r\n";
    tree.File(L"utf16.url", "\xFF\xFE" + std::string(reinterpret_cast<const char*>(utf16.data()), utf16.size() * 2));
    tree.Folder(L"folder.url");

    EXPECT_EQ(menus::ReadShortcutAddress(tree.Root() + L"é 한국.url"), L"http://example.org/café/한국");
    EXPECT_EQ(menus::ReadShortcutAddress(tree.Root() + L"plain.url"), L"http://例.jp/表");
    EXPECT_EQ(menus::ReadShortcutAddress(tree.Root() + L"utf16.url"), L"http://例え.jp/한");
    // Only the first MiB of a file is read: an address beyond it is not found, in no time.
    EXPECT_EQ(menus::ReadShortcutAddress(tree.Root() + L"big.url"), L"");
    for (const wchar_t* none : {L"empty.url", L"binary.url", L"folder.url", L"missing.url"})
        EXPECT_EQ(menus::ReadShortcutAddress(tree.Root() + none), L"") << testsupport::WideToUtf8(none);
}

// The recorder's three lines: command line, working folder, process id.
std::vector<std::string> RecordLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

std::string WithoutTrailingSeparator(std::string path) {
    if (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

TEST(LaunchPopup, WithoutAHandlerTheShellOpensTheFileInItsFolder) {
    Tree tree("launch-shell");
    tree.Folder("work dir");
    const std::string name = std::string("work dir\\target") + kRecorderExtension;
    tree.File(name);
    const std::string record = tree.Root() + "record.txt";
    ::SetEnvironmentVariableA("CORVANE_LAUNCH_RECORD", record.c_str());
    RegisteredTypes types;
    std::string command = "\"";
    command += testsupport::WinePath(LAUNCH_RECORDER_EXE_UNIX);
    command += "\" \"%1\"";
    ASSERT_TRUE(types.Add(kRecorderExtension, "CorvaneLaunchRecorder.File", "shell\\open\\command", command));

    TLaunchPopup popup;
    popup.SetMask(W(std::string("*") + kRecorderExtension));
    popup.SetSearchDirectory(true);
    popup.SetDirectory(W(tree.Root()));
    popup.LoadItems();
    TMenuItem* target = FindItem(popup.Items(), "target");
    ASSERT_NE(target, nullptr);
    target->Click();

    // The record exists before the recorder has finished writing it: wait for all three lines.
    std::vector<std::string> lines;
    const bool recorded = testsupport::WaitUntil(
        [&] { return (lines = RecordLines(testsupport::ReadFileBytes(record))).size() >= 3; }, 15000);
    ::SetEnvironmentVariableA("CORVANE_LAUNCH_RECORD", nullptr);
    ASSERT_TRUE(recorded) << "the shell did not start the file's handler";
    ASSERT_EQ(lines.size(), 3u);
    if (const HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, std::stoul(lines[2]))) {
        if (::WaitForSingleObject(process, 5000) != WAIT_OBJECT_0) ::TerminateProcess(process, 1);
        ::CloseHandle(process);
    }
    EXPECT_NE(lines[0].find(tree.Root() + name), std::string::npos) << lines[0];
    EXPECT_EQ(WithoutTrailingSeparator(lines[1]), tree.Root() + "work dir");
    EXPECT_EQ(popup.SelectedFile(), L"");
}

// ---- Loads on a thread of their own ------------------------------------------------------------

namespace background {

// Runs this thread's messages until the popup has finished its load (or the time is up).
bool PumpUntilLoaded(const TLaunchPopup& popup, DWORD timeoutMs = 20000) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    while (popup.Loading() && ::GetTickCount64() < end) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        testsupport::PumpFor(0);
    }
    return !popup.Loading();
}

int ThreadsOfThisProcess() {
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int threads = 0;
    for (BOOL more = ::Thread32First(snapshot, &entry); more; more = ::Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == ::GetCurrentProcessId()) ++threads;
    ::CloseHandle(snapshot);
    return threads;
}

// A folder that answers late, as a share on a slow network does: every listing waits first.
struct SlowListing {
    explicit SlowListing(DWORD delayMs) : delay(delayMs) {}
    void operator()(const std::wstring&) {
        threads.insert(::GetCurrentThreadId());
        ++folders;
        ::Sleep(delay);
    }
    DWORD delay;
    std::set<DWORD> threads;  // written by the loading thread only while the test waits
    std::atomic<int> folders{0};
};

TEST(LaunchPopupInBackground, HandsOverTheTreeThatALoadOnThisThreadBuilds) {
    Tree tree("launch-background",
              {"A\\", "A\\x.url", "A\\deep\\", "A\\deep\\y.url", "empty\\", "b.url", "-.url", "R&&D.url"});
    tree.File("hidden.url", FILE_ATTRIBUTE_HIDDEN);
    tree.File("notes.txt");

    TLaunchPopup here;
    Favor(here, tree.Root());
    here.LoadItems();

    TLaunchPopup popup;
    Favor(popup, tree.Root());
    popup.Items().Add(std::make_unique<TMenuItem>("own"));
    SlowListing listing(0);
    popup.SetOnListFolder(std::ref(listing));
    int loaded = 0;
    popup.SetOnLoaded([&](toolkit::TObject& sender) {
        EXPECT_EQ(&sender, static_cast<toolkit::TObject*>(&popup));
        ++loaded;
    });
    ASSERT_TRUE(popup.BeginLoadItems());
    EXPECT_TRUE(popup.Loading());
    // Nothing reaches the menu before this thread takes the tree over.
    EXPECT_EQ(Outline(popup), std::vector<std::string>{"own/"});
    ASSERT_TRUE(PumpUntilLoaded(popup));

    EXPECT_EQ(loaded, 1);
    EXPECT_EQ(Outline(popup, 1), Outline(here));
    EXPECT_EQ(popup.FileList(), here.FileList());
    EXPECT_EQ(popup.ItemCount(), here.ItemCount());
    EXPECT_EQ(listing.folders.load(), 4);
    EXPECT_EQ(listing.threads.count(::GetCurrentThreadId()), 0u) << "the folders were listed on another thread";
    std::vector<std::string> chosen;
    popup.SetOnItemClick([&](toolkit::TObject&) { chosen.push_back(A(popup.SelectedFile())); });
    FindItem(popup.Items(), "y")->Click();
    EXPECT_EQ(chosen, std::vector<std::string>{tree.Root() + "A\\deep\\y.url"});
}

TEST(LaunchPopupInBackground, ASecondRequestDuringASlowLoadDoesNothing) {
    Tree tree("launch-background-twice");
    for (const char* folder : {"one", "two", "three"}) {
        tree.Folder(folder);
        tree.File(std::string(folder) + "\\in.url");
    }
    tree.File("top.url");

    TLaunchPopup popup;
    Favor(popup, tree.Root());
    SlowListing listing(150);
    popup.SetOnListFolder(std::ref(listing));
    int loaded = 0, progress = 0;
    std::int32_t lastListed = 0;
    popup.SetOnLoaded([&](toolkit::TObject&) {
        ++loaded;
        lastListed = 0;
    });
    popup.SetOnLoadProgress([&](toolkit::TObject&) {
        ++progress;
        EXPECT_GE(popup.ListedSoFar(), lastListed);
        lastListed = popup.ListedSoFar();
    });
    ASSERT_TRUE(popup.BeginLoadItems());
    ASSERT_TRUE(testsupport::WaitUntil([&] { return listing.folders.load() >= 2; }, 10000));
    EXPECT_FALSE(popup.BeginLoadItems());
    popup.LoadItems();  // neither on this thread
    EXPECT_EQ(popup.Items().Count(), 0u);
    ASSERT_TRUE(PumpUntilLoaded(popup));

    EXPECT_EQ(loaded, 1);
    EXPECT_GE(progress, 1) << "a slow load reports how far it is";
    EXPECT_EQ(listing.folders.load(), 4) << "each folder was listed once";
    EXPECT_EQ(Outline(popup), (std::vector<std::string>{"one/", "  in=1000", "three/", "  in=1001", "two/",
                                                        "  in=1002", "top=1003"}));
    // Over, a load may be asked for again.
    EXPECT_TRUE(popup.BeginLoadItems());
    ASSERT_TRUE(PumpUntilLoaded(popup));
    EXPECT_EQ(loaded, 2);
    EXPECT_EQ(popup.ItemCount(), 4);
}

TEST(LaunchPopupInBackground, DestroyingTheMenuDuringALoadEndsItsThread) {
    Tree tree("launch-background-end");
    for (int i = 0; i < 30; ++i) {
        tree.Folder("f" + std::to_string(i));
        tree.File("f" + std::to_string(i) + "\\in.url");
    }
    const int threadsBefore = ThreadsOfThisProcess();
    SlowListing listing(100);
    {
        TLaunchPopup popup;
        Favor(popup, tree.Root());
        popup.SetOnListFolder(std::ref(listing));
        popup.SetOnLoaded([](toolkit::TObject&) { ADD_FAILURE() << "a stopped load reached the menu"; });
        ASSERT_TRUE(popup.BeginLoadItems());
        ASSERT_TRUE(testsupport::WaitUntil([&] { return listing.folders.load() >= 2; }, 10000));
    }
    const int listedAtTheEnd = listing.folders.load();
    EXPECT_TRUE(testsupport::WaitUntil([&] { return ThreadsOfThisProcess() <= threadsBefore; }, 5000))
        << "the loading thread is gone";
    testsupport::PumpFor(300);  // whatever the load had posted finds nothing
    EXPECT_LE(listing.folders.load(), listedAtTheEnd) << "nothing was listed after the end";
    EXPECT_LT(listedAtTheEnd, 31);
}

// Shortcuts that name the same icon share one image; a shortcut that names another icon of its own
// keeps it; Internet shortcuts all show their type's icon, one image for all of them.
std::wstring MakeLink(const std::wstring& link, const std::wstring& target, const wchar_t* iconFile, int iconIndex) {
    Microsoft::WRL::ComPtr<IShellLinkW> shellLink;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&shellLink))))
        return {};
    shellLink->SetPath(target.c_str());
    if (iconFile) shellLink->SetIconLocation(iconFile, iconIndex);
    Microsoft::WRL::ComPtr<IPersistFile> file;
    if (FAILED(shellLink.As(&file)) || FAILED(file->Save(link.c_str(), TRUE))) return {};
    return link;
}

int AddFileIconOnItsOwn(toolkit::TImageList& list, const std::wstring& path) {
    SHFILEINFOW info{};
    ::SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_ICON);
    if (!info.hIcon) return -1;
    const int index = list.AddIcon(info.hIcon);
    ::DestroyIcon(info.hIcon);
    return index;
}

TEST(LaunchPopupInBackground, ItemsThatShowTheSameIconShareOneImage) {
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Tree tree("launch-shared-icons", {"page one.url", "page two.url"});
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring program = std::wstring(system) + L"\\notepad.exe";
    const std::wstring icons = std::wstring(system) + L"\\shell32.dll";
    const std::wstring root = W(tree.Root());
    ASSERT_FALSE(MakeLink(root + L"first.lnk", program, icons.c_str(), 1).empty());
    ASSERT_FALSE(MakeLink(root + L"second.lnk", program, icons.c_str(), 1).empty());
    ASSERT_FALSE(MakeLink(root + L"own.lnk", program, icons.c_str(), 3).empty());

    toolkit::TImageList images(16, 16);
    images.AddIcon(::LoadIconA(nullptr, MAKEINTRESOURCEA(32512)));  // the owner's own image stays first
    toolkit::TImageList alone(16, 16);
    TLaunchPopup popup;
    popup.SetMask(L"*");
    popup.SetImages(&images);
    popup.SetShareImages(true);
    popup.SetDirectory(root);
    ASSERT_TRUE(popup.BeginLoadItems());
    ASSERT_TRUE(PumpUntilLoaded(popup));

    std::map<std::string, int> imageOf;
    for (TMenuItem* item : FileItems(popup)) imageOf[item->Caption()] = item->ImageIndex();
    ASSERT_EQ(imageOf.size(), 5u);
    EXPECT_GE(imageOf["first"], 1);
    EXPECT_EQ(imageOf["first"], imageOf["second"]);
    EXPECT_NE(imageOf["own"], imageOf["first"]);
    EXPECT_EQ(imageOf["page one"], imageOf["page two"]);
    std::set<int> distinct;
    for (const auto& [caption, image] : imageOf) distinct.insert(image);
    EXPECT_EQ(images.Count(), 1 + static_cast<int>(distinct.size())) << "one image per distinct icon";
    // A shortcut shows what the shell shows for its own file.
    for (const char* name : {"first.lnk", "own.lnk"}) {
        const std::wstring path = root + W(name);
        const int expected = AddFileIconOnItsOwn(alone, path);
        ASSERT_GE(expected, 0) << name;
        EXPECT_TRUE(SamePicture(images.Handle(), imageOf[A(menus::CaptionForFile(W(name)))], alone.Handle(), expected))
            << name;
    }
    if (SUCCEEDED(com)) ::CoUninitialize();
}

}  // namespace background

}  // namespace
