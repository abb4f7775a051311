#include "menus/TypeIcons.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>

#include "menus/core/LaunchNames.h"
#include "toolkit/Handles.h"

namespace menus {

namespace {

// The smallest strip: a small load takes one addition.
constexpr size_t kMinImagesPerStrip = 1024;

size_t MonoStride(size_t width) { return (width + 31) / 32 * 4; }

struct MonoBitmapInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[2];
};

BITMAPINFOHEADER DibHeader(int width, int height, WORD bitCount) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;  // positive: bottom row first
    header.biPlanes = 1;
    header.biBitCount = bitCount;
    header.biCompression = BI_RGB;
    return header;
}

MonoBitmapInfo MonoInfo(int width, int height) {
    MonoBitmapInfo info{};
    info.header = DibHeader(width, height, 1);
    info.colours[1] = RGBQUAD{0xFF, 0xFF, 0xFF, 0};
    return info;
}

// The icon that the shell gives for the file's type: asked by name, the file is not opened.
toolkit::IconHandle ShellTypeIcon(const std::wstring& path) {
    SHFILEINFOW info{};
    ::SHGetFileInfoW(path.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info, SHGFI_ICON | SHGFI_USEFILEATTRIBUTES);
    return toolkit::IconHandle{info.hIcon};
}

// The icon the shell shows for this very file (a shortcut's own icon, a program's).
toolkit::IconHandle ShellFileIcon(const std::wstring& path) {
    SHFILEINFOW info{};
    ::SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_ICON);
    return toolkit::IconHandle{info.hIcon};
}

// The file's place in the system's icon list, by its type alone or as the shell shows the file;
// -1 when the shell has none. Cheap next to an icon: nothing is drawn or copied.
int SystemIconIndex(const std::wstring& path, bool byType) {
    SHFILEINFOW info{};
    const DWORD_PTR list = ::SHGetFileInfoW(path.c_str(), byType ? FILE_ATTRIBUTE_NORMAL : 0, &info, sizeof info,
                                            SHGFI_SYSICONINDEX | (byType ? SHGFI_USEFILEATTRIBUTES : 0));
    return list ? info.iIcon : -1;
}

bool HasSubkey(const std::wstring& key) {
    HKEY handle = nullptr;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    ::RegCloseKey(handle);
    return true;
}

std::wstring DefaultValue(const std::wstring& key) {
    wchar_t value[MAX_PATH] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    if (::RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                       nullptr, value, &size) != ERROR_SUCCESS)
        return {};
    return value;
}

// The icon at the image list's size, chosen the way the list chooses when it is handed an icon.
toolkit::IconHandle ScaledCopy(HICON icon, int width, int height) {
    toolkit::IconHandle copy{static_cast<HICON>(::CopyImage(icon, IMAGE_ICON, width, height, LR_COPYFROMRESOURCE))};
    if (!copy) copy.Reset(static_cast<HICON>(::CopyImage(icon, IMAGE_ICON, width, height, 0)));
    return copy;
}

}  // namespace

TypeIcons::TypeIcons(int width, int height, bool shareImages)
    : width_(width), height_(height), shareImages_(shareImages), maskStride_(MonoStride(static_cast<size_t>(width))) {}

void TypeIcons::AddFile(const std::wstring& path, std::wstring_view name) {
    cellOfFile_.push_back(shareImages_ ? SharedCellFor(path, name) : CellFor(path, name));
}

int TypeIcons::Rendered(HICON icon) {
    Cell cell;
    if (!icon || !Render(icon, cell)) return -1;
    cells_.push_back(std::move(cell));
    return static_cast<int>(cells_.size() - 1);
}

int TypeIcons::CellFor(const std::wstring& path, std::wstring_view name) {
    // A path the shell would have to cut may lose its type: ask for it on its own.
    const bool shared = path.size() < MAX_PATH;
    std::wstring key;
    if (shared) {
        key = IconKeyForFile(name);
        if (const auto found = cellOfKey_.find(key); found != cellOfKey_.end()) return found->second;
    }
    const int index = Rendered(ShellTypeIcon(path).Get());
    if (shared) cellOfKey_.emplace(std::move(key), index);
    return index;
}

int TypeIcons::SharedCellFor(const std::wstring& path, std::wstring_view name) {
    const std::wstring key = IconKeyForFile(name);
    const bool byType = !IconsPerFile(key);
    // A path the shell would have to cut may lose its type: ask for it on its own.
    const bool typeShared = byType && path.size() < MAX_PATH;
    int systemIndex = -1;
    if (const auto found = systemIndexOfKey_.find(key); typeShared && found != systemIndexOfKey_.end()) {
        systemIndex = found->second;
    } else {
        systemIndex = SystemIconIndex(path, byType);
        if (typeShared) systemIndexOfKey_.emplace(key, systemIndex);
    }
    if (systemIndex < 0) return -1;
    if (const auto found = cellOfSystemIndex_.find(systemIndex); found != cellOfSystemIndex_.end()) return found->second;
    const int cell = Rendered((byType ? ShellTypeIcon(path) : ShellFileIcon(path)).Get());
    cellOfSystemIndex_.emplace(systemIndex, cell);
    return cell;
}

// A type whose files may each show an icon of their own: it has an icon handler, or its icon is
// the one inside each file ("%1"). Looked up once per type.
bool TypeIcons::IconsPerFile(const std::wstring& key) {
    if (key.empty()) return false;
    if (const auto found = perFileOfKey_.find(key); found != perFileOfKey_.end()) return found->second;
    const std::wstring typeName = DefaultValue(key);
    bool perFile = HasSubkey(key + L"\\shellex\\IconHandler");
    if (!perFile && !typeName.empty())
        perFile = HasSubkey(typeName + L"\\shellex\\IconHandler") || DefaultValue(typeName + L"\\DefaultIcon") == L"%1";
    perFileOfKey_.emplace(key, perFile);
    return perFile;
}

bool TypeIcons::Render(HICON icon, Cell& cell) const {
    const toolkit::IconHandle scaled = ScaledCopy(icon, width_, height_);
    ICONINFO info{};
    if (!scaled || !::GetIconInfo(scaled.Get(), &info)) return false;
    const toolkit::BitmapHandle colour{info.hbmColor};
    const toolkit::BitmapHandle mask{info.hbmMask};
    if (!mask) return false;
    // A monochrome icon keeps its colour in the lower half of a mask twice the height.
    const int rows = colour ? height_ : 2 * height_;
    BITMAP shape{};
    if (!::GetObjectW(colour ? colour.Get() : mask.Get(), sizeof shape, &shape) || shape.bmWidth != width_ ||
        shape.bmHeight != rows)
        return false;

    const toolkit::MemoryDc dc{::CreateCompatibleDC(nullptr)};
    if (!dc) return false;
    const auto w = static_cast<size_t>(width_);
    const auto h = static_cast<size_t>(height_);
    std::vector<std::uint32_t> colourBits(w * static_cast<size_t>(rows));
    BITMAPINFO colourInfo{};
    colourInfo.bmiHeader = DibHeader(width_, rows, 32);
    if (::GetDIBits(dc.Get(), colour ? colour.Get() : mask.Get(), 0, static_cast<UINT>(rows), colourBits.data(),
                    &colourInfo, DIB_RGB_COLORS) != rows)
        return false;
    std::vector<std::uint8_t> maskBits(maskStride_ * 2 * h);
    MonoBitmapInfo maskInfo = MonoInfo(width_, colour ? height_ : 2 * height_);
    if (::GetDIBits(dc.Get(), mask.Get(), 0, static_cast<UINT>(colour ? height_ : 2 * height_), maskBits.data(),
                    reinterpret_cast<BITMAPINFO*>(&maskInfo), DIB_RGB_COLORS) == 0)
        return false;

    cell.colour.assign(colourBits.begin(), colourBits.begin() + static_cast<std::ptrdiff_t>(w * h));
    // Bottom row first: the mask of a monochrome icon is the upper half, rows h..2h-1.
    const size_t maskFirstRow = colour ? 0 : h;
    cell.mask.assign(maskBits.begin() + static_cast<std::ptrdiff_t>(maskFirstRow * maskStride_),
                     maskBits.begin() + static_cast<std::ptrdiff_t>((maskFirstRow + h) * maskStride_));
    return true;
}

std::vector<int> TypeIcons::AppendTo(toolkit::TImageList& list) const {
    // Shared, each cell is one image: cells were rendered in the order files first used them.
    std::vector<int> cellsInOrder;
    cellsInOrder.reserve(shareImages_ ? cells_.size() : cellOfFile_.size());
    if (shareImages_) {
        for (size_t cell = 0; cell < cells_.size(); ++cell) cellsInOrder.push_back(static_cast<int>(cell));
    } else {
        for (const int cell : cellOfFile_)
            if (cell >= 0) cellsInOrder.push_back(cell);
    }

    // Each strip that does not fit makes the list copy all its images into a bigger bitmap; strips
    // that grow with the list keep that copying linear in the number of images.
    std::vector<int> imageOfCell(cellsInOrder.size(), -1);
    for (size_t first = 0; first < cellsInOrder.size();) {
        const size_t inList = static_cast<size_t>(std::max(list.Count(), 0));
        const size_t count = std::min(std::max(kMinImagesPerStrip, inList), cellsInOrder.size() - first);
        const int firstImage = AppendStrip(list, cellsInOrder, first, count);
        if (firstImage >= 0)
            for (size_t i = 0; i < count; ++i) imageOfCell[first + i] = firstImage + static_cast<int>(i);
        first += count;
    }

    std::vector<int> imageOfFile;
    imageOfFile.reserve(cellOfFile_.size());
    size_t imaged = 0;
    for (const int cell : cellOfFile_) {
        if (cell < 0) {
            imageOfFile.push_back(-1);
        } else {
            imageOfFile.push_back(imageOfCell[shareImages_ ? static_cast<size_t>(cell) : imaged++]);
        }
    }
    return imageOfFile;
}

int TypeIcons::AppendStrip(toolkit::TImageList& list, const std::vector<int>& cells, size_t first, size_t count) const {
    const auto w = static_cast<size_t>(width_);
    const auto h = static_cast<size_t>(height_);
    const size_t stripWidth = w * count;
    const size_t stripMaskStride = MonoStride(stripWidth);

    BITMAPINFO colourInfo{};
    colourInfo.bmiHeader = DibHeader(static_cast<int>(stripWidth), height_, 32);
    void* colourBits = nullptr;
    const toolkit::BitmapHandle colour{
        ::CreateDIBSection(nullptr, &colourInfo, DIB_RGB_COLORS, &colourBits, nullptr, 0)};
    MonoBitmapInfo maskInfo = MonoInfo(static_cast<int>(stripWidth), height_);
    void* maskBits = nullptr;
    const toolkit::BitmapHandle mask{::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&maskInfo),
                                                        DIB_RGB_COLORS, &maskBits, nullptr, 0)};
    if (!colour || !mask || !colourBits || !maskBits) return -1;

    auto* colourRows = static_cast<std::uint32_t*>(colourBits);
    auto* maskRows = static_cast<std::uint8_t*>(maskBits);
    for (size_t i = 0; i < count; ++i) {
        const Cell& cell = cells_[static_cast<size_t>(cells[first + i])];
        for (size_t row = 0; row < h; ++row)
            std::memcpy(colourRows + row * stripWidth + i * w, cell.colour.data() + row * w, w * sizeof(std::uint32_t));
        CopyMonoBlock(cell.mask.data(), maskStride_, maskRows, stripMaskStride, i * w, w, h);
    }
    ::GdiFlush();  // the bits were written directly; GDI must see them before it reads the section
    return list.AddStrip(colour.Get(), mask.Get());
}

}  // namespace menus
