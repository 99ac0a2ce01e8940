// The banner's decoder, on small pictures whose every pixel is known and on
// the banner itself; and its scaling to the box.
#include "gif.h"
#include "resize.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace lumbrake {
namespace {

std::vector<std::uint8_t> FromHex(const std::string& hex) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) bytes.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

// A 10 x 10 picture in four colours, LZW-compressed with a growing code table.
const std::string kSample =
    "474946383961" "0a000a00910000" "ffffffff00000000ff000000" "21f90400000000" "00"
    "2c000000000a000a0000" "02168c2d99872a1cdc33a00275ec95faa8de608c04914c0100" "3b";
// The same picture stored interlaced.
const std::string kInterlaced =
    "474946383961" "0a000a00f10000" "ffffffff00000000ff000000" "21f90400000000" "00"
    "2c000000000a000a0040" "02148c2da97b1d0081726b45e04e3db78aab31cdd61400" "3b";
const char* kRows[] = {"1111122222", "1111122222", "1111122222", "1110000222", "1110000222",
                       "2220000111", "2220000111", "2222211111", "2222211111", "2222211111"};
constexpr std::uint32_t kColours[] = {0xFFFFFF, 0xFF0000, 0x0000FF};

void ExpectSample(const std::optional<GifImage>& image) {
    ASSERT_TRUE(image.has_value());
    ASSERT_EQ(image->width, 10);
    ASSERT_EQ(image->height, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(image->pixels[static_cast<std::size_t>(y * 10 + x)], kColours[kRows[y][x] - '0']) << x << "," << y;
}

TEST(DecodeGif, CompressedPicture_EveryPixelInItsColour) { ExpectSample(DecodeGif(FromHex(kSample))); }

TEST(DecodeGif, InterlacedPicture_RowsInTheirPlaces) { ExpectSample(DecodeGif(FromHex(kInterlaced))); }

TEST(DecodeGif, NotAGifOrCutShort_GivesNothing) {
    const std::vector<std::uint8_t> sample = FromHex(kSample);
    EXPECT_FALSE(DecodeGif({}).has_value());
    EXPECT_FALSE(DecodeGif(FromHex("89504e470d0a1a0a0000")).has_value());
    for (std::size_t cut : {6u, 13u, 30u, 40u, 50u})
        EXPECT_FALSE(DecodeGif(std::span(sample.data(), cut)).has_value()) << cut;
}

TEST(DecodeGif, TheBanner_IsAGif87aOf210By46Pixels) {
    std::ifstream file(LUMBRAKE_BANNER, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), "GIF87a");
    const auto banner = DecodeGif(bytes);
    ASSERT_TRUE(banner.has_value());
    EXPECT_EQ(banner->width, 210);
    EXPECT_EQ(banner->height, 46);
}

TEST(Resized, SameSizeKeepsEveryPixel_SmallerAveragesWhatEachCovers_LargerBlendsWhereItStraddles) {
    const GifImage square{2, 2, {0x000000, 0x0000FF, 0xFF0000, 0xFFFFFF}};
    EXPECT_EQ(Resized(square, 2, 2).pixels, square.pixels);
    EXPECT_EQ(Resized(square, 1, 1).pixels, std::vector<std::uint32_t>{0x804080});
    const GifImage pair{2, 1, {0x000000, 0xFFFFFF}};
    EXPECT_EQ(Resized(pair, 3, 1).pixels, (std::vector<std::uint32_t>{0x000000, 0x808080, 0xFFFFFF}));
    EXPECT_TRUE(Resized(square, 0, 5).pixels.empty());
}

}  // namespace
}  // namespace lumbrake
