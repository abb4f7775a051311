#pragma once
// The icons of one load of the folder launch menu, gathered on any thread and put into the image
// list on the list's thread in a few strip additions at the end, instead of one icon copy per file.
//
// By default every file item gets an image of its own, its type's icon: the shell is asked once per
// icon key (the icon depends on the name's type alone) and each distinct icon is rendered once.
//
// Shared, items that show the same icon share one image: each file's icon is the one the shell
// shows for that file (a type whose files may carry icons of their own, such as shortcuts, is asked
// per file), found by its index in the system's icon list; an icon is rendered, and gets an image,
// only for an index not seen before.

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "toolkit/ImageList.h"

namespace menus {

class TypeIcons {
public:
    TypeIcons(int width, int height, bool shareImages = false);

    // Records the icon of the file at path (name: its file name) for the next file item.
    void AddFile(const std::wstring& path, std::wstring_view name);
    // Appends the images to list: one per recorded file, in order, or shared, one per distinct icon.
    // Returns, per recorded file, its image index in list, or -1 when the shell had no icon for it
    // or the list refused the images.
    std::vector<int> AppendTo(toolkit::TImageList& list) const;

private:
    // One rendered icon: 32-bit colour and 1-bit mask rows, bottom row first, as a device
    // independent bitmap holds them.
    struct Cell {
        std::vector<std::uint32_t> colour;
        std::vector<std::uint8_t> mask;
    };

    int CellFor(const std::wstring& path, std::wstring_view name);
    int SharedCellFor(const std::wstring& path, std::wstring_view name);
    bool IconsPerFile(const std::wstring& key);
    int Rendered(HICON icon);
    bool Render(HICON icon, Cell& cell) const;
    int AppendStrip(toolkit::TImageList& list, const std::vector<int>& cells, size_t first, size_t count) const;

    int width_;
    int height_;
    bool shareImages_;
    size_t maskStride_;
    std::unordered_map<std::wstring, int> cellOfKey_;
    std::vector<Cell> cells_;
    std::vector<int> cellOfFile_;  // -1: no icon
    // Shared: whether a type's files may differ in icon, a type's index in the system's icon list,
    // and the cell rendered for an index (-1: none).
    std::unordered_map<std::wstring, bool> perFileOfKey_;
    std::unordered_map<std::wstring, int> systemIndexOfKey_;
    std::unordered_map<int, int> cellOfSystemIndex_;
};

}  // namespace menus
