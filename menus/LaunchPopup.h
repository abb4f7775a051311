#pragma once
// TLaunchPopup: a popup menu that mirrors a folder tree. LoadItems appends one item for every
// file matching Mask in Directory and, with SearchDirectory, one submenu per subfolder (folders
// first, in the user's collation order). Choosing a file item reports its full path through
// OnItemClick (the handler reads SelectedFile); with no handler the shell opens the file.
// It knows nothing of the program it is used in. Paths and names are UTF-16 throughout, so a name
// that the ANSI code page cannot hold is listed, shown and opened like any other.
//
// With Images set, every file item gets an image of its own in that list, its type's icon
// (a type the shell gives no icon for leaves the item without one, image -1). With ShareImages,
// items that show the same icon share one image instead, and each item shows the icon the shell
// shows for its file (a shortcut with an icon of its own keeps it).
//
// A repeated load first removes what the previous load generated: its items (from the first
// of them to the end of the top level, so items the owner put in front stay) and its images.
//
// LoadItems lists the tree on the calling thread and returns when the menu holds it.
// BeginLoadItems lists it on a thread of its own (the folders and the icons) and returns at once:
// the thread that called it keeps answering, OnLoadProgress reports how far the listing is, and
// the menu receives the whole tree at once, in slices short enough to keep that thread responsive,
// after which OnLoaded runs. A request while a load runs does nothing. Destroying the menu during
// a load stops it.
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

#include "menus/FolderWalk.h"
#include "toolkit/Menu.h"
#include "toolkit/Object.h"

namespace menus {

using TLPNotifyEvent = std::function<void(toolkit::TObject& Sender)>;
using TLPFolderEvent = std::function<void(const std::wstring& folder)>;

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
    bool ShareImages() const noexcept { return shareImages_; }
    void SetShareImages(bool share) noexcept { shareImages_ = share; }
    void SetOnLoadProgress(TLPNotifyEvent handler) { onLoadProgress_ = std::move(handler); }
    void SetOnLoaded(TLPNotifyEvent handler) { onLoaded_ = std::move(handler); }
    // Runs before each folder is listed, on the thread that lists it: a test stands in a share that
    // answers late with it.
    void SetOnListFolder(TLPFolderEvent handler) { onListFolder_ = std::move(handler); }

    const std::wstring& SelectedFile() const noexcept { return selectedFile_; }
    // The listed files' paths, in the order of their items; made when first asked for.
    const std::vector<std::wstring>& FileList() const;
    std::int32_t ItemCount() const noexcept { return itemCount_; }

    void LoadItems();
    // Returns false, and does nothing, while a load runs.
    bool BeginLoadItems();
    bool Loading() const noexcept;
    // While a load runs: how many items it has listed so far.
    std::int32_t ListedSoFar() const noexcept;

private:
    class Builder;
    class BackgroundLoad;
    class LoadWindow;

    WalkRequest Request() const;
    void OnLoadMessage(UINT message, WPARAM number);
    void FinishLoad(WalkedTree tree, Builder& builder);
    void Notify(const TLPNotifyEvent& event);
    void RemovePreviousLoad();
    void ItemClick(toolkit::TMenuItem& item);

    std::wstring directory_;
    bool searchDirectory_ = false;
    std::wstring mask_ = L"*.lnk";
    TLPNotifyEvent onItemClick_;
    std::wstring selectedFile_;
    ListedFiles files_;
    mutable std::vector<std::wstring> fileList_;
    mutable bool fileListMade_ = false;
    std::int32_t itemCount_ = 0;
    bool shareImages_ = false;
    TLPNotifyEvent onLoadProgress_;
    TLPNotifyEvent onLoaded_;
    TLPFolderEvent onListFolder_;

    // Where the last load's items and images start, to take them out again at the next load.
    bool loaded_ = false;
    size_t firstGeneratedItem_ = 0;
    toolkit::TImageList* imagesOfLoad_ = nullptr;
    int firstGeneratedImage_ = 0;
    // The load that runs on a thread of its own, and the window its messages come to.
    std::unique_ptr<BackgroundLoad> background_;
    std::unique_ptr<LoadWindow> loadWindow_;
    WPARAM loadNumber_ = 0;
};

}  // namespace menus
