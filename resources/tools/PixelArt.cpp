#include "resources/tools/PixelArt.h"

#include <algorithm>
#include <map>
#include <optional>
#include <sstream>

namespace pixelart {

namespace {

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

std::optional<int> ParseNumber(const std::string& text, int low, int high) {
    if (text.empty() || text.size() > 6) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < low || value > high) return std::nullopt;
    return value;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<Pixel> ParseColour(const std::string& text) {
    if (text == "none") return Pixel{};
    if (text.size() != 7 || text[0] != '#') return std::nullopt;
    std::uint8_t channel[3];
    for (size_t i = 0; i < 3; ++i) {
        const int high = HexDigit(text[1 + 2 * i]), low = HexDigit(text[2 + 2 * i]);
        if (high < 0 || low < 0) return std::nullopt;
        channel[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return Pixel{channel[0], channel[1], channel[2], 255};
}

class PictureParser {
public:
    explicit PictureParser(std::string fileName) : fileName_(std::move(fileName)) {}

    std::vector<Picture> Parse(std::istream& in) {
        for (std::string raw; std::getline(in, raw);) {
            ++line_;
            if (current_) {
                TakeRow(raw);
                continue;
            }
            const std::string line = Trimmed(raw);
            if (line.empty() || line[0] == '#') continue;
            const auto words = Words(line);
            if (words[0] == "c")
                TakePaletteEntry(words);
            else if (words[0] == "image")
                StartPicture(words);
            else
                Fail("expected a palette entry (c), a picture (image) or a comment (#)");
        }
        if (current_)
            Fail("picture '" + current_->name + "' ends after " + std::to_string(rows_) + " of its " +
                 std::to_string(current_->size) + " rows");
        return Finished();
    }

private:
    [[noreturn]] void Fail(const std::string& message) const {
        throw FormatError(fileName_ + ":" + std::to_string(line_) + ": " + message);
    }

    void TakePaletteEntry(const std::vector<std::string>& words) {
        if (words.size() != 3 || words[1].size() != 1) Fail("a palette entry is: c <one character> #RRGGBB | none");
        const char key = words[1][0];
        if (key == '#') Fail("'#' cannot stand for a colour: it starts comments");
        const auto colour = ParseColour(words[2]);
        if (!colour) Fail("bad colour '" + words[2] + "': expected #RRGGBB or none");
        if (!palette_.emplace(key, *colour).second) Fail(std::string("palette character '") + key + "' defined twice");
    }

    void StartPicture(const std::vector<std::string>& words) {
        if (words.size() != 3 && words.size() != 4) Fail("a picture starts with: image <index> <name> [<size>]");
        const auto index = ParseNumber(words[1], 0, 999);
        if (!index) Fail("bad picture index '" + words[1] + "'");
        const auto size = words.size() == 4 ? ParseNumber(words[3], 1, 256) : std::optional<int>(16);
        if (!size) Fail("bad picture size '" + words[3] + "': expected 1 to 256");
        for (const Picture& p : pictures_)
            if (p.index == *index) Fail("picture index " + words[1] + " used twice");
        current_ = Picture{*index, words[2], *size, {}};
        rows_ = 0;
    }

    void TakeRow(const std::string& raw) {
        const std::string row = Trimmed(raw);
        const auto size = static_cast<size_t>(current_->size);
        if (row.size() != size)
            Fail("row " + std::to_string(rows_ + 1) + " of picture '" + current_->name + "' has " +
                 std::to_string(row.size()) + " characters, expected " + std::to_string(size));
        for (char c : row) {
            const auto found = palette_.find(c);
            if (found == palette_.end()) Fail(std::string("character '") + c + "' is not in the palette");
            current_->pixels.push_back(found->second);
        }
        if (++rows_ == current_->size) {
            pictures_.push_back(std::move(*current_));
            current_.reset();
        }
    }

    std::vector<Picture> Finished() {
        if (pictures_.empty()) Fail("no picture in the file");
        std::sort(pictures_.begin(), pictures_.end(),
                  [](const Picture& a, const Picture& b) { return a.index < b.index; });
        for (size_t i = 0; i < pictures_.size(); ++i)
            if (pictures_[i].index != static_cast<int>(i)) Fail("picture index " + std::to_string(i) + " is missing");
        return std::move(pictures_);
    }

    std::string fileName_;
    int line_ = 0;
    std::map<char, Pixel> palette_;
    std::vector<Picture> pictures_;
    std::optional<Picture> current_;
    int rows_ = 0;
};

// Little-endian output into a byte buffer.
class Bytes {
public:
    void U8(std::uint8_t v) { data_.push_back(v); }
    void U16(std::uint16_t v) {
        U8(static_cast<std::uint8_t>(v));
        U8(static_cast<std::uint8_t>(v >> 8));
    }
    void U32(std::uint32_t v) {
        U16(static_cast<std::uint16_t>(v));
        U16(static_cast<std::uint16_t>(v >> 16));
    }
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    void Append(const Bytes& other) { data_.insert(data_.end(), other.data_.begin(), other.data_.end()); }
    std::uint32_t Size() const { return static_cast<std::uint32_t>(data_.size()); }
    std::vector<std::uint8_t>&& Take() { return std::move(data_); }

private:
    std::vector<std::uint8_t> data_;
};

constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kFileHeaderSize = 14;

void InfoHeader(Bytes& out, int width, int height, std::uint32_t imageBytes) {
    out.U32(kInfoHeaderSize);
    out.I32(width);
    out.I32(height);  // positive: bottom-up rows
    out.U16(1);       // planes
    out.U16(32);      // bits per pixel
    out.U32(0);       // BI_RGB
    out.U32(imageBytes);
    out.I32(2835);  // 72 dpi, as pixels per metre
    out.I32(2835);
    out.U32(0);
    out.U32(0);
}

// Transparent pixels carry no colour, so premultiplied and straight alpha read alike.
void PixelBgra(Bytes& out, const Pixel& p) {
    if (p.a == 0) {
        out.U32(0);
        return;
    }
    out.U8(p.b);
    out.U8(p.g);
    out.U8(p.r);
    out.U8(p.a);
}

Bytes IconImage(const Picture& picture) {
    const int size = picture.size;
    Bytes colour, mask;
    const int maskRowBytes = ((size + 31) / 32) * 4;
    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> maskRow(static_cast<size_t>(maskRowBytes), 0);
        for (int x = 0; x < size; ++x) {
            const Pixel& p = picture.pixels[static_cast<size_t>(y * size + x)];
            PixelBgra(colour, p);
            if (p.a == 0) maskRow[static_cast<size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
        for (std::uint8_t b : maskRow) mask.U8(b);
    }
    Bytes image;
    // An icon image's header counts the colour and the mask rows together.
    InfoHeader(image, size, size * 2, colour.Size() + mask.Size());
    image.Append(colour);
    image.Append(mask);
    return image;
}

}  // namespace

std::vector<Picture> ParsePictures(std::istream& in, const std::string& fileName) {
    return PictureParser(fileName).Parse(in);
}

Pixel Grey(const Pixel& p) {
    if (p.a == 0) return p;
    // Luminance, lifted towards white so that the resting toolbar looks quiet next to the hot one.
    const int luminance = (299 * p.r + 587 * p.g + 114 * p.b) / 1000;
    const auto grey = static_cast<std::uint8_t>(std::min(255, 64 + luminance * 3 / 4));
    return Pixel{grey, grey, grey, p.a};
}

std::vector<std::uint8_t> StripBitmap(const std::vector<Picture>& pictures, bool grey) {
    if (pictures.empty()) throw FormatError("a strip needs at least one picture");
    const int size = pictures.front().size;
    for (const Picture& p : pictures)
        if (p.size != size)
            throw FormatError("picture '" + p.name + "' is not of the strip's size " + std::to_string(size));
    Bytes pixels;
    for (int y = size - 1; y >= 0; --y)
        for (const Picture& picture : pictures)
            for (int x = 0; x < size; ++x) {
                const Pixel& p = picture.pixels[static_cast<size_t>(y * size + x)];
                PixelBgra(pixels, grey ? Grey(p) : p);
            }
    Bytes file;
    const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize;
    file.U8('B');
    file.U8('M');
    file.U32(offset + pixels.Size());
    file.U32(0);
    file.U32(offset);
    InfoHeader(file, size * static_cast<int>(pictures.size()), size, pixels.Size());
    file.Append(pixels);
    return file.Take();
}

std::vector<std::uint8_t> IconFile(const std::vector<Picture>& pictures) {
    std::vector<Bytes> images;
    for (const Picture& p : pictures) images.push_back(IconImage(p));
    Bytes file;
    file.U16(0);
    file.U16(1);  // an icon, not a cursor
    file.U16(static_cast<std::uint16_t>(pictures.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(pictures.size());
    for (size_t i = 0; i < pictures.size(); ++i) {
        const auto side = static_cast<std::uint8_t>(pictures[i].size >= 256 ? 0 : pictures[i].size);
        file.U8(side);
        file.U8(side);
        file.U8(0);  // no palette
        file.U8(0);
        file.U16(1);
        file.U16(32);
        file.U32(images[i].Size());
        file.U32(offset);
        offset += images[i].Size();
    }
    for (const Bytes& image : images) file.Append(image);
    return file.Take();
}

}  // namespace pixelart
