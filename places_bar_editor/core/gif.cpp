#include "gif.h"

#include <array>

namespace lumbrake {

namespace {

constexpr int kMaxSide = 4096;  // far beyond any banner; keeps a bad header from asking for gigabytes
constexpr int kMaxCodes = 4096;

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
    bool Has(std::size_t count) const { return m_bytes.size() - m_pos >= count; }
    std::uint8_t Byte() { return Has(1) ? m_bytes[m_pos++] : (m_failed = true, 0); }
    int Word() {
        const int low = Byte();
        return low | (Byte() << 8);
    }
    std::span<const std::uint8_t> Take(std::size_t count) {
        if (!Has(count)) {
            m_failed = true;
            m_pos = m_bytes.size();
            return {};
        }
        auto part = m_bytes.subspan(m_pos, count);
        m_pos += count;
        return part;
    }
    bool Failed() const { return m_failed; }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_pos = 0;
    bool m_failed = false;
};

using Palette = std::vector<std::uint32_t>;

Palette ReadPalette(Reader& reader, int packed) {
    Palette palette(std::size_t{1} << ((packed & 7) + 1));
    for (auto& colour : palette) {
        const std::uint32_t r = reader.Byte(), g = reader.Byte(), b = reader.Byte();
        colour = r << 16 | g << 8 | b;
    }
    return palette;
}

// The data sub-blocks of an image, joined.
std::vector<std::uint8_t> ReadSubBlocks(Reader& reader) {
    std::vector<std::uint8_t> data;
    while (std::uint8_t size = reader.Byte()) {
        auto block = reader.Take(size);
        data.insert(data.end(), block.begin(), block.end());
    }
    return data;
}

// LZW with variable code sizes, codes packed from the lowest bit up.
bool DecodeLzw(const std::vector<std::uint8_t>& data, int minCodeSize, std::vector<std::uint8_t>& indices) {
    if (minCodeSize < 2 || minCodeSize > 8) return false;
    const int clear = 1 << minCodeSize;
    const int end = clear + 1;
    std::array<std::uint16_t, kMaxCodes> prefix{};
    std::array<std::uint8_t, kMaxCodes> suffix{};
    std::array<std::uint8_t, kMaxCodes + 1> stack{};
    for (int code = 0; code < clear; ++code) suffix[static_cast<std::size_t>(code)] = static_cast<std::uint8_t>(code);

    int codeSize = minCodeSize + 1;
    int next = clear + 2;
    int previous = -1;
    std::uint8_t first = 0;
    std::uint32_t bits = 0;
    int bitCount = 0;
    std::size_t pos = 0;
    std::size_t written = 0;

    while (written < indices.size()) {
        while (bitCount < codeSize) {
            if (pos == data.size()) return written == indices.size();
            bits |= static_cast<std::uint32_t>(data[pos++]) << bitCount;
            bitCount += 8;
        }
        int code = static_cast<int>(bits & ((1u << codeSize) - 1));
        bits >>= codeSize;
        bitCount -= codeSize;

        if (code == clear) {
            codeSize = minCodeSize + 1;
            next = clear + 2;
            previous = -1;
            continue;
        }
        if (code == end) break;
        if (previous < 0) {
            if (code > clear) return false;
            indices[written++] = static_cast<std::uint8_t>(code);
            previous = code;
            first = static_cast<std::uint8_t>(code);
            continue;
        }
        const int incoming = code;
        std::size_t depth = 0;
        if (code > next) return false;
        if (code == next) {
            if (next >= kMaxCodes) return false;
            stack[depth++] = first;
            code = previous;
        }
        while (code >= clear) {
            stack[depth++] = suffix[static_cast<std::size_t>(code)];
            code = prefix[static_cast<std::size_t>(code)];
        }
        first = static_cast<std::uint8_t>(code);
        stack[depth++] = first;
        while (depth > 0 && written < indices.size()) indices[written++] = stack[--depth];

        if (next < kMaxCodes) {
            prefix[static_cast<std::size_t>(next)] = static_cast<std::uint16_t>(previous);
            suffix[static_cast<std::size_t>(next)] = first;
            ++next;
            if (next == (1 << codeSize) && codeSize < 12) ++codeSize;
        }
        previous = incoming;
    }
    return written == indices.size();
}

// The image rows in the order an interlaced image stores them.
std::vector<int> RowOrder(int height, bool interlaced) {
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(height));
    if (!interlaced) {
        for (int y = 0; y < height; ++y) rows.push_back(y);
        return rows;
    }
    constexpr int kStart[] = {0, 4, 2, 1};
    constexpr int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = kStart[pass]; y < height; y += kStep[pass]) rows.push_back(y);
    return rows;
}

}  // namespace

std::optional<GifImage> DecodeGif(std::span<const std::uint8_t> bytes) {
    Reader reader(bytes);
    const auto signature = reader.Take(6);
    if (signature.size() != 6 || signature[0] != 'G' || signature[1] != 'I' || signature[2] != 'F' || signature[3] != '8' ||
        (signature[4] != '7' && signature[4] != '9') || signature[5] != 'a')
        return std::nullopt;

    GifImage image;
    image.width = reader.Word();
    image.height = reader.Word();
    const int screenFlags = reader.Byte();
    const int background = reader.Byte();
    reader.Byte();  // aspect ratio
    if (reader.Failed() || image.width <= 0 || image.height <= 0 || image.width > kMaxSide || image.height > kMaxSide)
        return std::nullopt;
    Palette global;
    if (screenFlags & 0x80) global = ReadPalette(reader, screenFlags);
    const std::uint32_t fill = static_cast<std::size_t>(background) < global.size() ? global[static_cast<std::size_t>(background)] : 0;
    image.pixels.assign(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height), fill);

    while (!reader.Failed()) {
        const std::uint8_t introducer = reader.Byte();
        if (introducer == 0x21) {  // an extension: its label, then sub-blocks
            reader.Byte();
            ReadSubBlocks(reader);
            continue;
        }
        if (introducer != 0x2C) return std::nullopt;  // the trailer before any image, or garbage

        const int left = reader.Word(), top = reader.Word(), width = reader.Word(), height = reader.Word();
        const int imageFlags = reader.Byte();
        Palette local;
        if (imageFlags & 0x80) local = ReadPalette(reader, imageFlags);
        const Palette& palette = local.empty() ? global : local;
        const int minCodeSize = reader.Byte();
        const std::vector<std::uint8_t> data = ReadSubBlocks(reader);
        if (reader.Failed() || palette.empty() || width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
            return std::nullopt;

        std::vector<std::uint8_t> indices(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        if (!DecodeLzw(data, minCodeSize, indices)) return std::nullopt;

        const std::vector<int> rows = RowOrder(height, (imageFlags & 0x40) != 0);
        std::size_t source = 0;
        for (int row : rows) {
            const int y = top + row;
            for (int column = 0; column < width; ++column, ++source) {
                const int x = left + column;
                const std::uint8_t index = indices[source];
                if (x >= image.width || y >= image.height || index >= palette.size()) continue;
                image.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) + static_cast<std::size_t>(x)] =
                    palette[index];
            }
        }
        return image;
    }
    return std::nullopt;
}

}  // namespace lumbrake
