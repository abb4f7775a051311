// The picture files' format and the bitmaps and icons drawn from them, and the program's own
// picture files, which must draw.

#include "PixelArt.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using pixelart::FormatError;
using pixelart::ParsePictures;
using pixelart::Picture;

std::string Rows(int size, char c) { return std::string(static_cast<size_t>(size), c); }

std::string TwoByTwo(const std::string& rows) {
    return "# test\nc . none\nc r #FF0000\nc g #00ff80\n\nimage 1 second 2\n..\n..\nimage 0 first 2\n" + rows;
}

std::vector<Picture> Parse(const std::string& text) {
    std::istringstream in(text);
    return ParsePictures(in, "test.txt");
}

std::string ErrorOf(const std::string& text) {
    try {
        Parse(text);
    } catch (const FormatError& error) {
        return error.what();
    }
    return "no error";
}

std::uint32_t U32At(const std::vector<std::uint8_t>& bytes, size_t offset) {
    return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 | static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

TEST(PictureFile, GivesThePicturesInIndexOrderWithTheirColours) {
    const auto pictures = Parse(TwoByTwo("rg\n.r\n"));
    ASSERT_EQ(pictures.size(), 2u);
    EXPECT_EQ(pictures[0].name, "first");
    EXPECT_EQ(pictures[1].name, "second");
    EXPECT_EQ(pictures[0].pixels[0], (pixelart::Pixel{255, 0, 0, 255}));
    EXPECT_EQ(pictures[0].pixels[1], (pixelart::Pixel{0, 255, 128, 255}));
    EXPECT_EQ(pictures[0].pixels[2].a, 0);
}

TEST(PictureFile, NamesTheLineOfEveryMistake) {
    EXPECT_EQ(ErrorOf(TwoByTwo("rg\nr\n")), "test.txt:11: row 2 of picture 'first' has 1 characters, expected 2");
    EXPECT_EQ(ErrorOf(TwoByTwo("rg\nrx\n")), "test.txt:11: character 'x' is not in the palette");
    EXPECT_EQ(ErrorOf(TwoByTwo("rg\n")), "test.txt:10: picture 'first' ends after 1 of its 2 rows");
    EXPECT_EQ(ErrorOf("c . none\nimage 1 only 2\n..\n..\n"), "test.txt:4: picture index 0 is missing");
    EXPECT_EQ(ErrorOf("c . none\nc . #000000\n"), "test.txt:2: palette character '.' defined twice");
    EXPECT_EQ(ErrorOf("c r #12345G\n"), "test.txt:1: bad colour '#12345G': expected #RRGGBB or none");
    EXPECT_EQ(ErrorOf("c # #000000\n"), "test.txt:1: '#' cannot stand for a colour: it starts comments");
    EXPECT_EQ(ErrorOf("c . none\nimage 0 a 2\n..\n..\nimage 0 b 2\n"), "test.txt:5: picture index 0 used twice");
    EXPECT_EQ(ErrorOf("c . none\nimage 0 a 0\n"), "test.txt:2: bad picture size '0': expected 1 to 256");
    EXPECT_EQ(ErrorOf("picture 0\n"), "test.txt:1: expected a palette entry (c), a picture (image) or a comment (#)");
    EXPECT_EQ(ErrorOf("# nothing\n"), "test.txt:1: no picture in the file");
}

TEST(StripBitmap, LaysThePicturesSideBySideBottomUpWithEmptyTransparentPixels) {
    const auto strip = pixelart::StripBitmap(Parse(TwoByTwo("rg\n.r\n")), false);
    ASSERT_EQ(strip.size(), 14u + 40u + 4u * 2 * 2 * 2);
    EXPECT_EQ(strip[0], 'B');
    EXPECT_EQ(U32At(strip, 2), strip.size());
    EXPECT_EQ(U32At(strip, 18), 4u);   // width: two pictures of 2
    EXPECT_EQ(U32At(strip, 22), 2u);   // height, positive: bottom-up
    EXPECT_EQ(strip[28], 32);           // bits per pixel
    const size_t bits = 54;
    // The bottom row first: ".r" of the first picture, then ".." of the second.
    EXPECT_EQ(U32At(strip, bits + 0), 0u);
    EXPECT_EQ(U32At(strip, bits + 4), 0xFFFF0000u);  // red as BGRA, opaque
    EXPECT_EQ(U32At(strip, bits + 16), 0xFFFF0000u);  // top row: "rg"
    EXPECT_EQ(U32At(strip, bits + 20), 0xFF00FF80u);
}

TEST(StripBitmap, GreySetKeepsShapeAndAlphaAndRefusesMixedSizes) {
    const auto grey = pixelart::StripBitmap(Parse(TwoByTwo("rg\n.r\n")), true);
    const size_t red = 54 + 4;
    EXPECT_EQ(grey[red], grey[red + 1]);
    EXPECT_EQ(grey[red + 1], grey[red + 2]);
    EXPECT_EQ(grey[red + 3], 255);
    EXPECT_EQ(U32At(grey, 54), 0u);
    EXPECT_THROW(pixelart::StripBitmap(Parse("c . none\nimage 0 a 2\n..\n..\nimage 1 b 1\n.\n"), false), FormatError);
}

TEST(IconFile, HoldsOneImageOfEachSizeWithItsMask) {
    const auto icon = pixelart::IconFile(Parse("c . none\nc k #000000\nimage 0 big 32\n" + [] {
        std::string rows;
        for (int i = 0; i < 32; ++i) rows += Rows(31, 'k') + ".\n";
        return rows;
    }() + "image 1 small 16\n" + [] {
        std::string rows;
        for (int i = 0; i < 16; ++i) rows += Rows(16, '.') + "\n";
        return rows;
    }()));
    EXPECT_EQ(icon[2], 1);  // an icon
    EXPECT_EQ(icon[4], 2);  // two images
    EXPECT_EQ(icon[6], 32);
    EXPECT_EQ(icon[6 + 16], 16);
    const std::uint32_t bigSize = U32At(icon, 6 + 8), bigOffset = U32At(icon, 6 + 12);
    EXPECT_EQ(bigSize, 40u + 32u * 32u * 4u + 32u * 4u);
    EXPECT_EQ(U32At(icon, bigOffset + 8), 64u);  // colour and mask rows together
    // The mask marks the transparent right-hand column.
    const std::uint32_t maskRow = bigOffset + 40 + 32 * 32 * 4;
    EXPECT_EQ(icon[maskRow + 3], 0x01);
    EXPECT_EQ(icon[maskRow + 0], 0x00);
    EXPECT_EQ(U32At(icon, 6 + 16 + 12), bigOffset + bigSize);
}

TEST(ProgramPictures, ToolbarHasTenPicturesOfSixteenAndTheIconDraws) {
    for (const char* name : {"toolbar.txt", "icon.txt"}) {
        std::ifstream in(std::string(CORVANE_IMAGES_DIR) + "/" + name, std::ios::binary);
        ASSERT_TRUE(in) << name;
        const auto pictures = ParsePictures(in, name);
        if (std::string(name) == "toolbar.txt") {
            EXPECT_EQ(pictures.size(), 10u);
            EXPECT_NO_THROW(pixelart::StripBitmap(pictures, true));
            for (const Picture& p : pictures) EXPECT_EQ(p.size, 16) << p.name;
        } else {
            EXPECT_NO_THROW(pixelart::IconFile(pictures));
        }
    }
}

}  // namespace
