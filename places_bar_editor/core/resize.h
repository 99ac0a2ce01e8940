#pragma once
// The banner at the size of its box, whatever the screen's DPI.
#include "gif.h"

namespace lumbrake {

// The picture at another size: each new pixel is the mean of the old pixels
// it covers, each weighted by how much of it it covers. Smooth, and exact
// where the sizes are equal. Integer arithmetic only: the same pixels on
// every machine. An empty picture for a size that is not positive.
[[nodiscard]] GifImage Resized(const GifImage& picture, int width, int height);

}  // namespace lumbrake
