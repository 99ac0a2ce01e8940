// Reads the generated files back the way a loader would, independently of the
// writers, and checks they hold exactly the drawings in the layout the
// resource scripts rely on.
#include "picgen.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstddef>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using picgen::Canvas;
using picgen::IconImage;
using picgen::Rgb;

unsigned le16(const Bytes& b, std::size_t at) {
    return b.at(at) | b.at(at + 1) << 8;
}

std::uint32_t le32(const Bytes& b, std::size_t at) {
    return le16(b, at) | static_cast<std::uint32_t>(le16(b, at + 2)) << 16;
}

const Bytes& renderedFile(const std::string& path) {
    static const auto files = [] {
        std::map<std::string, Bytes> byPath;
        for (auto& file : picgen::renderAll()) byPath[file.path] = file.bytes;
        return byPath;
    }();
    return files.at(path);
}

struct IcoEntry {
    int width, height, colourCount, planes, bitCount;
    std::size_t size, offset;
};

std::vector<IcoEntry> icoEntries(const Bytes& ico) {
    EXPECT_EQ(le16(ico, 0), 0u);
    EXPECT_EQ(le16(ico, 2), 1u);
    std::vector<IcoEntry> entries;
    for (unsigned i = 0; i < le16(ico, 4); ++i) {
        std::size_t at = 6 + 16 * i;
        entries.push_back({ico.at(at), ico.at(at + 1), ico.at(at + 2), static_cast<int>(le16(ico, at + 4)),
                           static_cast<int>(le16(ico, at + 6)), le32(ico, at + 8), le32(ico, at + 12)});
    }
    return entries;
}

std::size_t rowBytes(int bits) {
    return static_cast<std::size_t>((bits + 31) / 32 * 4);
}

// Decodes one image resource: XOR colours through the palette, AND bit 1 = transparent.
Canvas decodeIconImage(const Bytes& ico, const IcoEntry& e) {
    const std::size_t h = e.offset;
    EXPECT_EQ(le32(ico, h), 40u);
    EXPECT_EQ(static_cast<int>(le32(ico, h + 4)), e.width);
    EXPECT_EQ(static_cast<int>(le32(ico, h + 8)), 2 * e.height);
    EXPECT_EQ(le16(ico, h + 14), static_cast<unsigned>(e.bitCount));
    EXPECT_EQ(le32(ico, h + 16), 0u);

    const std::size_t paletteSize = e.bitCount == 24 ? 0 : std::size_t{1} << e.bitCount;
    const std::size_t xorAt = h + 40 + 4 * paletteSize;
    const std::size_t andAt = xorAt + rowBytes(e.width * e.bitCount) * static_cast<std::size_t>(e.height);
    EXPECT_EQ(andAt + rowBytes(e.width) * static_cast<std::size_t>(e.height), e.offset + e.size);

    Canvas out(e.width, e.height);
    for (int y = 0; y < e.height; ++y) {
        const std::size_t stored = static_cast<std::size_t>(e.height - 1 - y);  // bottom-up
        for (int x = 0; x < e.width; ++x) {
            const auto ux = static_cast<std::size_t>(x);
            const std::size_t xorRow = xorAt + stored * rowBytes(e.width * e.bitCount);
            Rgb c;
            if (e.bitCount == 24) {
                c = {ico.at(xorRow + 3 * ux + 2), ico.at(xorRow + 3 * ux + 1), ico.at(xorRow + 3 * ux)};
            } else {
                std::size_t index = e.bitCount == 8 ? ico.at(xorRow + ux) : (ico.at(xorRow + ux / 2) >> (ux % 2 ? 0 : 4)) & 0xF;
                std::size_t quad = h + 40 + 4 * index;
                c = {ico.at(quad + 2), ico.at(quad + 1), ico.at(quad)};
            }
            bool transparent = ico.at(andAt + stored * rowBytes(e.width) + ux / 8) & (0x80 >> (ux % 8));
            if (transparent) {
                EXPECT_EQ(c, Rgb{}) << "a transparent pixel must not alter the screen, at " << x << "," << y;
            } else {
                out.set(x, y, c);
            }
        }
    }
    return out;
}

struct Expected {
    int size, bitCount;
};

void expectIcon(const std::string& path, const std::vector<IconImage>& drawn, const std::vector<Expected>& layout) {
    SCOPED_TRACE(path);
    const Bytes& ico = renderedFile(path);
    const auto entries = icoEntries(ico);
    ASSERT_EQ(entries.size(), layout.size());
    ASSERT_EQ(drawn.size(), layout.size());
    std::size_t next = 6 + 16 * entries.size();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE("image " + std::to_string(i));
        const IcoEntry& e = entries[i];
        EXPECT_EQ(e.width, layout[i].size);
        EXPECT_EQ(e.height, layout[i].size);
        EXPECT_EQ(e.bitCount, layout[i].bitCount);
        EXPECT_EQ(e.colourCount, layout[i].bitCount == 4 ? 16 : 0);
        EXPECT_EQ(e.planes, 1);
        EXPECT_EQ(e.offset, next) << "images are stored back to back";
        next = e.offset + e.size;
        EXPECT_EQ(decodeIconImage(ico, e), drawn[i].art);
    }
    EXPECT_EQ(next, ico.size());
}

TEST(Icons, HoldTheirImagesInTheOrderTheResourcesExpectAndDecodeToTheDrawings) {
    expectIcon("places_bar_editor/res/lumbrake.ico", picgen::lumbrakeIcon(), {{16, 24}, {32, 4}});
    // The 96-DPI image first, then those of 125%, 150%, 175% and 200%.
    expectIcon("places_bar_editor/res/apply.ico", picgen::applyIcon(), {{32, 8}, {40, 8}, {48, 8}, {56, 8}, {64, 8}});
    expectIcon("places_bar_editor/res/cancel.ico", picgen::cancelIcon(), {{32, 8}, {40, 8}, {48, 8}, {56, 8}, {64, 8}});
    expectIcon("places_bar_editor/res/browse.ico", picgen::browseIcon(), {{16, 24}, {20, 24}, {24, 24}, {28, 24}, {32, 24}});
    expectIcon("program_folder_setter/res/tarnvale.ico", picgen::tarnvaleIcon(),
               {{16, 4}, {16, 8}, {32, 4}, {32, 8}});
}

TEST(Icons, MarksAndBrowsePictureAreCutOutByTheirMasks_AtEverySize) {
    for (const auto& icon : {picgen::applyIcon(), picgen::cancelIcon(), picgen::browseIcon()})
        for (const IconImage& image : icon) {
            const Canvas& art = image.art;
            EXPECT_FALSE(art.at(0, art.height() - 1)) << "corner shows the background";
            EXPECT_TRUE(art.at(art.width() / 2, art.height() / 2)) << "the subject itself is opaque";
        }
}

// The 96-DPI images are the ones the window has always shown, byte for byte.
TEST(Icons, The96DpiImagesAreAsTheyWere) {
    for (const auto& [name, pinned] : {std::pair{"apply", 0x306562C80813CC6Bu}, {"cancel", 0xC8C09B5DAA95D32Au}, {"browse", 0xE47437C7855455A7u}}) {
        const Bytes& ico = renderedFile("places_bar_editor/res/" + std::string(name) + ".ico");
        std::uint64_t hash = 0xCBF29CE484222325u;  // FNV-1a of the first image's bytes
        for (std::size_t i = icoEntries(ico)[0].offset, end = i + icoEntries(ico)[0].size; i < end; ++i) hash = (hash ^ ico[i]) * 0x100000001B3u;
        EXPECT_EQ(hash, pinned) << name;
    }
}

TEST(Icons, SixteenColourImagesRejectColoursOutsideTheStandardPalette) {
    Canvas art(16, 16);
    art.set(3, 3, {0x12, 0x34, 0x56});
    EXPECT_THROW(picgen::encodeIco({{art, 4}}), std::logic_error);
}

// ---------------------------------------------------------------- GIF

struct Gif {
    int width = 0, height = 0;
    std::vector<Rgb> colourTable;
    std::vector<std::uint8_t> indices;
};

// The textbook decoder: widen after the table reaches the current code space.
std::vector<std::uint8_t> lzwDecode(const Bytes& data, int minCodeSize) {
    const unsigned clear = 1u << minCodeSize, end = clear + 1;
    std::vector<std::vector<std::uint8_t>> table;
    int width = 0;
    auto reset = [&] {
        table.assign(end + 1, {});
        for (unsigned i = 0; i < clear; ++i) table[i] = {static_cast<std::uint8_t>(i)};
        width = minCodeSize + 1;
    };
    reset();
    std::size_t bit = 0;
    auto read = [&] {
        unsigned code = 0;
        for (int i = 0; i < width; ++i, ++bit) {
            if (bit / 8 >= data.size()) throw std::runtime_error("stream ends without an end code");
            code |= ((data[bit / 8] >> (bit % 8)) & 1u) << i;
        }
        return code;
    };
    std::vector<std::uint8_t> out;
    std::optional<unsigned> previous;
    for (;;) {
        unsigned code = read();
        if (code == clear) {
            reset();
            previous.reset();
            continue;
        }
        if (code == end) break;
        std::vector<std::uint8_t> entry;
        if (code < table.size() && code != clear && code != end) entry = table[code];
        else if (code == table.size() && previous) entry = table[*previous], entry.push_back(table[*previous][0]);
        else throw std::runtime_error("code " + std::to_string(code) + " is not in the table");
        out.insert(out.end(), entry.begin(), entry.end());
        if (previous && table.size() < 4096) {
            auto added = table[*previous];
            added.push_back(entry[0]);
            table.push_back(added);
        }
        if (table.size() == (1u << width) && width < 12) ++width;
        previous = code;
    }
    if ((bit + 7) / 8 != data.size()) throw std::runtime_error("data follows the end code");
    return out;
}

Gif readGif87a(const Bytes& gif) {
    EXPECT_EQ(std::string(gif.begin(), gif.begin() + 6), "GIF87a");
    Gif g;
    g.width = static_cast<int>(le16(gif, 6));
    g.height = static_cast<int>(le16(gif, 8));
    const unsigned packed = gif.at(10);
    EXPECT_TRUE(packed & 0x80) << "global colour table present";
    const std::size_t tableSize = std::size_t{2} << (packed & 7);
    for (std::size_t i = 0; i < tableSize; ++i)
        g.colourTable.push_back({gif.at(13 + 3 * i), gif.at(14 + 3 * i), gif.at(15 + 3 * i)});

    std::size_t at = 13 + 3 * tableSize;
    EXPECT_EQ(gif.at(at), 0x2C) << "the image follows the colour table directly, no extensions";
    EXPECT_EQ(le16(gif, at + 1), 0u);
    EXPECT_EQ(le16(gif, at + 3), 0u);
    EXPECT_EQ(static_cast<int>(le16(gif, at + 5)), g.width);
    EXPECT_EQ(static_cast<int>(le16(gif, at + 7)), g.height);
    EXPECT_EQ(gif.at(at + 9) & 0x80, 0) << "no local colour table";
    EXPECT_EQ(gif.at(at + 9) & 0x40, 0) << "not interlaced";
    const int minCodeSize = gif.at(at + 10);
    EXPECT_EQ(minCodeSize, 8);

    Bytes data;
    for (at += 11; gif.at(at) != 0; at += 1 + gif.at(at))
        data.insert(data.end(), gif.begin() + static_cast<std::ptrdiff_t>(at + 1),
                    gif.begin() + static_cast<std::ptrdiff_t>(at + 1 + gif.at(at)));
    EXPECT_EQ(gif.at(at + 1), 0x3B) << "trailer right after the image";
    EXPECT_EQ(at + 2, gif.size());
    g.indices = lzwDecode(data, minCodeSize);
    return g;
}

void expectGifShows(const Bytes& gif, const Canvas& picture) {
    const Gif g = readGif87a(gif);
    ASSERT_EQ(g.width, picture.width());
    ASSERT_EQ(g.height, picture.height());
    ASSERT_EQ(g.indices.size(), static_cast<std::size_t>(g.width * g.height));
    int wrong = 0;
    for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x)
            wrong += g.colourTable.at(g.indices[static_cast<std::size_t>(y * g.width + x)]) != picture.at(x, y);
    EXPECT_EQ(wrong, 0);
}

TEST(Banner, IsAPlain256ColourGif87aOf210By46ThatDecodesToTheDrawing_AsDoesTheOneFor192Dpi) {
    const Bytes& gif = renderedFile("places_bar_editor/res/banner.gif");
    EXPECT_EQ(readGif87a(gif).colourTable.size(), 256u);
    expectGifShows(gif, picgen::lumbrakeBanner(1));
    expectGifShows(renderedFile("places_bar_editor/res/banner-200.gif"), picgen::lumbrakeBanner(2));
}

TEST(GifWriter, SurvivesTableResetsLongRunsAndTinyPictures) {
    // 256 colours in a scrambled order fill the 4096-entry table many times over.
    Canvas noise(97, 83);
    std::uint32_t state = 12345;
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x) {
            state = state * 1103515245u + 12345u;
            auto v = static_cast<std::uint8_t>(state >> 16);
            noise.set(x, y, {v, static_cast<std::uint8_t>(v ^ 0x5A), 7});
        }
    expectGifShows(picgen::encodeGif87a(noise), noise);

    Canvas flat(300, 200);  // one colour: each code is the one just being defined
    for (int y = 0; y < flat.height(); ++y)
        for (int x = 0; x < flat.width(); ++x) flat.set(x, y, {1, 2, 3});
    expectGifShows(picgen::encodeGif87a(flat), flat);

    for (int size : {1, 2, 3}) {
        Canvas tiny(size, 1);
        for (int x = 0; x < size; ++x) tiny.set(x, 0, {static_cast<std::uint8_t>(x), 0, 0});
        expectGifShows(picgen::encodeGif87a(tiny), tiny);
    }
}

TEST(GifWriter, RefusesTransparencyAndMoreThan256Colours) {
    Canvas holey(4, 4);
    EXPECT_THROW(picgen::encodeGif87a(holey), std::logic_error);
    Canvas colourful(300, 1);
    for (int x = 0; x < 300; ++x) colourful.set(x, 0, {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(x >> 8), 0});
    EXPECT_THROW(picgen::encodeGif87a(colourful), std::logic_error);
}

}  // namespace
