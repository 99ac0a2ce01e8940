#pragma once
// A GIF decoder just large enough for the banner: the first image of a GIF87a
// or GIF89a file, interlaced or not, laid on its logical screen.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace lumbrake {

struct GifImage {
    int width = 0;
    int height = 0;
    // Rows from the top, one 0x00RRGGBB word per pixel: the layout of a
    // 32-bit top-down DIB.
    std::vector<std::uint32_t> pixels;
};

// Nothing for data that is not a GIF or is cut short.
[[nodiscard]] std::optional<GifImage> DecodeGif(std::span<const std::uint8_t> bytes);

}  // namespace lumbrake
