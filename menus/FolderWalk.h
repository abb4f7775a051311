#pragma once
// One load of the folder launch menu as plain data: the walk of a folder tree and the icons of its
// files, with no menu object in it, so that it can run on any thread and be handed over whole.
//
// Each folder is listed once; its entries are ordered as the menu shows them (folders first, in
// the user's collation order). The walk keeps the menu's bounds: a link back to a folder open above
// it, or a folder deeper than kMaxFolderDepth, is an entry without a listing, and the walk stops
// adding entries once it has listed kMaxLoadedItems of them.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "menus/TypeIcons.h"
#include "menus/core/LaunchNames.h"

namespace menus {

struct OpenFolder;

// The bounds of one load: a real Favorites tree stays far inside both, and the largest tree they
// admit loads within a few seconds.
inline constexpr int kMaxFolderDepth = 32;
inline constexpr std::int32_t kMaxLoadedItems = 50000;  // file and folder items together

struct WalkRequest {
    std::wstring directory;  // ends with "\"
    std::wstring mask;
    bool searchDirectory = false;
    bool withIcons = false;
    int iconWidth = 0;
    int iconHeight = 0;
    bool shareImages = false;
    // Runs before each folder is listed, on the walking thread (a test stands in a slow share).
    std::function<void(const std::wstring& folder)> beforeFolder;
};

// A folder as listed: its subfolders, each with its own listing (empty when it was not entered),
// then as many files. Files are numbered depth first: a folder's own files come after those of its
// subfolders, as the menu shows them (folders first).
struct WalkedFolder {
    std::wstring name;  // empty for the directory itself
    std::vector<WalkedFolder> folders;
    std::int32_t files = 0;
};

struct WalkedTree {
    bool listed = false;  // false: the directory named no folder, or the walk was stopped
    WalkedFolder root;
    ListedFiles files;                 // per file, in the order of their numbers
    std::unique_ptr<TypeIcons> icons;  // with one recorded icon per file; null without icons
};

// Walks request.directory. stop, checked between entries, ends the walk early (the tree is then
// not listed); listed counts the entries so far and onListed runs after each of them.
WalkedTree WalkFolderTree(const WalkRequest& request, const std::atomic<bool>& stop,
                          std::atomic<std::int32_t>& listed, const std::function<void()>& onListed);

}  // namespace menus
