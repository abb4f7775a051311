#pragma once
// TLaunchPopup: a popup menu that mirrors a folder tree. LoadItems appends one item for every
// file matching Mask in Directory and, with SearchDirectory, one submenu per subfolder (folders
// first, in the user's collation order). Choosing a file item reports its full path through
// OnItemClick (the handler reads SelectedFile); with no handler the shell opens the file.
// It knows nothing of the program it is used in.
//
// With Images set, every file item gets an image of its own in that list, its type's icon
// (a type the shell gives no icon for leaves the item without one, image -1).
//
// A repeated LoadItems first removes what the previous load generated: its items (from the first
// of them to the end of the top level, so items the owner put in front stay) and its images.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Menu.h"
#include "toolkit/Object.h"

namespace launchmenu {
class TypeIcons;
}

using TLPNotifyEvent = std::function<void(toolkit::TObject& Sender)>;

class TLaunchPopup : public toolkit::TPopupMenu {
public:
    TLaunchPopup();
    ~TLaunchPopup() override;

    const std::string& Directory() const noexcept { return directory_; }
    void SetDirectory(std::string directory) { directory_ = std::move(directory); }
    bool SearchDirectory() const noexcept { return searchDirectory_; }
    void SetSearchDirectory(bool search) noexcept { searchDirectory_ = search; }
    const std::string& Mask() const noexcept { return mask_; }
    void SetMask(std::string mask) { mask_ = std::move(mask); }
    const TLPNotifyEvent& OnItemClick() const noexcept { return onItemClick_; }
    void SetOnItemClick(TLPNotifyEvent handler) { onItemClick_ = std::move(handler); }

    const std::string& SelectedFile() const noexcept { return selectedFile_; }
    const std::vector<std::string>& FileList() const noexcept { return fileList_; }
    std::int32_t ItemCount() const noexcept { return itemCount_; }

    void LoadItems();

private:
    void RemovePreviousLoad();
    void ScanFolder(const std::string& path, toolkit::TMenuItem& parent);
    void AddFileItem(const std::string& folder, const std::string& name, toolkit::TMenuItem& parent);
    void ItemClick(toolkit::TMenuItem& item);

    std::string directory_;
    bool searchDirectory_ = false;
    std::string mask_ = "*.lnk";
    TLPNotifyEvent onItemClick_;
    std::string selectedFile_;
    std::vector<std::string> fileList_;
    std::int32_t itemCount_ = 0;

    // Entry k: the length of the folder part of FileList()[k], its trailing separator included.
    std::vector<size_t> folderLengths_;
    // Where the last load's items and images start, to take them out again at the next load.
    bool loaded_ = false;
    size_t firstGeneratedItem_ = 0;
    toolkit::TImageList* imagesOfLoad_ = nullptr;
    int firstGeneratedImage_ = 0;
    // While a load runs: the file items in order, waiting for their images.
    std::unique_ptr<launchmenu::TypeIcons> icons_;
    std::vector<toolkit::TMenuItem*> imagedItems_;
};
