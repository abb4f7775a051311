#pragma once
// The type icons of one load of the folder launch menu. Every file item gets an image of its own,
// but the shell is asked once per icon key (the icon depends on the name's type alone), each
// distinct icon is rendered once at the list's size, and all images go into the list in a few
// strip additions at the end instead of one icon copy per file.

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
    TypeIcons(int width, int height);

    // Records the icon of the file at path (name: its file name) for the next file item.
    void AddFile(const std::wstring& path, std::wstring_view name);
    // Appends one image per recorded file to list, in order. Returns, per recorded file, its image
    // index in list, or -1 when the shell had no icon for it or the list refused the images.
    std::vector<int> AppendTo(toolkit::TImageList& list) const;

private:
    // One rendered icon: 32-bit colour and 1-bit mask rows, bottom row first, as a device
    // independent bitmap holds them.
    struct Cell {
        std::vector<std::uint32_t> colour;
        std::vector<std::uint8_t> mask;
    };

    int CellFor(const std::wstring& path, std::wstring_view name);
    bool Render(HICON icon, Cell& cell) const;
    int AppendStrip(toolkit::TImageList& list, const std::vector<int>& cells, size_t first, size_t count) const;

    int width_;
    int height_;
    size_t maskStride_;
    std::unordered_map<std::wstring, int> cellOfKey_;
    std::vector<Cell> cells_;
    std::vector<int> cellOfFile_;  // -1: no icon
};

}  // namespace menus
