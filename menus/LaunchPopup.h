#pragma once
// TLaunchPopup: a popup menu that mirrors a folder tree. LoadItems appends one item for every
// file matching Mask in Directory and, with SearchDirectory, one submenu per subfolder (folders
// first, in the user's collation order). Choosing a file item reports its full path through
// OnItemClick (the handler reads SelectedFile); with no handler the shell opens the file.
// It knows nothing of the program it is used in. Paths and names are UTF-16 throughout, so a name
// that the ANSI code page cannot hold is listed, shown and opened like any other.
//
// With Images set, every file item gets an image of its own in that list, its type's icon
// (a type the shell gives no icon for leaves the item without one, image -1).
//
// A repeated LoadItems first removes what the previous load generated: its items (from the first
// of them to the end of the top level, so items the owner put in front stay) and its images.
//
// A tree of any shape loads in bounded time. A link (a junction or a symbolic link, which the
// listing reports as a reparse point) that leads to a folder already open above it (Directory and
// the folders above it count too) is shown as an item without a submenu and not entered; folders
// are told apart by their volume and file id, not by their names, and only a link costs that
// look-up. A folder deeper than kMaxFolderDepth below Directory is shown the same way, and a load
// stops adding items once it has listed kMaxLoadedItems of them.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Menu.h"
#include "toolkit/Object.h"

namespace menus {

class TypeIcons;
struct OpenFolder;

using TLPNotifyEvent = std::function<void(toolkit::TObject& Sender)>;

// The bounds of one load: a real Favorites tree stays far inside both, and the largest tree they
// admit loads within a few seconds.
inline constexpr int kMaxFolderDepth = 32;
inline constexpr std::int32_t kMaxLoadedItems = 50000;  // file and folder items together

class TLaunchPopup : public toolkit::TPopupMenu {
public:
    TLaunchPopup();
    ~TLaunchPopup() override;

    const std::wstring& Directory() const noexcept { return directory_; }
    void SetDirectory(std::wstring directory) { directory_ = std::move(directory); }
    bool SearchDirectory() const noexcept { return searchDirectory_; }
    void SetSearchDirectory(bool search) noexcept { searchDirectory_ = search; }
    const std::wstring& Mask() const noexcept { return mask_; }
    void SetMask(std::wstring mask) { mask_ = std::move(mask); }
    const TLPNotifyEvent& OnItemClick() const noexcept { return onItemClick_; }
    void SetOnItemClick(TLPNotifyEvent handler) { onItemClick_ = std::move(handler); }

    const std::wstring& SelectedFile() const noexcept { return selectedFile_; }
    const std::vector<std::wstring>& FileList() const noexcept { return fileList_; }
    std::int32_t ItemCount() const noexcept { return itemCount_; }

    void LoadItems();

private:
    void RemovePreviousLoad();
    void ScanFolder(const std::wstring& path, toolkit::TMenuItem& parent);
    void AddFolderItem(const std::wstring& path, const std::wstring& name, bool isLink, toolkit::TMenuItem& parent);
    bool LeadsToAnOpenFolder(const std::wstring& link);
    void AddFileItem(const std::wstring& folder, const std::wstring& name, toolkit::TMenuItem& parent);
    void ItemClick(toolkit::TMenuItem& item);

    std::wstring directory_;
    bool searchDirectory_ = false;
    std::wstring mask_ = L"*.lnk";
    TLPNotifyEvent onItemClick_;
    std::wstring selectedFile_;
    std::vector<std::wstring> fileList_;
    std::int32_t itemCount_ = 0;

    // Entry k: the length of the folder part of FileList()[k], its trailing separator included.
    std::vector<size_t> folderLengths_;
    // Where the last load's items and images start, to take them out again at the next load.
    bool loaded_ = false;
    size_t firstGeneratedItem_ = 0;
    toolkit::TImageList* imagesOfLoad_ = nullptr;
    int firstGeneratedImage_ = 0;
    // While a load runs: the file items in order, waiting for their images; the folders open
    // above the one being listed and how many of them lie below Directory; how many items the
    // load has listed.
    std::unique_ptr<TypeIcons> icons_;
    std::vector<toolkit::TMenuItem*> imagedItems_;
    std::vector<OpenFolder> openFolders_;
    int foldersDeep_ = 0;
    std::int32_t listedItems_ = 0;
};

}  // namespace menus
