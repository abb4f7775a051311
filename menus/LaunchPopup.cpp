#include "menus/LaunchPopup.h"

#include <windows.h>
#include <shellapi.h>

#include "menus/TypeIcons.h"
#include "menus/core/LaunchNames.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"
#include "toolkit/ImageList.h"

namespace {

constexpr int kFirstFileTag = 1000;

bool NamesFolder(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Runs visit for every entry that pattern finds; a pattern that finds nothing, or a folder that
// cannot be read, gives no entries.
template <typename Visit>
void ForEachEntry(const std::string& pattern, Visit&& visit) {
    WIN32_FIND_DATAA entry{};
    const toolkit::FindHandle find{::FindFirstFileA(pattern.c_str(), &entry)};
    if (!find) return;
    do {
        visit(entry);
    } while (::FindNextFileA(find.Get(), &entry));
}

bool CollatesBefore(const std::string& a, const std::string& b) {
    return ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                            static_cast<int>(b.size())) == CSTR_LESS_THAN;
}

}  // namespace

TLaunchPopup::TLaunchPopup() = default;
TLaunchPopup::~TLaunchPopup() = default;

void TLaunchPopup::LoadItems() {
    if (directory_.empty() || !NamesFolder(directory_)) return;
    RemovePreviousLoad();
    itemCount_ = 0;
    fileList_.clear();
    folderLengths_.clear();

    toolkit::TImageList* const images = Images();
    loaded_ = true;
    firstGeneratedItem_ = Items().Count();
    imagesOfLoad_ = images;
    firstGeneratedImage_ = images ? images->Count() : 0;
    imagedItems_.clear();
    icons_ = images ? std::make_unique<launchmenu::TypeIcons>(images->Width(), images->Height()) : nullptr;

    ScanFolder(directory_, Items());

    if (icons_) {
        const std::vector<int> imageOfItem = icons_->AppendTo(*images);
        for (size_t i = 0; i < imagedItems_.size(); ++i) imagedItems_[i]->SetImageIndex(imageOfItem[i]);
    }
    icons_.reset();
    imagedItems_.clear();
}

void TLaunchPopup::RemovePreviousLoad() {
    if (!loaded_) return;
    Items().DeleteFrom(firstGeneratedItem_);
    if (imagesOfLoad_ && imagesOfLoad_ == Images() && firstGeneratedImage_ <= imagesOfLoad_->Count()) {
        // One cut at the end; removing image by image would rebuild the list once per image.
        ::ImageList_SetImageCount(imagesOfLoad_->Handle(), static_cast<UINT>(firstGeneratedImage_));
    }
    loaded_ = false;
}

void TLaunchPopup::ScanFolder(const std::string& path, toolkit::TMenuItem& parent) {
    launchmenu::FolderEntries entries;
    ForEachEntry(path + "*.*", [&entries](const WIN32_FIND_DATAA& entry) {
        if (launchmenu::IsListedFolder(entry.cFileName, entry.dwFileAttributes)) entries.AddFolder(entry.cFileName);
    });
    ForEachEntry(path + mask_, [&entries](const WIN32_FIND_DATAA& entry) {
        if (launchmenu::IsListedFile(entry.dwFileAttributes)) entries.AddFile(entry.cFileName);
    });
    entries.Sort(&CollatesBefore);

    for (size_t i = 0; i < entries.Count(); ++i) {
        const std::string name(entries.Name(i));
        if (!entries.IsFolder(i)) {
            AddFileItem(path, name, parent);
        } else if (searchDirectory_) {
            // The folder's item is in place before its content is listed, and stays when that is empty.
            toolkit::TMenuItem& folder = parent.Add(std::make_unique<toolkit::TMenuItem>(name));
            ScanFolder(path + name + "\\", folder);
        }
    }
}

void TLaunchPopup::AddFileItem(const std::string& folder, const std::string& name, toolkit::TMenuItem& parent) {
    auto item = std::make_unique<toolkit::TMenuItem>(launchmenu::CaptionForFile(name));
    item->SetTag(kFirstFileTag + itemCount_);
    item->SetImageIndex(-1);
    ++itemCount_;
    item->SetOnClick([this](toolkit::TMenuItem& chosen) { ItemClick(chosen); });
    std::string path = folder + name;
    if (icons_) {
        icons_->AddFile(path, name);
        imagedItems_.push_back(item.get());
    }
    fileList_.push_back(std::move(path));
    folderLengths_.push_back(folder.size());
    parent.Add(std::move(item));
}

void TLaunchPopup::ItemClick(toolkit::TMenuItem& item) {
    const long long number = static_cast<long long>(item.Tag()) - kFirstFileTag;
    if (number < 0 || number >= static_cast<long long>(fileList_.size())) return;
    const auto index = static_cast<size_t>(number);
    const std::string path = fileList_[index];
    if (onItemClick_) {
        selectedFile_ = path;
        const TLPNotifyEvent handler = onItemClick_;  // the handler may replace itself
        handler(*this);
        return;
    }
    const std::string folder = path.substr(0, folderLengths_[index]);
    const HWND owner = OwnerWindow() ? OwnerWindow() : toolkit::App().Handle();
    ::ShellExecuteA(owner, nullptr, path.c_str(), "", folder.c_str(), SW_SHOWNORMAL);
}
