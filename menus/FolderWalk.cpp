#include "menus/FolderWalk.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <optional>

#include "menus/core/LaunchNames.h"
#include "toolkit/Handles.h"
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

// Runs visit for every entry of the folder; a folder that cannot be read gives no entries.
template <typename Visit>
void ForEachEntry(const std::wstring& folder, Visit&& visit) {
    WIN32_FIND_DATAW entry{};
    const toolkit::FindHandle find{::FindFirstFileExW((folder + L"*").c_str(), FindExInfoBasic, &entry,
                                                      FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH)};
    if (!find) return;
    do {
        visit(entry);
    } while (::FindNextFileW(find.Get(), &entry));
}

bool CollatesBefore(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                            static_cast<int>(b.size())) == CSTR_LESS_THAN;
}

// Letters folded the way the file system compares names.
void FoldCase(std::wstring& text) {
    if (!text.empty()) ::CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
}

class FolderWalk {
public:
    FolderWalk(const WalkRequest& request, const std::atomic<bool>& stop, std::atomic<std::int32_t>& listed,
               const std::function<void()>& onListed)
        : request_(request), stop_(stop), listed_(listed), onListed_(onListed), mask_(request.mask) {
        FoldCase(mask_);
    }

    WalkedTree Run() {
        WalkedTree tree;
        if (request_.directory.empty() || !NamesFolder(request_.directory)) return tree;
        if (request_.withIcons)
            tree.icons = std::make_unique<TypeIcons>(request_.iconWidth, request_.iconHeight, request_.shareImages);
        tree_ = &tree;
        openFolders_ = FolderAndItsAncestors(request_.directory);
        ScanFolder(request_.directory, tree.root);
        tree.files.ShrinkToFit();
        tree.listed = !stop_.load();
        return tree;
    }

private:
    void ScanFolder(const std::wstring& path, WalkedFolder& into) {
        if (request_.beforeFolder) request_.beforeFolder(path);
        FolderEntries entries;
        ForEachEntry(path, [&](const WIN32_FIND_DATAW& entry) {
            if (IsListedFolder(entry.cFileName, entry.dwFileAttributes)) {
                entries.AddFolder(entry.cFileName, (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0);
            } else if (IsListedFile(entry.dwFileAttributes) && Matches(entry.cFileName)) {
                entries.AddFile(entry.cFileName);
            }
        });
        entries.Sort(&CollatesBefore);

        for (size_t i = 0; i < entries.Count() && listed_.load() < kMaxLoadedItems && !stop_.load(); ++i) {
            if (!entries.IsFolder(i)) {
                AddFile(path, entries.Name(i), into);
            } else if (request_.searchDirectory) {
                AddFolder(path, entries.Name(i), entries.IsLink(i), into);
            }
        }
    }

    bool Matches(const wchar_t* name) {
        folded_.assign(name);
        FoldCase(folded_);
        return MatchesPattern(folded_, mask_);
    }

    void AddFolder(const std::wstring& path, std::wstring_view name, bool isLink, WalkedFolder& into) {
        // The folder's entry is in place before its content is listed, and stays when that is empty.
        into.folders.push_back(WalkedFolder{std::wstring(name), {}, 0});
        Listed();
        const std::wstring folderPath = path + into.folders.back().name + L"\\";
        if (foldersDeep_ >= kMaxFolderDepth || (isLink && LeadsToAnOpenFolder(folderPath))) return;
        openFolders_.emplace_back(folderPath);
        ++foldersDeep_;
        ScanFolder(folderPath, into.folders.back());
        --foldersDeep_;
        openFolders_.pop_back();
    }

    bool LeadsToAnOpenFolder(const std::wstring& link) {
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

    void AddFile(const std::wstring& folder, std::wstring_view name, WalkedFolder& into) {
        ++into.files;
        if (tree_->icons) {
            std::wstring path = folder;
            path += name;
            tree_->icons->AddFile(path, name);
        }
        tree_->files.Add(folder, name);
        Listed();
    }

    void Listed() {
        listed_.fetch_add(1);
        if (onListed_) onListed_();
    }

    const WalkRequest& request_;
    const std::atomic<bool>& stop_;
    std::atomic<std::int32_t>& listed_;
    const std::function<void()>& onListed_;
    std::wstring mask_;
    std::wstring folded_;
    WalkedTree* tree_ = nullptr;
    std::vector<OpenFolder> openFolders_;
    int foldersDeep_ = 0;
};

}  // namespace

WalkedTree WalkFolderTree(const WalkRequest& request, const std::atomic<bool>& stop,
                          std::atomic<std::int32_t>& listed, const std::function<void()>& onListed) {
    return FolderWalk(request, stop, listed, onListed).Run();
}

}  // namespace menus
