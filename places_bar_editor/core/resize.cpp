#include "resize.h"

#include <algorithm>
#include <cstddef>

namespace lumbrake {

namespace {

struct Share {
    int from;
    std::uint64_t weight;
};

// Along one side: for each new pixel, the old ones it covers and how much of
// each, measured in units of which an old pixel is `newSize` long and a new
// one `oldSize`, so that every length is whole.
std::vector<std::vector<Share>> SharesAlong(int oldSize, int newSize) {
    std::vector<std::vector<Share>> shares(static_cast<std::size_t>(newSize));
    for (int i = 0; i < newSize; ++i) {
        const long long begin = static_cast<long long>(i) * oldSize, end = begin + oldSize;
        for (long long old = begin / newSize; old * newSize < end; ++old) {
            const long long covered = std::min(end, (old + 1) * newSize) - std::max(begin, old * newSize);
            if (covered > 0) shares[static_cast<std::size_t>(i)].push_back({static_cast<int>(old), static_cast<std::uint64_t>(covered)});
        }
    }
    return shares;
}

}  // namespace

GifImage Resized(const GifImage& picture, int width, int height) {
    if (width <= 0 || height <= 0 || picture.width <= 0 || picture.height <= 0) return {};
    GifImage resized{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height))};
    const auto columns = SharesAlong(picture.width, width), rows = SharesAlong(picture.height, height);
    // Each new pixel's weights add up to the old picture's width times its height.
    const std::uint64_t whole = static_cast<std::uint64_t>(picture.width) * static_cast<std::uint64_t>(picture.height);
    std::uint32_t* out = resized.pixels.data();
    for (const auto& row : rows)
        for (const auto& column : columns) {
            std::uint64_t red = 0, green = 0, blue = 0;
            for (const Share& y : row)
                for (const Share& x : column) {
                    const std::uint32_t pixel = picture.pixels[static_cast<std::size_t>(y.from) * static_cast<std::size_t>(picture.width) + static_cast<std::size_t>(x.from)];
                    const std::uint64_t weight = y.weight * x.weight;
                    red += weight * (pixel >> 16 & 0xFF), green += weight * (pixel >> 8 & 0xFF), blue += weight * (pixel & 0xFF);
                }
            auto mean = [whole](std::uint64_t sum) { return static_cast<std::uint32_t>((sum + whole / 2) / whole); };
            *out++ = mean(red) << 16 | mean(green) << 8 | mean(blue);
        }
    return resized;
}

}  // namespace lumbrake
