// The favorites menu: LaunchPopup lists the Internet shortcuts of the user's Favorites folder,
// loaded on request by its first entry; choosing one opens its address in the browser window.
// The load runs on a thread of its own, so the toolbar and the editor keep answering: meanwhile a
// disabled line under the first entry counts what has been listed, and choosing the first entry
// again does nothing. When the tree arrives, that line becomes the separator above it.

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>
#include <string>

#include "browser/Unit2.h"
#include "menus/ShortcutFile.h"
#include "toolbar/Unit1.h"
#include "toolbar/core/FavoritesProgress.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"
#include "toolkit/Text.h"

namespace toolbar {

namespace {

// The user's Favorites folder, or empty when the platform cannot name it.
std::wstring FavoritesFolder() {
    LPITEMIDLIST raw = nullptr;
    ::SHGetSpecialFolderLocation(toolkit::App().Handle(), CSIDL_FAVORITES, &raw);
    const toolkit::ItemIdList list{raw};
    wchar_t path[MAX_PATH] = {};
    if (list) ::SHGetPathFromIDListW(static_cast<LPCITEMIDLIST>(list.Get()), path);
    return std::wstring(path, std::find(path, path + MAX_PATH, L'\0'));
}

}  // namespace

void TForm1::SetUpLaunchPopup() {
    LaunchPopup.SetMask(L"*.url");
    LaunchPopup.SetSearchDirectory(true);
    LaunchPopup.SetImages(ImageList3.get());
    LaunchPopup.SetShareImages(true);
    LaunchPopup.SetOnItemClick([this](toolkit::TObject& sender) { LaunchPopupItemClick(sender); });
    LaunchPopup.SetOnLoadProgress([this](toolkit::TObject& sender) { LaunchPopupLoadProgress(sender); });
    LaunchPopup.SetOnLoaded([this](toolkit::TObject& sender) { LaunchPopupLoaded(sender); });
    LaunchPopup.SetAutoHotkeys(false);
    LaunchPopup.SetAutoLineReduction(false);
    LaunchPopup.SetOwnerWindow(toolkit::App().Handle());

    auto item = std::make_unique<toolkit::TMenuItem>(toolkit::WideToAnsi(L"お気に入りを読み込む(数秒かかることがあります)"));
    item->SetOnClick([this](toolkit::TMenuItem& sender) { loadingClick(sender); });
    loading = &LaunchPopup.Items().Add(std::move(item));
}

void TForm1::PointLaunchPopupAtFavorites() {
    // Without a folder name the directory stays empty: "\" alone would name the drive's root.
    const std::wstring folder = FavoritesFolder();
    LaunchPopup.SetDirectory(folder.empty() ? std::wstring{} : folder + L"\\");
}

void TForm1::loadingClick(toolkit::TMenuItem&) {
    // A second choice while the load runs does nothing. The tree reaches the menu only through
    // this thread's messages, so it always comes after the progress line added here.
    if (!LaunchPopup.BeginLoadItems()) return;
    auto progress = std::make_unique<toolkit::TMenuItem>(LoadProgressCaption(0));
    progress->SetEnabled(false);
    loadProgress = &LaunchPopup.Items().Add(std::move(progress));
}

void TForm1::LaunchPopupLoadProgress(toolkit::TObject&) {
    if (loadProgress) loadProgress->SetCaption(LoadProgressCaption(LaunchPopup.ListedSoFar()));
}

void TForm1::LaunchPopupLoaded(toolkit::TObject&) {
    // The tree has been appended after the progress line, which now separates it from the entry.
    if (loadProgress) loadProgress->SetCaption(std::string("-"));
    loadProgress = nullptr;
    loading->SetEnabled(false);
    loading->SetCaption(toolkit::WideToAnsi(L"お気に入りのロードは完了しました"));
}

void TForm1::LaunchPopupItemClick(toolkit::TObject&) {
    // Read at every choice, so an address edited since the load is the one opened.
    const std::wstring address = menus::ReadShortcutAddress(LaunchPopup.SelectedFile());
    browser::Form2->Open(address, browser::OpenOrder::ShowThenNavigate);
}

}  // namespace toolbar
