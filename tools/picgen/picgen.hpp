// The pictures both programs carry, drawn in code so that every byte of the
// committed .ico and .gif files can be regenerated and reviewed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace picgen {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// A picture being drawn; a pixel without a colour is transparent.
class Canvas {
public:
    Canvas(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }
    // Writes outside the canvas are dropped, so shapes may run off the edge.
    void set(int x, int y, Rgb c);
    std::optional<Rgb> at(int x, int y) const;
    bool operator==(const Canvas&) const = default;

private:
    int width_, height_;
    std::vector<std::optional<Rgb>> pixels_;
};

// One image of an .ico file: 4 and 8 bits use a palette, 24 bits do not.
struct IconImage {
    Canvas art;
    int bitCount;
};

// The standard 16-colour Windows palette, in its usual order (index 0 black).
const std::vector<Rgb>& windows16();

std::vector<std::uint8_t> encodeIco(const std::vector<IconImage>& images);
// Every pixel must be opaque and the picture may use at most 256 colours.
std::vector<std::uint8_t> encodeGif87a(const Canvas& picture);

std::vector<IconImage> lumbrakeIcon();
std::vector<IconImage> applyIcon();
std::vector<IconImage> cancelIcon();
std::vector<IconImage> browseIcon();
// At 96 x scale dots per inch: scale 1 or 2.
Canvas lumbrakeBanner(int scale);
std::vector<IconImage> tarnvaleIcon();

struct OutputFile {
    std::string path;  // relative to the output root, '/' separated
    std::vector<std::uint8_t> bytes;
};
std::vector<OutputFile> renderAll();

}  // namespace picgen
