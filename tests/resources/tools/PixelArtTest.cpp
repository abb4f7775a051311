// The picture files' format, the bitmap and icon layouts drawn from them, and the program's own
// picture files, which must draw.

#include "resources/tools/PixelArt.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::vector<pixelart::Picture> Parse(const std::string& text) {
    std::istringstream in(text);
    return pixelart::ParsePictures(in, "test.txt");
}

std::string ErrorOf(const std::string& text) {
    try {
        Parse(text);
    } catch (const pixelart::FormatError& error) {
        return error.what();
    }
    return "no error";
}

std::uint32_t U32At(const std::vector<std::uint8_t>& bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// Two 2 x 2 pictures, listed out of order.
const std::string kPictures = "# test\nc . none\nc r #FF0000\nc g #00ff80\nimage 1 b 2\n..\n..\nimage 0 a 2\nrg\n.r\n";

TEST(PictureFile, NamesTheLineOfEachMistake) {
    EXPECT_EQ(ErrorOf("c . none\nimage 0 a 2\n..\n.\n"), "test.txt:4: row 2 of picture 'a' has 1 characters, expected 2");
    EXPECT_EQ(ErrorOf("c . none\nimage 0 a 2\n.x\n"), "test.txt:3: character 'x' is not in the palette");
    EXPECT_EQ(ErrorOf("c . none\nimage 0 a 2\n..\n"), "test.txt:3: picture 'a' ends after 1 of its 2 rows");
    EXPECT_EQ(ErrorOf("c . none\nimage 1 a 1\n.\n"), "test.txt:3: picture index 0 is missing");
    EXPECT_EQ(ErrorOf("c . none\nc . #000000\n"), "test.txt:2: palette character '.' defined twice");
    EXPECT_EQ(ErrorOf("c r #12345G\n"), "test.txt:1: bad colour '#12345G': expected #RRGGBB or none");
    EXPECT_EQ(ErrorOf("# nothing\n"), "test.txt:1: no picture in the file");
}

TEST(StripBitmap, LaysPicturesSideBySideBottomUpInColourAndInGreys) {
    const auto strip = pixelart::StripBitmap(Parse(kPictures), false);
    ASSERT_EQ(strip.size(), 54u + 4u * 4 * 2);
    EXPECT_EQ(U32At(strip, 2), strip.size());
    EXPECT_EQ(U32At(strip, 18), 4u);  // width: two pictures of 2
    EXPECT_EQ(U32At(strip, 22), 2u);  // positive height: bottom-up
    EXPECT_EQ(strip[28], 32);
    EXPECT_EQ(U32At(strip, 54), 0u);  // bottom row ".r" first; transparent pixels hold nothing
    EXPECT_EQ(U32At(strip, 58), 0xFFFF0000u);
    EXPECT_EQ(U32At(strip, 70), 0xFFFF0000u);  // top row "rg"
    EXPECT_EQ(U32At(strip, 74), 0xFF00FF80u);
    const auto grey = pixelart::StripBitmap(Parse(kPictures), true);
    EXPECT_TRUE(grey[58] == grey[59] && grey[59] == grey[60] && grey[61] == 255);
    EXPECT_EQ(U32At(grey, 54), 0u);
    EXPECT_THROW(pixelart::StripBitmap(Parse("c . none\nimage 0 a 2\n..\n..\nimage 1 b 1\n.\n"), false),
                 pixelart::FormatError);
}

TEST(IconFile, HoldsEachImageWithDoubledHeightAndAnAndMask) {
    std::string text = "c . none\nc k #000000\nimage 0 big 32\n";
    for (int i = 0; i < 32; ++i) text += std::string(31, 'k') + ".\n";
    const auto icon = pixelart::IconFile(Parse(text));
    EXPECT_EQ(icon[2] | icon[4] << 8, 1 | 1 << 8);  // an icon of one image
    const std::uint32_t size = U32At(icon, 14), offset = U32At(icon, 18);
    EXPECT_EQ(size, 40u + 32 * 32 * 4 + 32 * 4);
    EXPECT_EQ(offset + size, icon.size());
    EXPECT_EQ(U32At(icon, offset + 8), 64u);
    EXPECT_EQ(U32At(icon, offset + 40 + 32 * 32 * 4), 0x01000000u);  // the transparent right-hand column
}

TEST(ProgramPictures, Draw) {
    const std::pair<const char*, size_t> strips[] = {{"toolbar.txt", 10}, {"browser.txt", 7}};
    for (const auto& [name, count] : strips) {
        std::ifstream in(std::string(CORVANE_IMAGES_DIR) + "/" + name, std::ios::binary);
        const auto pictures = pixelart::ParsePictures(in, name);
        EXPECT_EQ(pictures.size(), count) << name;
        EXPECT_EQ(pixelart::StripBitmap(pictures, true).size(), 54u + count * 16 * 16 * 4) << name;
    }
    std::ifstream icon(std::string(CORVANE_IMAGES_DIR) + "/icon.txt", std::ios::binary);
    EXPECT_FALSE(pixelart::IconFile(pixelart::ParsePictures(icon, "icon.txt")).empty());
}

}  // namespace
