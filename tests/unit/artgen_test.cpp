#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "ico.h"
#include "pictures.h"
#include "raster.h"

namespace artgen {
namespace {

uint32_t Read32(const std::vector<uint8_t>& bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

struct PixelCase {
    int x, y;
    Rgba colour;
    uint8_t bgra[4];
};

// Every pixel differs, one is fully transparent, and out-of-range channels
// and half alpha check clamping and rounding.
const PixelCase kPixels[] = {
    {0, 0, {1.0f, 0.0f, 0.0f, 1.0f}, {0x00, 0x00, 0xFF, 0xFF}},
    {1, 0, {0.0f, 1.0f, 0.0f, 0.5f}, {0x00, 0xFF, 0x00, 0x80}},
    {2, 0, {0.2f, 0.4f, 0.6f, 0.0f}, {0x00, 0x00, 0x00, 0x00}},
    {0, 1, {0.0f, 0.0f, 1.0f, 1.0f}, {0xFF, 0x00, 0x00, 0xFF}},
    {1, 1, {1.5f, -0.5f, 0.25f, 1.0f}, {0x40, 0x00, 0xFF, 0xFF}},
    {2, 1, {1.0f, 1.0f, 1.0f, 0.2f}, {0xFF, 0xFF, 0xFF, 0x33}},
};

TEST(EncodeIco, WritesHeaderPixelsBottomUpAndMask) {
    Image image(3, 2);
    for (const PixelCase& p : kPixels) image.At(p.x, p.y) = p.colour;

    std::vector<uint8_t> expected = {
        0, 0, 1, 0, 1, 0,                             // icon directory
        3, 2, 0, 0, 1, 0, 32, 0, 72, 0, 0, 0, 22, 0, 0, 0,  // entry: 40 + 24 + 8 bytes at 22
        40, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0, 1, 0, 32, 0,   // size, width, 2 x height, planes, bits
        0, 0, 0, 0, 24, 0, 0, 0,                      // BI_RGB, colour bytes
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    };
    for (int y = 1; y >= 0; --y)
        for (const PixelCase& p : kPixels)
            if (p.y == y) expected.insert(expected.end(), std::begin(p.bgra), std::end(p.bgra));
    // Mask rows are bottom-up and padded to 4 bytes; only (2, 0) is transparent.
    const uint8_t mask[] = {0x00, 0, 0, 0, 0x20, 0, 0, 0};
    expected.insert(expected.end(), std::begin(mask), std::end(mask));

    EXPECT_EQ(EncodeIco(image), expected);
}

TEST(EncodeIco, SizesFieldsAndPadsMaskRows) {
    struct Case {
        int width, height;
        size_t fileBytes;
        uint8_t sizeByte;
    };
    const Case cases[] = {
        {1, 1, 22 + 40 + 4 + 4, 1},
        {33, 2, 22 + 40 + 33 * 2 * 4 + 8 * 2, 33},
        {128, 128, 22 + 40 + 128 * 128 * 4 + 16 * 128, 128},
        {256, 256, 22 + 40 + 256 * 256 * 4 + 32 * 256, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        const std::vector<uint8_t> bytes = EncodeIco(Image(c.width, c.height));
        ASSERT_EQ(bytes.size(), c.fileBytes);
        EXPECT_EQ(bytes[6], c.sizeByte);
        EXPECT_EQ(Read32(bytes, 14), c.fileBytes - 22);
        EXPECT_EQ(Read32(bytes, 22 + 8), static_cast<uint32_t>(2 * c.height));
        // A blank image is all transparent: one mask bit per pixel, none in the padding.
        int maskBits = 0;
        for (size_t i = 62 + static_cast<size_t>(c.width * c.height * 4); i < bytes.size(); ++i)
            maskBits += std::popcount(bytes[i]);
        EXPECT_EQ(maskBits, c.width * c.height);
    }
    EXPECT_THROW(EncodeIco(Image(257, 1)), std::invalid_argument);
}

TEST(WriteBytes, WritesFileAndReportsUnwritablePath) {
    const std::string path = ::testing::TempDir() + "artgen_test.ico";
    const std::vector<uint8_t> bytes = {0, 1, 2, 0xFE, 0xFF};
    WriteBytes(path, bytes);
    std::ifstream file(path, std::ios::binary);
    EXPECT_EQ(std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {}), bytes);

    // A path below a plain file cannot be created, even by root.
    EXPECT_THROW(WriteBytes(path + "/child.ico", bytes), std::runtime_error);
}

bool Greenish(Rgba c) { return c.g > c.r + 0.15f && c.g > c.b + 0.15f; }
bool Reddish(Rgba c) { return c.r > c.g + 0.3f && c.r > c.b + 0.3f; }
bool Greyish(Rgba c) { return std::abs(c.r - c.g) < 0.02f && std::abs(c.g - c.b) < 0.02f; }
bool Manila(Rgba c) { return c.r > 0.7f && c.g > 0.45f && c.r > c.b + 0.3f; }

struct PictureCase {
    const char* name;
    Image (*draw)();
    int size;
    bool (*hasTheirColour)(Rgba);
    double minColourShare;  // of the mostly opaque pixels
};

const PictureCase kPictures[] = {
    {"apply", DrawApplyGlyph, 16, Greenish, 0.95},
    {"cancel", DrawCancelGlyph, 16, Reddish, 0.6},
    {"clear", DrawClearGlyph, 16, Greyish, 1.0},
    {"app", DrawAppIcon, 128, Manila, 0.6},
};

TEST(Pictures, HaveTheirSizeSoftEdgesAndClearCorners) {
    for (const PictureCase& c : kPictures) {
        SCOPED_TRACE(c.name);
        const Image image = c.draw();
        ASSERT_EQ(image.width, c.size);
        ASSERT_EQ(image.height, c.size);

        int opaque = 0, partial = 0;
        for (const Rgba& p : image.pixels) {
            opaque += p.a > 0.99f;
            partial += p.a > 0.05f && p.a < 0.95f;
        }
        EXPECT_GT(opaque, c.size * c.size / 10) << "the picture is nearly empty";
        EXPECT_GT(partial, c.size) << "edges are not anti-aliased";

        const int last = c.size - 1;
        for (const auto& [x, y] : {std::pair{0, 0}, {last, 0}, {0, last}, {last, last}})
            EXPECT_EQ(image.At(x, y).a, 0.0f) << "corner " << x << "," << y;
    }
}

TEST(Pictures, AreMostlyTheirColour) {
    for (const PictureCase& c : kPictures) {
        SCOPED_TRACE(c.name);
        const Image image = c.draw();
        int solid = 0, matching = 0;
        for (const Rgba& p : image.pixels) {
            if (p.a < 0.5f) continue;
            ++solid;
            matching += c.hasTheirColour(p);
        }
        ASSERT_GT(solid, 0);
        EXPECT_GE(static_cast<double>(matching) / solid, c.minColourShare);
    }
}

}  // namespace
}  // namespace artgen
