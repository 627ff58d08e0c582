// Extents of display objects and whether a point hits them.
#pragma once

#include <cstdint>

#include "flash_control/swf/format/Geometry.h"
#include "flash_control/swf/format/Movie.h"
#include "flash_control/swf/runtime/DisplayObject.h"

namespace swf {

// What the object draws, in its own space (twips); empty when it draws nothing.
TwipsRect LocalBounds(const DisplayObject& object);

// Whether the point (stage twips) lies in the shape drawn with `world`: inside a fill (even-odd,
// as it is drawn) or on a line.
bool HitShape(const Shape& shape, const Matrix& world, int32_t x, int32_t y);

// Whether the point hits the hit-state characters of a button drawn with `world`. Sprites count
// with what their first frame places; `nesting` bounds how deep that looks.
bool HitButton(const Movie& movie, const Button& button, const Matrix& world, int32_t x, int32_t y, uint32_t nesting);

}  // namespace swf
