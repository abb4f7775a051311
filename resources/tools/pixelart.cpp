// pixelart: turns the reviewable picture files of resources/images/*.txt (format in PixelArt.h)
// into the bitmaps and the icon that the program's resource script embeds. It runs on the build
// machine.
//
//   pixelart strip PICTURES HOT.bmp NORMAL.bmp   the pictures side by side, in colour and in greys
//   pixelart icon PICTURES OUT.ico               the pictures as the images of one icon
//
// An error names the file and line and ends the tool with exit code 1, leaving no output behind.

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "resources/tools/PixelArt.h"

namespace {

std::vector<pixelart::Picture> ReadPictures(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw pixelart::FormatError(path + ": cannot open");
    return pixelart::ParsePictures(in, path);
}

// Written whole or not at all: a half-written bitmap would only fail later, in the resource compiler.
void WriteFileWhole(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const std::string partial = path + ".part";
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    std::remove(path.c_str());
    if (!out || std::rename(partial.c_str(), path.c_str()) != 0) {
        std::remove(partial.c_str());
        throw pixelart::FormatError(path + ": cannot write");
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() == 4 && args[0] == "strip") {
            const auto pictures = ReadPictures(args[1]);
            const auto hot = pixelart::StripBitmap(pictures, false);
            const auto normal = pixelart::StripBitmap(pictures, true);
            WriteFileWhole(args[2], hot);
            WriteFileWhole(args[3], normal);
            return 0;
        }
        if (args.size() == 3 && args[0] == "icon") {
            WriteFileWhole(args[2], pixelart::IconFile(ReadPictures(args[1])));
            return 0;
        }
    } catch (const std::exception& error) {
        std::cerr << "pixelart: " << error.what() << "\n";
        return 1;
    }
    std::cerr << "usage: pixelart strip PICTURES HOT.bmp NORMAL.bmp\n"
                 "       pixelart icon PICTURES OUT.ico\n";
    return 2;
}
