#include "picgen.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <map>
#include <stdexcept>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace picgen {

// ---------------------------------------------------------------- canvas

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width * height)) {}

void Canvas::set(int x, int y, Rgb c) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[static_cast<std::size_t>(y * width_ + x)] = c;
}

std::optional<Rgb> Canvas::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return std::nullopt;
    return pixels_[static_cast<std::size_t>(y * width_ + x)];
}

namespace {

// The entries of windows16() by name, so the 16-colour drawings read as colours.
namespace w16 {
constexpr Rgb black{0x00, 0x00, 0x00}, maroon{0x80, 0x00, 0x00}, green{0x00, 0x80, 0x00},
    olive{0x80, 0x80, 0x00}, navy{0x00, 0x00, 0x80}, purple{0x80, 0x00, 0x80}, teal{0x00, 0x80, 0x80},
    silver{0xC0, 0xC0, 0xC0}, gray{0x80, 0x80, 0x80}, red{0xFF, 0x00, 0x00}, lime{0x00, 0xFF, 0x00},
    yellow{0xFF, 0xFF, 0x00}, blue{0x00, 0x00, 0xFF}, fuchsia{0xFF, 0x00, 0xFF}, aqua{0x00, 0xFF, 0xFF},
    white{0xFF, 0xFF, 0xFF};
}  // namespace w16

}  // namespace

const std::vector<Rgb>& windows16() {
    using namespace w16;
    static const std::vector<Rgb> palette = {black, maroon, green,   olive, navy, purple,  teal, silver,
                                             gray,  red,    lime,    yellow, blue, fuchsia, aqua, white};
    return palette;
}

namespace {

Rgb mix(Rgb a, Rgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    auto channel = [t](std::uint8_t p, std::uint8_t q) {
        return static_cast<std::uint8_t>(std::lround(p + (q - p) * t));
    };
    return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}

// ---------------------------------------------------------------- shapes
//
// A shape answers whether a point lies inside it; it is sampled at pixel
// centres, so rect(0, 0, 2, 2) covers exactly the four pixels (0..1, 0..1).

using Shape = std::function<bool(double, double)>;
using Fill = std::function<Rgb(int, int)>;

Shape rect(double x0, double y0, double x1, double y1) {
    return [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}

Shape polygon(std::vector<std::pair<double, double>> v) {
    return [v = std::move(v)](double x, double y) {
        bool inside = false;
        for (std::size_t i = 0, j = v.size() - 1; i < v.size(); j = i++) {
            auto [xi, yi] = v[i];
            auto [xj, yj] = v[j];
            if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
        }
        return inside;
    };
}

Shape circle(double cx, double cy, double r) {
    return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}

// A stroke of half-width r along a polyline, with round joints.
Shape stroke(std::vector<std::pair<double, double>> points, double r) {
    return [points = std::move(points), r](double x, double y) {
        for (std::size_t i = 0; i + 1 < points.size(); ++i) {
            auto [ax, ay] = points[i];
            auto [bx, by] = points[i + 1];
            double dx = bx - ax, dy = by - ay;
            double t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
            double px = ax + t * dx - x, py = ay + t * dy - y;
            if (px * px + py * py <= r * r) return true;
        }
        return false;
    };
}

Shape unite(Shape a, Shape b) {
    return [=](double x, double y) { return a(x, y) || b(x, y); };
}

Shape subtract(Shape a, Shape b) {
    return [=](double x, double y) { return a(x, y) && !b(x, y); };
}

bool covers(const Shape& s, int x, int y) {
    return s(x + 0.5, y + 0.5);
}

void paint(Canvas& c, const Shape& s, const Fill& fill) {
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            if (covers(s, x, y)) c.set(x, y, fill(x, y));
}

void paint(Canvas& c, const Shape& s, Rgb colour) {
    paint(c, s, [colour](int, int) { return colour; });
}

// Colours the shape's own edge pixels: those with a pixel outside it at most
// `width` steps away along their row or column (a 4-neighbour, for width 1).
void outline(Canvas& c, const Shape& s, Rgb colour, int width = 1) {
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) {
            bool edge = false;
            for (int k = 1; k <= width && !edge; ++k)
                edge = !covers(s, x - k, y) || !covers(s, x + k, y) || !covers(s, x, y - k) || !covers(s, x, y + k);
            if (edge && covers(s, x, y)) c.set(x, y, colour);
        }
}

void line(Canvas& c, int x0, int y0, int x1, int y1, Rgb colour) {
    int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    for (int err = dx + dy;;) {
        c.set(x0, y0, colour);
        if (x0 == x1 && y0 == y1) break;
        int e2 = 2 * err;
        if (e2 >= dy) err += dy, x0 += sx;
        if (e2 <= dx) err += dx, y0 += sy;
    }
}

// A picture designed on a grid of units, drawn `scale` pixels to the unit:
// the larger images of an icon and of the banner, for screens of more dots
// per inch. At scale 1 every call is the plain pixel operation, so that the
// images of 96 dots per inch stay exactly as they were drawn.
class Pen {
public:
    Pen(Canvas& c, double scale) : c_(c), scale_(scale) {}
    double scale() const { return scale_; }
    // An edge one unit wide, in whole pixels.
    int edge() const { return std::max(1, static_cast<int>(std::lround(scale_))); }
    Shape at(const Shape& s) const {
        if (scale_ == 1) return s;
        return [s, k = scale_](double x, double y) { return s(x / k, y / k); };
    }
    void paint(const Shape& s, Rgb colour) const { picgen::paint(c_, at(s), colour); }
    void paint(const Shape& s, const Fill& fill) const { picgen::paint(c_, at(s), fill); }
    void outline(const Shape& s, Rgb colour) const { picgen::outline(c_, at(s), colour, edge()); }
    // From the centre of one unit to the centre of another.
    void line(int x0, int y0, int x1, int y1, Rgb colour) const {
        if (scale_ == 1) return picgen::line(c_, x0, y0, x1, y1, colour);
        paint(stroke({{x0 + 0.5, y0 + 0.5}, {x1 + 0.5, y1 + 0.5}}, 0.5), colour);
    }
    void dot(int x, int y, Rgb colour) const { paint(rect(x, y, x + 1, y + 1), colour); }

private:
    Canvas& c_;
    double scale_;
};

// Hand-placed pixels for the 16x16 images, where every pixel counts:
// each character is looked up in the legend, '.' is transparent.
Canvas pixelArt(std::initializer_list<std::string_view> rows, const std::map<char, Rgb>& legend) {
    Canvas c(static_cast<int>(rows.begin()->size()), static_cast<int>(rows.size()));
    int y = 0;
    for (std::string_view row : rows) {
        if (static_cast<int>(row.size()) != c.width()) throw std::logic_error("pixel art rows differ in length");
        for (int x = 0; x < c.width(); ++x) {
            char key = row[static_cast<std::size_t>(x)];
            if (key == '.') continue;
            auto found = legend.find(key);
            if (found == legend.end()) throw std::logic_error(std::string("no colour for '") + key + "'");
            c.set(x, y, found->second);
        }
        ++y;
    }
    return c;
}

// ---------------------------------------------------------------- bytes

class Bytes {
public:
    void u8(unsigned v) { out_.push_back(static_cast<std::uint8_t>(v)); }
    void u16(unsigned v) { u8(v & 0xFF), u8(v >> 8 & 0xFF); }
    void u32(std::uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); }
    void append(const std::vector<std::uint8_t>& more) { out_.insert(out_.end(), more.begin(), more.end()); }
    std::vector<std::uint8_t> take() { return std::move(out_); }

private:
    std::vector<std::uint8_t> out_;
};

// Colours in first-use order, top row first, so the output never depends on
// anything but the drawing. `first` is given index 0.
std::vector<Rgb> collectPalette(const Canvas& c, Rgb first) {
    std::vector<Rgb> palette{first};
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            if (auto p = c.at(x, y); p && std::find(palette.begin(), palette.end(), *p) == palette.end())
                palette.push_back(*p);
    if (palette.size() > 256) throw std::logic_error("picture uses more than 256 colours");
    return palette;
}

std::size_t indexOf(const std::vector<Rgb>& palette, Rgb c) {
    auto found = std::find(palette.begin(), palette.end(), c);
    if (found == palette.end()) throw std::logic_error("colour missing from the palette");
    return static_cast<std::size_t>(found - palette.begin());
}

std::size_t paddedRow(int bits) {
    return static_cast<std::size_t>((bits + 31) / 32 * 4);
}

// BITMAPINFOHEADER, palette, XOR bitmap and AND mask of one icon image.
std::vector<std::uint8_t> iconResource(const IconImage& image) {
    const Canvas& art = image.art;
    const int w = art.width(), h = art.height(), bits = image.bitCount;
    if (bits != 4 && bits != 8 && bits != 24) throw std::logic_error("icons are 4, 8 or 24 bits deep");

    // Transparent pixels are stored black: the AND mask keeps the screen and
    // XOR with zero leaves it untouched. Index 0 is black in both palettes.
    std::vector<Rgb> palette;
    if (bits == 4) palette = windows16();
    if (bits == 8) palette = collectPalette(art, Rgb{});
    const std::size_t xorRow = paddedRow(w * bits), andRow = paddedRow(w);

    Bytes out;
    out.u32(40);
    out.u32(static_cast<std::uint32_t>(w));
    out.u32(static_cast<std::uint32_t>(2 * h));  // XOR bitmap and mask, one above the other
    out.u16(1);
    out.u16(static_cast<unsigned>(bits));
    out.u32(0);
    out.u32(static_cast<std::uint32_t>((xorRow + andRow) * static_cast<std::size_t>(h)));
    out.u32(0), out.u32(0), out.u32(0), out.u32(0);
    if (bits != 24)
        for (std::size_t i = 0; i < (std::size_t{1} << bits); ++i) {
            Rgb c = i < palette.size() ? palette[i] : Rgb{};
            out.u8(c.b), out.u8(c.g), out.u8(c.r), out.u8(0);
        }

    for (int y = h - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(xorRow);
        for (int x = 0; x < w; ++x) {
            Rgb c = art.at(x, y).value_or(Rgb{});
            auto ux = static_cast<std::size_t>(x);
            if (bits == 24) {
                row[3 * ux] = c.b, row[3 * ux + 1] = c.g, row[3 * ux + 2] = c.r;
            } else if (bits == 8) {
                row[ux] = static_cast<std::uint8_t>(indexOf(palette, c));
            } else {
                row[ux / 2] |= static_cast<std::uint8_t>(indexOf(palette, c) << (ux % 2 ? 0 : 4));
            }
        }
        out.append(row);
    }
    for (int y = h - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(andRow);
        for (int x = 0; x < w; ++x)
            if (!art.at(x, y)) row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        out.append(row);
    }
    return out.take();
}

}  // namespace

std::vector<std::uint8_t> encodeIco(const std::vector<IconImage>& images) {
    std::vector<std::vector<std::uint8_t>> resources;
    for (const IconImage& image : images) resources.push_back(iconResource(image));

    Bytes out;
    out.u16(0), out.u16(1), out.u16(static_cast<unsigned>(images.size()));
    std::size_t offset = 6 + 16 * images.size();
    for (std::size_t i = 0; i < images.size(); ++i) {
        const IconImage& image = images[i];
        out.u8(static_cast<unsigned>(image.art.width()));
        out.u8(static_cast<unsigned>(image.art.height()));
        out.u8(image.bitCount == 4 ? 16 : 0);
        out.u8(0);
        out.u16(1);
        out.u16(static_cast<unsigned>(image.bitCount));
        out.u32(static_cast<std::uint32_t>(resources[i].size()));
        out.u32(static_cast<std::uint32_t>(offset));
        offset += resources[i].size();
    }
    for (const auto& resource : resources) out.append(resource);
    return out.take();
}

namespace {

// Packs codes least significant bit first and cuts them into the
// length-prefixed sub-blocks GIF stores image data in.
class CodeWriter {
public:
    void put(unsigned code, int width) {
        acc_ |= static_cast<std::uint32_t>(code) << bits_;
        bits_ += width;
        while (bits_ >= 8) {
            data_.push_back(static_cast<std::uint8_t>(acc_ & 0xFF));
            acc_ >>= 8, bits_ -= 8;
        }
    }
    std::vector<std::uint8_t> blocks() {
        if (bits_ > 0) data_.push_back(static_cast<std::uint8_t>(acc_ & 0xFF));
        acc_ = 0, bits_ = 0;
        std::vector<std::uint8_t> out;
        for (std::size_t at = 0; at < data_.size(); at += 255) {
            std::size_t n = std::min<std::size_t>(255, data_.size() - at);
            out.push_back(static_cast<std::uint8_t>(n));
            out.insert(out.end(), data_.begin() + static_cast<std::ptrdiff_t>(at),
                       data_.begin() + static_cast<std::ptrdiff_t>(at + n));
        }
        out.push_back(0);
        return out;
    }

private:
    std::vector<std::uint8_t> data_;
    std::uint32_t acc_ = 0;
    int bits_ = 0;
};

std::vector<std::uint8_t> lzw(const std::vector<std::uint8_t>& indices) {
    constexpr unsigned clearCode = 256, endCode = 257, firstFree = 258, maxCodes = 4096;
    CodeWriter out;
    std::unordered_map<unsigned, unsigned> table;  // (prefix code << 8 | next index) -> code
    unsigned next = firstFree;
    int width = 9;
    out.put(clearCode, width);

    unsigned prefix = indices.at(0);
    for (std::size_t i = 1; i < indices.size(); ++i) {
        unsigned key = prefix << 8 | indices[i];
        if (auto found = table.find(key); found != table.end()) {
            prefix = found->second;
            continue;
        }
        out.put(prefix, width);
        table.emplace(key, next++);
        // The decoder learns each entry one code later than we do, so it widens
        // its codes one code later too: hence "greater than", not "equal to".
        if (next > (1u << width) && width < 12) ++width;
        if (next == maxCodes) {
            out.put(clearCode, width);
            table.clear();
            next = firstFree;
            width = 9;
        }
        prefix = indices[i];
    }
    out.put(prefix, width);
    // Reading that last code makes the decoder add one more entry, which may
    // widen the end code.
    if (next == (1u << width) && width < 12) ++width;
    out.put(endCode, width);
    return out.blocks();
}

}  // namespace

std::vector<std::uint8_t> encodeGif87a(const Canvas& picture) {
    std::vector<std::uint8_t> indices;
    const std::vector<Rgb> palette = collectPalette(picture, picture.at(0, 0).value_or(Rgb{}));
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            auto p = picture.at(x, y);
            if (!p) throw std::logic_error("a GIF87a picture cannot be transparent");
            indices.push_back(static_cast<std::uint8_t>(indexOf(palette, *p)));
        }

    Bytes out;
    for (char ch : std::string_view("GIF87a")) out.u8(static_cast<unsigned char>(ch));
    out.u16(static_cast<unsigned>(picture.width()));
    out.u16(static_cast<unsigned>(picture.height()));
    out.u8(0xF7);  // global colour table of 2^(7+1) entries, 8 bits per primary
    out.u8(0);     // background: the corner colour
    out.u8(0);
    for (std::size_t i = 0; i < 256; ++i) {
        Rgb c = i < palette.size() ? palette[i] : Rgb{};
        out.u8(c.r), out.u8(c.g), out.u8(c.b);
    }
    out.u8(0x2C);
    out.u16(0), out.u16(0);
    out.u16(static_cast<unsigned>(picture.width()));
    out.u16(static_cast<unsigned>(picture.height()));
    out.u8(0);  // no local colour table, rows in plain order
    out.u8(8);  // minimum code size
    out.append(lzw(indices));
    out.u8(0x3B);
    return out.take();
}

// ---------------------------------------------------------------- Tarnvale

namespace {

// The colours of the computer-and-box picture, per colour depth.
struct DeskInk {
    Rgb outline, plastic, plasticLight, plasticShade, screenTop, screenBottom, screenGlare, led;
    Rgb boxFront, boxLight, boxSide, boxInside, stripe, flap, disc, discShade, discTint;
};

const DeskInk deskInk16{w16::black,  w16::silver, w16::white,  w16::gray,   w16::blue, w16::blue,
                        w16::aqua,   w16::lime,   w16::red,    w16::red,    w16::maroon, w16::black,
                        w16::yellow, w16::red,    w16::white,  w16::gray,   w16::aqua};
const DeskInk deskInk256{{0x1E, 0x24, 0x38}, {0xDC, 0xD8, 0xCC}, {0xFA, 0xF8, 0xF0}, {0xA6, 0xA0, 0x90},
                         {0x1C, 0x4E, 0xB8}, {0x6C, 0xB4, 0xF4}, {0xC8, 0xE6, 0xFF}, {0x30, 0xD0, 0x40},
                         {0xD8, 0x3A, 0x22}, {0xF2, 0x6A, 0x3C}, {0x98, 0x20, 0x14}, {0x40, 0x18, 0x10},
                         {0xFF, 0xD2, 0x30}, {0xF0, 0x84, 0x50}, {0xF4, 0xF6, 0xFA}, {0xB4, 0xBC, 0xC8},
                         {0xB8, 0xE0, 0xF0}};

Canvas computerWithBox32(const DeskInk& ink) {
    Canvas c(32, 32);
    const bool smooth = ink.screenTop != ink.screenBottom;

    // Monitor on top of a desktop case.
    Shape monitor = rect(1, 1, 22, 18);
    Shape neck = rect(8, 18, 15, 20);
    Shape caseBody = rect(0, 20, 24, 29);
    paint(c, monitor, ink.plastic);
    paint(c, rect(2, 2, 21, 3), ink.plasticLight);
    paint(c, rect(2, 2, 3, 17), ink.plasticLight);
    paint(c, rect(2, 16, 21, 17), ink.plasticShade);
    paint(c, rect(20, 3, 21, 17), ink.plasticShade);
    Shape screen = rect(4, 4, 19, 15);
    paint(c, screen, [&](int, int y) { return mix(ink.screenTop, ink.screenBottom, (y - 5) / 8.0); });
    paint(c, polygon({{6, 14}, {13, 5}, {16, 5}, {9, 14}}), ink.screenGlare);
    if (smooth) paint(c, polygon({{10, 14}, {17, 5}, {18, 5}, {11, 14}}), mix(ink.screenBottom, ink.screenGlare, 0.5));
    outline(c, screen, ink.outline);
    c.set(18, 16, ink.led);
    paint(c, neck, ink.plasticShade);
    paint(c, caseBody, ink.plastic);
    paint(c, rect(1, 21, 23, 22), ink.plasticLight);
    paint(c, rect(1, 27, 23, 28), ink.plasticShade);
    paint(c, rect(12, 23, 21, 26), ink.plasticShade);
    paint(c, rect(13, 24, 20, 25), ink.outline);
    c.set(3, 25, ink.led);
    c.set(5, 25, ink.plasticShade);
    outline(c, unite(unite(monitor, neck), caseBody), ink.outline);

    // An open software box in front of the case's right end, a disc coming out.
    Shape top = polygon({{18, 20}, {21, 17}, {32, 17}, {29, 20}});
    Shape front = rect(18, 20, 29, 32);
    Shape side = polygon({{29, 20}, {32, 17}, {32, 29}, {29, 32}});
    Shape flap = polygon({{18, 20}, {21, 17}, {17, 11}, {13, 14}});
    Shape disc = circle(25, 15, 5.2);
    paint(c, top, ink.boxInside);
    paint(c, disc, [&](int x, int y) {
        double t = ((x - 21) + (18 - y)) / 9.0;
        return smooth ? mix(ink.disc, ink.discTint, t) : ink.disc;
    });
    paint(c, subtract(circle(25, 15, 1.6), circle(25, 15, 0.8)), ink.discShade);
    outline(c, disc, ink.discShade);
    paint(c, front, ink.boxFront);
    paint(c, rect(19, 21, 28, 22), ink.boxLight);
    paint(c, polygon({{18, 28}, {29, 23}, {29, 26}, {18, 31}}), ink.stripe);
    paint(c, side, ink.boxSide);
    paint(c, flap, ink.flap);
    Shape box = unite(unite(front, side), top);
    outline(c, box, ink.outline);
    outline(c, flap, ink.outline);
    outline(c, unite(box, disc), ink.outline);
    line(c, 28, 20, 28, 31, ink.outline);
    return c;
}

Canvas computerWithBox16(const DeskInk& ink) {
    return pixelArt(
        {
            "kkkkkkkkkk......",
            "kwwwwwwwbk......",
            "kwkkkkkkbk......",
            "kwkgssskbk.kkkk.",
            "kwksgsskbkkwwctk",
            "kwkssgskbkkwhhck",
            "kwkkkkkkbkkchhck",
            "kbbbbbblbkktccck",
            "kkkkkkkkkkkkkkkk",
            "...kddk..krrrrRk",
            "kkkkkkkkkyyrrrRk",
            "kwwwwwwwkryyrrRk",
            "kbbkkkbbkrryyrRk",
            "kblbbbbbkrrryyRk",
            "kdddddddkrrrrrRk",
            "kkkkkkkkkkkkkkkk",
        },
        {{'k', ink.outline}, {'w', ink.plasticLight}, {'b', ink.plastic}, {'d', ink.plasticShade},
         {'s', ink.screenBottom}, {'l', ink.led}, {'g', ink.screenGlare},
         {'r', ink.boxFront}, {'R', ink.boxSide}, {'y', ink.stripe}, {'i', ink.boxInside}, {'c', ink.disc}, {'h', ink.discShade}, {'t', ink.discTint}});
}

}  // namespace

std::vector<IconImage> tarnvaleIcon() {
    return {{computerWithBox16(deskInk16), 4},
            {computerWithBox16(deskInk256), 8},
            {computerWithBox32(deskInk16), 4},
            {computerWithBox32(deskInk256), 8}};
}

// ---------------------------------------------------------------- Lumbrake

namespace {

// Pixels of `art` that have a colour are copied onto `target` at (left, top).
void stamp(Canvas& target, const Canvas& art, int left, int top) {
    for (int y = 0; y < art.height(); ++y)
        for (int x = 0; x < art.width(); ++x)
            if (auto p = art.at(x, y)) target.set(left + x, top + y, *p);
}

// The emblem: an open-file dialog whose places bar (the column of buttons on
// the left) is being edited with a pencil. Drawn in the 16 standard colours,
// which also suit the banner. Designed at 32 pixels, drawn `scale` times as large.
Canvas placesDialog(int scale) {
    using namespace w16;
    Canvas c(32 * scale, 32 * scale);
    const Pen pen(c, scale);
    Shape window = rect(0, 1, 32, 30);
    pen.paint(window, silver);
    pen.paint(rect(1, 2, 31, 8), navy);
    pen.paint(rect(1, 2, 31, 3), blue);
    pen.paint(rect(3, 4, 6, 6), yellow);  // the title bar's little icon
    pen.paint(rect(7, 4, 15, 5), white);  // and its caption
    pen.paint(rect(25, 3, 30, 7), red);
    pen.line(26, 4, 28, 6, white);
    pen.line(28, 4, 26, 6, white);
    pen.paint(rect(1, 8, 31, 9), white);
    pen.outline(window, black);

    // The places bar with its buttons: folder, desktop, document, network.
    Shape bar = rect(2, 10, 11, 29);
    pen.paint(bar, gray);
    pen.outline(bar, black);
    pen.paint(rect(3, 11, 10, 15), white);  // the chosen place
    pen.paint(rect(4, 12, 9, 14), yellow);
    pen.paint(rect(4, 12, 6, 13), olive);
    pen.line(4, 14, 8, 14, olive);
    pen.paint(rect(4, 16, 9, 19), teal);
    pen.paint(rect(5, 17, 8, 18), aqua);
    pen.dot(6, 19, silver);
    pen.paint(rect(5, 20, 8, 24), white);
    pen.line(5, 21, 7, 21, gray);
    pen.line(5, 22, 7, 22, gray);
    pen.paint(circle(6.5, 26.5, 1.8), lime);
    pen.paint(rect(6, 25, 7, 28), green);
    pen.paint(rect(5, 26, 8, 27), green);

    // The file list and the file name field with its button.
    Shape list = rect(12, 10, 30, 23);
    pen.paint(list, white);
    pen.outline(list, gray);
    for (int y : {12, 15, 18}) {
        pen.paint(rect(14, y, 17, y + 2), yellow);
        pen.line(14, y + 1, 16, y + 1, olive);
        pen.line(18, y + 1, 25, y + 1, gray);
    }
    Shape field = rect(12, 24, 23, 28);
    pen.paint(field, white);
    pen.outline(field, gray);
    Shape button = rect(24, 24, 30, 28);
    pen.paint(button, silver);
    pen.outline(button, black);
    pen.line(25, 25, 28, 25, white);

    // The pencil, writing on the places bar.
    Shape pencil = stroke({{13.5, 23.5}, {26, 11}}, 2.3);
    Shape tip = polygon({{9.5, 27.5}, {11.7, 20.8}, {16.7, 25.8}});
    pen.paint(pencil, yellow);
    pen.paint(stroke({{13.5, 23.5}, {26, 11}}, 0.8), olive);
    pen.paint(stroke({{23.5, 13.5}, {26, 11}}, 2.3), red);
    pen.paint(tip, silver);
    pen.paint(circle(10.2, 26.8, 1.3), black);
    pen.outline(unite(pencil, tip), black);
    return c;
}

Canvas placesDialog16() {
    return pixelArt(
        {
            "kkkkkkkkkkkkkkkk",
            "kBBBBBBBBBBBBrrk",
            "kbbbbbbbbbbbbrrk",
            "ksssssdwwwwwwwwk",
            "ksyyysdwyygggwwk",
            "ksyyysdwwwwwwwwk",
            "ksssssdwyyggggwk",
            "ksssssdwwwwwwwwk",
            "kstttsdwyygggwwk",
            "kstttsdwwwwwwwwk",
            "ksssssdooooooook",
            "ksssssdooooooook",
            "kspppsdowwwoxxok",
            "kspppsdowwwoxxok",
            "ksssssdooooooook",
            "kkkkkkkkkkkkkkkk",
        },
        {{'k', {0x20, 0x28, 0x3C}}, {'B', {0x3C, 0x82, 0xF0}}, {'b', {0x0A, 0x4C, 0xD8}},
         {'r', {0xE0, 0x4A, 0x30}}, {'s', {0x7C, 0x94, 0xBC}}, {'d', {0x4C, 0x5C, 0x7C}},
         {'w', {0xFF, 0xFF, 0xFF}}, {'y', {0xF8, 0xC8, 0x38}}, {'g', {0xA8, 0xA8, 0xB0}},
         {'t', {0x48, 0xB8, 0xE8}}, {'p', {0xF4, 0xF4, 0xF8}}, {'o', {0xE4, 0xE0, 0xD6}},
         {'x', {0x98, 0xB0, 0xD8}}});
}

// A stroke shape coloured light at the top and dark at the bottom, with a
// lighter rim under its top edge and a dark outline: the glossy look of the
// dialog's button pictures.
// Designed at 32 pixels, drawn at `size`.
Canvas glossyMark(const Shape& design, int size, Rgb light, Rgb dark, Rgb rim) {
    Canvas c(size, size);
    const Pen pen(c, size / 32.0);
    const Shape mark = pen.at(design);
    const int rimWidth = pen.edge();
    // The gradient in the design's units, taken at each pixel's centre.
    pen.paint(design, [&](int, int y) { return mix(light, dark, ((y + 0.5) / pen.scale() - 0.5 - 4) / 24.0); });
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (covers(mark, x, y) && covers(mark, x, y - rimWidth) && !covers(mark, x, y - 2 * rimWidth))
                c.set(x, y, mix(*c.at(x, y), {0xFF, 0xFF, 0xFF}, 0.55));
    pen.outline(design, rim);
    return c;
}

// The sizes of a 32-pixel picture at 120, 144, 168 and 192 dots per inch
// (125% to 200%); half of each for a 16-pixel one.
constexpr int kLargeSizes[] = {40, 48, 56, 64};

// The browse picture again, drawn from shapes on the 16-unit grid of the
// pixels of folderOverWindow16, for its larger sizes.
Canvas folderOverWindow(int size) {
    const Rgb outline{0x30, 0x2C, 0x28}, titleLight{0x5C, 0x9C, 0xF8}, title{0x14, 0x5A, 0xE0}, paper{0xFF, 0xFF, 0xFF},
        text{0xA0, 0xA4, 0xB0}, back{0xD8, 0xA0, 0x20}, front{0xFC, 0xD4, 0x48}, shine{0xFF, 0xF0, 0xA8};
    Canvas c(size, size);
    const Pen pen(c, size / 16.0);
    const Shape window = rect(5, 0, 16, 9);
    pen.paint(window, paper);
    pen.paint(rect(6, 1, 15, 2), title);
    pen.paint(rect(6, 1, 7, 2), titleLight);
    pen.paint(rect(5, 2, 16, 3), outline);
    pen.paint(rect(7, 4, 11, 5), text);
    pen.paint(rect(12, 6, 15, 7), text);
    pen.outline(window, outline);

    const Shape folder = unite(rect(1, 4, 6, 6), rect(0, 5, 12, 15));
    pen.paint(folder, back);
    pen.outline(folder, outline);
    const Shape flap = polygon({{3.5, 8}, {16, 8}, {12.5, 15}, {0, 15}});
    pen.paint(flap, front);
    pen.paint(subtract(rect(0, 8, 16, 10), subtract(rect(0, 0, 16, 16), flap)), shine);
    pen.outline(flap, outline);
    return c;
}

Canvas folderOverWindow16() {
    return pixelArt(
        {
            ".....kkkkkkkkkkk",
            ".....kBbbbbbbbbk",
            ".....kkkkkkkkkkk",
            ".....kwwwwwwwwwk",
            ".kkkkkwggggwwwwk",
            "kYYYYkkkkkkwwwwk",
            "kYYYYYYYYYYkgggk",
            "kYYYYYYYYYYkwwwk",
            "kYYYkkkkkkkkkkkk",
            "kYYkhhhhhhhhhk..",
            "kYYkyyyyyyyyyk..",
            "kYkyyyyyyyyyk...",
            "kYkyyyyyyyyyk...",
            "kkyyyyyyyyyk....",
            "kkkkkkkkkkkk....",
            "................",
        },
        {{'k', {0x30, 0x2C, 0x28}}, {'B', {0x5C, 0x9C, 0xF8}}, {'b', {0x14, 0x5A, 0xE0}},
         {'w', {0xFF, 0xFF, 0xFF}}, {'g', {0xA0, 0xA4, 0xB0}}, {'Y', {0xD8, 0xA0, 0x20}},
         {'y', {0xFC, 0xD4, 0x48}}, {'h', {0xFF, 0xF0, 0xA8}}});
}

// A small bitmap font, 5 columns by 7 rows, holding the banner's letters.
const std::map<char, std::array<std::string_view, 7>>& bannerFont() {
    static const std::map<char, std::array<std::string_view, 7>> font = {
        {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
        {'u', {".....", ".....", "#...#", "#...#", "#...#", "#..##", ".##.#"}},
        {'m', {".....", ".....", "##.#.", "#.#.#", "#.#.#", "#.#.#", "#.#.#"}},
        {'b', {"#....", "#....", "#.##.", "##..#", "#...#", "#...#", "####."}},
        {'r', {".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."}},
        {'a', {".....", ".....", ".###.", "....#", ".####", "#...#", ".####"}},
        {'k', {"#....", "#....", "#..#.", "#.#..", "##...", "#.#..", "#..#."}},
        {'e', {".....", ".....", ".###.", "#...#", "#####", "#....", ".###."}},
    };
    return font;
}

// Which pixels `text` covers when drawn at (left, top), each font pixel
// becoming a scale x scale square.
std::vector<bool> textMask(int width, int height, std::string_view text, int left, int top, int scale) {
    std::vector<bool> mask(static_cast<std::size_t>(width * height));
    int pen = left;
    for (char ch : text) {
        const auto& glyph = bannerFont().at(ch);
        for (int row = 0; row < 7; ++row)
            for (int col = 0; col < 5; ++col) {
                if (glyph[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] != '#') continue;
                for (int dy = 0; dy < scale; ++dy)
                    for (int dx = 0; dx < scale; ++dx) {
                        int x = pen + col * scale + dx, y = top + row * scale + dy;
                        if (x >= 0 && y >= 0 && x < width && y < height) mask[static_cast<std::size_t>(y * width + x)] = true;
                    }
            }
        pen += 6 * scale;
    }
    return mask;
}

}  // namespace

std::vector<IconImage> lumbrakeIcon() {
    return {{placesDialog16(), 24}, {placesDialog(1), 4}};
}

namespace {

// The 32-pixel image first, then the larger ones in the same colour depth.
std::vector<IconImage> markIcon(const Shape& mark, Rgb light, Rgb dark, Rgb rim) {
    std::vector<IconImage> images{{glossyMark(mark, 32, light, dark, rim), 8}};
    for (int size : kLargeSizes) images.push_back({glossyMark(mark, size, light, dark, rim), 8});
    return images;
}

}  // namespace

std::vector<IconImage> applyIcon() {
    Shape check = stroke({{7, 16.5}, {13, 22.5}, {25, 9.5}}, 3.3);
    return markIcon(check, {0x9C, 0xE8, 0x6C}, {0x1C, 0x8A, 0x24}, {0x0C, 0x44, 0x10});
}

std::vector<IconImage> cancelIcon() {
    Shape cross = unite(stroke({{8.5, 8.5}, {23.5, 23.5}}, 3.4), stroke({{23.5, 8.5}, {8.5, 23.5}}, 3.4));
    return markIcon(cross, {0xFF, 0x86, 0x6C}, {0xC0, 0x12, 0x0C}, {0x5A, 0x08, 0x08});
}

std::vector<IconImage> browseIcon() {
    std::vector<IconImage> images{{folderOverWindow16(), 24}};
    for (int size : kLargeSizes) images.push_back({folderOverWindow(size / 2), 24});
    return images;
}

// The banner fills Picture1 inside its one-pixel border at 96 x scale dots
// per inch: 210 x 46 pixels at scale 1, 422 x 94 at scale 2. Its design is
// at scale 1; the larger canvas centres it `scale` times as large.
Canvas lumbrakeBanner(int scale) {
    const int width = 212 * scale - 2, height = 48 * scale - 2, margin = scale - 1;
    const Rgb deep{0x0A, 0x24, 0x6A}, pale{0xA6, 0xCA, 0xF0}, ink{0x06, 0x12, 0x38};
    Canvas c(width, height);
    // The classic caption gradient, in 32 even bands so the colours stay few.
    auto background = [&](int x) { return mix(deep, pale, (x * 32 / width) / 31.0); };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) c.set(x, y, background(x));

    // A pale rule under the word that fades out towards the left, its shade
    // taken per unit of the design so that the colours stay few.
    auto unit = [&](int pixel) { return (pixel - margin) / scale; };
    for (int x = margin + 52 * scale; x < margin + 202 * scale; ++x)
        for (int y = margin + 38 * scale; y < margin + 39 * scale; ++y)
            c.set(x, y, mix(background(x), {0xFF, 0xE8, 0x90}, (unit(x) - 52) / 60.0));

    const int left = margin + 56 * scale, top = margin + 11 * scale;
    auto inText = [&](const std::vector<bool>& mask, int x, int y) {
        return x >= 0 && y >= 0 && x < width && y < height && mask[static_cast<std::size_t>(y * width + x)];
    };
    const auto text = textMask(width, height, "Lumbrake", left, top, 3 * scale);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (inText(text, x, y)) {
                c.set(x, y, mix({0xFF, 0xFF, 0xFF}, {0xFF, 0xE4, 0x80}, (unit(y) - unit(top)) / 20.0));
                continue;
            }
            bool edge = false, shadow = inText(text, x - 2 * scale, y - 2 * scale);
            for (int dy = -scale; dy <= scale; ++dy)
                for (int dx = -scale; dx <= scale; ++dx) edge = edge || inText(text, x + dx, y + dy);
            if (edge) c.set(x, y, ink);
            else if (shadow) c.set(x, y, mix(background(x), ink, 0.6));
        }

    // The emblem at the left, on a soft light disc.
    paint(c, circle(margin + 26 * scale, margin + 23 * scale, 20.5 * scale),
          [&](int x, int) { return mix(background(x), {0xFF, 0xFF, 0xFF}, 0.25); });
    stamp(c, placesDialog(scale), margin + 10 * scale, margin + 7 * scale);
    return c;
}

// ---------------------------------------------------------------- all files

std::vector<OutputFile> renderAll() {
    return {
        {"places_bar_editor/res/lumbrake.ico", encodeIco(lumbrakeIcon())},
        {"places_bar_editor/res/apply.ico", encodeIco(applyIcon())},
        {"places_bar_editor/res/cancel.ico", encodeIco(cancelIcon())},
        {"places_bar_editor/res/browse.ico", encodeIco(browseIcon())},
        {"places_bar_editor/res/banner.gif", encodeGif87a(lumbrakeBanner(1))},
        {"places_bar_editor/res/banner-200.gif", encodeGif87a(lumbrakeBanner(2))},
        {"program_folder_setter/res/tarnvale.ico", encodeIco(tarnvaleIcon())},
    };
}

}  // namespace picgen
