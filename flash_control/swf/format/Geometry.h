// The value records of movie files: colours, rectangles in twips (1/20 pixel), 2x3 matrices in
// 16.16 fixed point and colour transforms in 8.8 fixed point. All arithmetic is integer and
// saturating, so hostile values never overflow and every platform computes the same results.
#pragma once

#include <cstdint>

namespace swf {

class Reader;

constexpr int32_t kTwipsPerPixel = 20;

// Straight (not premultiplied) colour.
struct Rgba {
  uint8_t R = 0, G = 0, B = 0, A = 255;

  friend bool operator==(const Rgba&, const Rgba&) = default;
};

struct TwipsRect {
  int32_t XMin = 0, XMax = 0, YMin = 0, YMax = 0;

  bool Empty() const { return XMax <= XMin || YMax <= YMin; }
  friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

TwipsRect Union(const TwipsRect& a, const TwipsRect& b);

// x' = A*x + C*y + Tx, y' = B*x + D*y + Ty; A..D are 16.16 fixed point, Tx and Ty twips.
struct Matrix {
  int32_t A = 65536, B = 0, C = 0, D = 65536;
  int32_t Tx = 0, Ty = 0;

  friend bool operator==(const Matrix&, const Matrix&) = default;
};

// `parent` applied after `child`.
Matrix Concatenate(const Matrix& parent, const Matrix& child);
TwipsRect TransformBounds(const Matrix& m, const TwipsRect& r);

// c' = clamp(c * Mul / 256 + Add) per channel.
struct ColorTransform {
  int32_t RMul = 256, GMul = 256, BMul = 256, AMul = 256;
  int32_t RAdd = 0, GAdd = 0, BAdd = 0, AAdd = 0;

  friend bool operator==(const ColorTransform&, const ColorTransform&) = default;
};

ColorTransform Concatenate(const ColorTransform& parent, const ColorTransform& child);
Rgba Apply(const ColorTransform& cx, Rgba c);

int32_t SaturateToInt32(int64_t value);
// Matrix factors are kept within +-16384 (2^30 in 16.16): far beyond any useful scale, and small
// enough that every product of the integer arithmetic fits in 64 bits.
int32_t SaturateScale(int64_t value);

// Readers of the records as they are stored.
Rgba ReadRgb(Reader& in);
Rgba ReadRgba(Reader& in);
TwipsRect ReadRect(Reader& in);
Matrix ReadMatrix(Reader& in);
ColorTransform ReadColorTransform(Reader& in, bool withAlpha);

}  // namespace swf
