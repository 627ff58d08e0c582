// Integer geometry on subpixel points shared by the fill and stroke paths: exact square roots,
// scaling a vector to a length, and flattening quadratic curves into chords.
#pragma once

#include <cstdint>
#include <vector>

#include "flash_control/swf/raster/Rasterizer.h"

namespace swf::raster {

// The largest r with r * r <= n.
uint64_t SquareRoot(uint64_t n);

// `v` scaled to length `length` (subpixels); the zero vector stays zero. Components of `v` must stay
// within +-2^30.
SubPoint ScaleTo(SubPoint v, int32_t length);

// Appends the chords of the quadratic curve from `from` (not appended) through `control` to `to`,
// so that no point of the curve is farther than about 1/10 pixel from them.
void FlattenQuadratic(SubPoint from, SubPoint control, SubPoint to, std::vector<SubPoint>& out);

}  // namespace swf::raster
