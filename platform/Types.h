// Geometry records shared by the platform and the library. Pure: no Windows header, so the pixel
// kernels can use them natively. TRect and TPoint have the layout of the system's RECT and POINT
// (see WinTypes.h for the conversions).
#pragma once

#include <cstdint>

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;

  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
  int32_t cx = 0;
  int32_t cy = 0;

  friend bool operator==(const TSize&, const TSize&) = default;
};

// Right and Bottom are exclusive.
struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  TPoint TopLeft() const { return {Left, Top}; }
  TPoint BottomRight() const { return {Right, Bottom}; }

  friend bool operator==(const TRect&, const TRect&) = default;
};

inline TRect Rect(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
  return {left, top, right, bottom};
}

inline TRect Bounds(int32_t left, int32_t top, int32_t width, int32_t height)
{
  return {left, top, left + width, top + height};
}

inline TPoint Point(int32_t x, int32_t y)
{
  return {x, y};
}
