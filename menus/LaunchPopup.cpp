#include "menus/LaunchPopup.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <optional>

#include "menus/TypeIcons.h"
#include "menus/core/LaunchNames.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"
#include "toolkit/ImageList.h"
#include "toolkit/core/FilePath.h"

namespace menus {

// Which folder a path leads to, whatever links it went through: its volume and its file id.
struct FolderIdentity {
    std::uint64_t volume = 0;
    std::array<BYTE, 16> id{};
    bool operator==(const FolderIdentity&) const = default;
};

// A folder open above the one being listed. Its identity is looked up only when a link has to be
// compared with it: only a link can lead back up, and most trees have none.
struct OpenFolder {
    explicit OpenFolder(std::wstring folder) : path(std::move(folder)) {}
    std::wstring path;
    std::optional<FolderIdentity> identity;
    bool identified = false;
};

namespace {

constexpr int kFirstFileTag = 1000;

bool NamesFolder(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The file-id query of Windows 8 and later (FileIdInfo, FILE_ID_INFO), named here because this
// program builds for Windows 7: it asks the file system alone, without the volume manager that
// GetFileInformationByHandle consults for the volume's serial number at every call.
constexpr auto kFileIdInfo = static_cast<FILE_INFO_BY_HANDLE_CLASS>(18);
struct FileIdInfo {
    ULONGLONG volumeSerialNumber;
    BYTE fileId[16];
};

std::optional<FolderIdentity> IdentityOf(const std::wstring& folder) {
    const toolkit::FileHandle handle{::CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
    if (!handle) return std::nullopt;
    FolderIdentity identity;
    if (FileIdInfo ids{}; ::GetFileInformationByHandleEx(handle.Get(), kFileIdInfo, &ids, sizeof ids)) {
        identity.volume = ids.volumeSerialNumber;
        std::copy(std::begin(ids.fileId), std::end(ids.fileId), identity.id.begin());
        return identity;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle.Get(), &info)) return std::nullopt;
    identity.volume = info.dwVolumeSerialNumber;
    const DWORD index[2] = {info.nFileIndexLow, info.nFileIndexHigh};
    std::memcpy(identity.id.data(), index, sizeof index);
    return identity;
}

// The folder itself and every folder above it, so that a link back up to any of them is seen.
std::vector<OpenFolder> FolderAndItsAncestors(std::wstring folder) {
    std::vector<OpenFolder> folders;
    while (!folder.empty()) {
        folders.emplace_back(folder);
        std::wstring_view withoutSeparator(folder);
        withoutSeparator.remove_suffix(1);
        folder.resize(toolkit::FolderLength(withoutSeparator));
    }
    return folders;
}

// Runs visit for every entry that pattern finds; a pattern that finds nothing, or a folder that
// cannot be read, gives no entries.
template <typename Visit>
void ForEachEntry(const std::wstring& pattern, Visit&& visit) {
    WIN32_FIND_DATAW entry{};
    const toolkit::FindHandle find{::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch,
                                                      nullptr, FIND_FIRST_EX_LARGE_FETCH)};
    if (!find) return;
    do {
        visit(entry);
    } while (::FindNextFileW(find.Get(), &entry));
}

bool CollatesBefore(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
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
    icons_ = images ? std::make_unique<TypeIcons>(images->Width(), images->Height()) : nullptr;
    openFolders_ = FolderAndItsAncestors(directory_);
    listedItems_ = 0;
    foldersDeep_ = 0;

    ScanFolder(directory_, Items());

    if (icons_) {
        const std::vector<int> imageOfItem = icons_->AppendTo(*images);
        for (size_t i = 0; i < imagedItems_.size(); ++i) imagedItems_[i]->SetImageIndex(imageOfItem[i]);
    }
    icons_.reset();
    imagedItems_.clear();
    openFolders_.clear();
}

void TLaunchPopup::RemovePreviousLoad() {
    if (!loaded_) return;
    Items().DeleteFrom(firstGeneratedItem_);
    if (imagesOfLoad_ && imagesOfLoad_ == Images()) imagesOfLoad_->RemoveFrom(firstGeneratedImage_);
    loaded_ = false;
}

void TLaunchPopup::ScanFolder(const std::wstring& path, toolkit::TMenuItem& parent) {
    FolderEntries entries;
    ForEachEntry(path + L"*.*", [&entries](const WIN32_FIND_DATAW& entry) {
        if (IsListedFolder(entry.cFileName, entry.dwFileAttributes))
            entries.AddFolder(entry.cFileName, (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0);
    });
    ForEachEntry(path + mask_, [&entries](const WIN32_FIND_DATAW& entry) {
        if (IsListedFile(entry.dwFileAttributes)) entries.AddFile(entry.cFileName);
    });
    entries.Sort(&CollatesBefore);

    for (size_t i = 0; i < entries.Count() && listedItems_ < kMaxLoadedItems; ++i) {
        const std::wstring name(entries.Name(i));
        if (!entries.IsFolder(i)) {
            AddFileItem(path, name, parent);
        } else if (searchDirectory_) {
            AddFolderItem(path, name, entries.IsLink(i), parent);
        }
    }
}

void TLaunchPopup::AddFolderItem(const std::wstring& path, const std::wstring& name, bool isLink,
                                 toolkit::TMenuItem& parent) {
    // The folder's item is in place before its content is listed, and stays when that is empty.
    toolkit::TMenuItem& folder = parent.Add(std::make_unique<toolkit::TMenuItem>(name));
    ++listedItems_;
    const std::wstring folderPath = path + name + L"\\";
    if (foldersDeep_ >= kMaxFolderDepth || (isLink && LeadsToAnOpenFolder(folderPath))) return;
    openFolders_.emplace_back(folderPath);
    ++foldersDeep_;
    ScanFolder(folderPath, folder);
    --foldersDeep_;
    openFolders_.pop_back();
}

bool TLaunchPopup::LeadsToAnOpenFolder(const std::wstring& link) {
    const std::optional<FolderIdentity> target = IdentityOf(link);
    if (!target) return false;
    for (OpenFolder& open : openFolders_) {
        if (!open.identified) {
            open.identity = IdentityOf(open.path);
            open.identified = true;
        }
        if (open.identity == target) return true;
    }
    return false;
}

void TLaunchPopup::AddFileItem(const std::wstring& folder, const std::wstring& name, toolkit::TMenuItem& parent) {
    auto item = std::make_unique<toolkit::TMenuItem>(CaptionForFile(name));
    item->SetTag(kFirstFileTag + itemCount_);
    item->SetImageIndex(-1);
    ++itemCount_;
    ++listedItems_;
    item->SetOnClick([this](toolkit::TMenuItem& chosen) { ItemClick(chosen); });
    std::wstring path = folder + name;
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
    const std::wstring path = fileList_[index];
    if (onItemClick_) {
        selectedFile_ = path;
        const TLPNotifyEvent handler = onItemClick_;  // the handler may replace itself
        handler(*this);
        return;
    }
    const std::wstring folder = path.substr(0, folderLengths_[index]);
    const HWND owner = OwnerWindow() ? OwnerWindow() : toolkit::App().Handle();
    ::ShellExecuteW(owner, nullptr, path.c_str(), L"", folder.c_str(), SW_SHOWNORMAL);
}

}  // namespace menus
