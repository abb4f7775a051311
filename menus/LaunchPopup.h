#pragma once
// TLaunchPopup: a popup menu that mirrors a folder tree. LoadItems appends one item for every
// file matching Mask in Directory and, with SearchDirectory, one submenu per subfolder (folders
// first, in the user's collation order). Choosing a file item reports its full path through
// OnItemClick (the handler reads SelectedFile); with no handler the shell opens the file.
// It knows nothing of the program it is used in.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/Menu.h"
#include "toolkit/Object.h"

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
    void ScanFolder(const std::string& path, toolkit::TMenuItem& parent);
    void ItemClick(toolkit::TMenuItem& item);

    std::string directory_;
    bool searchDirectory_ = false;
    std::string mask_ = "*.lnk";
    TLPNotifyEvent onItemClick_;
    std::string selectedFile_;
    std::vector<std::string> fileList_;
    std::int32_t itemCount_ = 0;
};
