// Compositing solid colour into straight-alpha B,G,R,A pixels.
#pragma once

#include <cstdint>

#include "flash_control/swf/format/Geometry.h"
#include "flash_control/swf/raster/PixelView.h"

namespace swf::raster {

// Source-over of `color` at `coverage` (0 to 256) onto `length` pixels of row y from x; the pixels
// must lie inside the view.
void BlendSpan(const PixelView& view, int32_t y, int32_t x, int32_t length, Rgba color, int32_t coverage);

// Sets every pixel of the rectangle [x0, x1) x [y0, y1) to `color`.
void FillRect(const PixelView& view, int32_t x0, int32_t y0, int32_t x1, int32_t y1, Rgba color);

}  // namespace swf::raster
