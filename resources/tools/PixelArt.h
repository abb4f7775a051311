#pragma once
// The picture files of resources/images/*.txt and the bitmap and icon files made from them.
//
// A picture file holds, line by line:
//   # comment                   ignored, as are blank lines
//   c <char> #RRGGBB            a palette entry: <char> stands for that opaque colour
//   c <char> none               <char> stands for a fully transparent pixel
//   image <index> <name> [<n>]  starts a picture of n x n pixels (16 when n is left out),
//                               followed by exactly n rows of n palette characters
// Indices run from 0 without gaps; the order of the pictures in the file does not matter.

#include <cstdint>
#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

namespace pixelart {

struct Pixel {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
    friend bool operator==(const Pixel&, const Pixel&) = default;
};

struct Picture {
    int index = 0;
    std::string name;
    int size = 16;
    std::vector<Pixel> pixels;  // size * size, top row first
};

// What is wrong with a picture file, as "file:line: message".
class FormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The pictures in index order; throws FormatError.
std::vector<Picture> ParsePictures(std::istream& in, const std::string& fileName);

// The resting look of a hot picture: its greys, alpha kept.
Pixel Grey(const Pixel& p);

// The pictures side by side in index order, as a bottom-up 32-bit BMP file with alpha (transparent
// pixels all zero). All pictures must be of one size; throws FormatError otherwise.
std::vector<std::uint8_t> StripBitmap(const std::vector<Picture>& pictures, bool grey);

// Every picture as one image of an ICO file: 32-bit colour with alpha and an AND mask.
std::vector<std::uint8_t> IconFile(const std::vector<Picture>& pictures);

}  // namespace pixelart
