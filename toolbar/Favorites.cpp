// The favorites menu: LaunchPopup lists the Internet shortcuts of the user's Favorites folder,
// loaded on request by its first entry; choosing one opens its address in the browser window.

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>
#include <string>

#include "browser/Unit2.h"
#include "menus/ShortcutFile.h"
#include "toolbar/Unit1.h"
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
    LaunchPopup.SetOnItemClick([this](toolkit::TObject& sender) { LaunchPopupItemClick(sender); });
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
    auto separator = std::make_unique<toolkit::TMenuItem>("-");
    separator->SetEnabled(false);
    LaunchPopup.Items().Add(std::move(separator));
    LaunchPopup.LoadItems();
    loading->SetEnabled(false);
    loading->SetCaption(toolkit::WideToAnsi(L"お気に入りのロードは完了しました"));
}

void TForm1::LaunchPopupItemClick(toolkit::TObject&) {
    // Read at every choice, so an address edited since the load is the one opened.
    const std::wstring address = menus::ReadShortcutAddress(LaunchPopup.SelectedFile());
    browser::Form2->Open(address, browser::OpenOrder::ShowThenNavigate);
}

}  // namespace toolbar
