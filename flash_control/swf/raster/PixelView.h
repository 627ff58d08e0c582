// A view of 32-bit pixels the engine draws into: bytes B, G, R, A per pixel, straight alpha. Rows
// are `RowStep` bytes apart, so a bottom-up bitmap is viewed with its last row first and a negative
// step.
#pragma once

#include <cstddef>
#include <cstdint>

namespace swf {

struct PixelView {
  uint8_t* FirstRow = nullptr;
  int32_t Width = 0;
  int32_t Height = 0;
  ptrdiff_t RowStep = 0;

  uint8_t* Row(int32_t y) const { return FirstRow + static_cast<ptrdiff_t>(y) * RowStep; }
};

}  // namespace swf
