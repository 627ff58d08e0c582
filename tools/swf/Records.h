// The basic records of an SWF file (colours, rectangles, matrices, colour transforms) and their
// bit-exact encodings. Coordinates are twips, 1/20 of a pixel; `Px` converts from pixels.
#pragma once

#include <cstdint>

#include "tools/swf/ByteWriter.h"

namespace swfwriter {

// Twips from pixels, rounded to the nearest twip.
constexpr int32_t Px(double pixels)
{
  const double twips = pixels * 20.0;
  return static_cast<int32_t>(twips < 0 ? twips - 0.5 : twips + 0.5);
}

// 16.16 fixed point from a real number, rounded.
constexpr int32_t Fixed16(double value)
{
  const double scaled = value * 65536.0;
  return static_cast<int32_t>(scaled < 0 ? scaled - 0.5 : scaled + 0.5);
}

struct Color {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  uint8_t a = 255;

  friend bool operator==(const Color&, const Color&) = default;
};

constexpr Color Rgb(uint32_t rgb)
{
  return {static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
          static_cast<uint8_t>(rgb), 255};
}

constexpr Color Rgba(uint32_t rgb, uint8_t alpha)
{
  Color color = Rgb(rgb);
  color.a = alpha;
  return color;
}

// In the file's field order: x range, then y range, in twips.
struct Rect {
  int32_t xMin = 0;
  int32_t xMax = 0;
  int32_t yMin = 0;
  int32_t yMax = 0;

  friend bool operator==(const Rect&, const Rect&) = default;
};

// A rectangle given in pixels as left, top, right, bottom.
constexpr Rect PxRect(double left, double top, double right, double bottom)
{
  return {Px(left), Px(right), Px(top), Px(bottom)};
}

// x' = scaleX * x + rotateSkew1 * y + translateX
// y' = rotateSkew0 * x + scaleY * y + translateY
// Scale and skew factors are 16.16 fixed point; translations are twips.
struct Matrix {
  int32_t scaleX = 0x10000;
  int32_t scaleY = 0x10000;
  int32_t rotateSkew0 = 0;
  int32_t rotateSkew1 = 0;
  int32_t translateX = 0;
  int32_t translateY = 0;

  static Matrix Translate(int32_t x, int32_t y);
  // Scales, then turns by `degrees` (clockwise on the screen), then moves to (x, y).
  static Matrix Transform(int32_t x, int32_t y, double scaleX, double scaleY, double degrees = 0);

  friend bool operator==(const Matrix&, const Matrix&) = default;
};

// channel' = channel * mult / 256 + add, for red, green, blue and alpha.
struct ColorTransform {
  int16_t multR = 256;
  int16_t multG = 256;
  int16_t multB = 256;
  int16_t multA = 256;
  int16_t addR = 0;
  int16_t addG = 0;
  int16_t addB = 0;
  int16_t addA = 0;

  // Keeps the colours and scales the alpha by a factor from 0 to 1.
  static ColorTransform Alpha(double factor);

  friend bool operator==(const ColorTransform&, const ColorTransform&) = default;
};

void WriteRgb(ByteWriter& out, Color color);
void WriteRgba(ByteWriter& out, Color color);
// Each writer uses the fewest bits that hold its fields and leaves the stream byte-aligned.
void WriteRect(ByteWriter& out, const Rect& rect);
void WriteMatrix(ByteWriter& out, const Matrix& matrix);
// Without alpha, the alpha terms are not stored.
void WriteColorTransform(ByteWriter& out, const ColorTransform& transform, bool withAlpha);

}  // namespace swfwriter
