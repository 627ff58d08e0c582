#include "tools/swf/Records.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numbers>

namespace swfwriter {

namespace {

int MaxSignedBits(std::initializer_list<int32_t> values)
{
  int bits = 0;
  for (int32_t value : values)
    bits = std::max(bits, SignedBits(value));
  return bits;
}

}  // namespace

Matrix Matrix::Translate(int32_t x, int32_t y)
{
  Matrix matrix;
  matrix.translateX = x;
  matrix.translateY = y;
  return matrix;
}

Matrix Matrix::Transform(int32_t x, int32_t y, double scaleX, double scaleY, double degrees)
{
  const double radians = degrees * std::numbers::pi / 180.0;
  const double cosine = std::cos(radians);
  const double sine = std::sin(radians);
  Matrix matrix = Translate(x, y);
  matrix.scaleX = Fixed16(scaleX * cosine);
  matrix.rotateSkew0 = Fixed16(scaleX * sine);
  matrix.rotateSkew1 = Fixed16(-scaleY * sine);
  matrix.scaleY = Fixed16(scaleY * cosine);
  return matrix;
}

ColorTransform ColorTransform::Alpha(double factor)
{
  ColorTransform transform;
  transform.multA = static_cast<int16_t>(std::lround(std::clamp(factor, 0.0, 1.0) * 256.0));
  return transform;
}

void WriteRgb(ByteWriter& out, Color color)
{
  out.U8(color.r);
  out.U8(color.g);
  out.U8(color.b);
}

void WriteRgba(ByteWriter& out, Color color)
{
  WriteRgb(out, color);
  out.U8(color.a);
}

void WriteRect(ByteWriter& out, const Rect& rect)
{
  const int bits = MaxSignedBits({rect.xMin, rect.xMax, rect.yMin, rect.yMax});
  out.BitCount(bits, 5);
  out.SB(rect.xMin, bits);
  out.SB(rect.xMax, bits);
  out.SB(rect.yMin, bits);
  out.SB(rect.yMax, bits);
  out.Align();
}

void WriteMatrix(ByteWriter& out, const Matrix& matrix)
{
  const bool hasScale = matrix.scaleX != 0x10000 || matrix.scaleY != 0x10000;
  out.UB(hasScale, 1);
  if (hasScale) {
    const int bits = MaxSignedBits({matrix.scaleX, matrix.scaleY});
    out.BitCount(bits, 5);
    out.SB(matrix.scaleX, bits);
    out.SB(matrix.scaleY, bits);
  }
  const bool hasRotate = matrix.rotateSkew0 != 0 || matrix.rotateSkew1 != 0;
  out.UB(hasRotate, 1);
  if (hasRotate) {
    const int bits = MaxSignedBits({matrix.rotateSkew0, matrix.rotateSkew1});
    out.BitCount(bits, 5);
    out.SB(matrix.rotateSkew0, bits);
    out.SB(matrix.rotateSkew1, bits);
  }
  const int bits = MaxSignedBits({matrix.translateX, matrix.translateY});
  out.BitCount(bits, 5);
  out.SB(matrix.translateX, bits);
  out.SB(matrix.translateY, bits);
  out.Align();
}

void WriteColorTransform(ByteWriter& out, const ColorTransform& t, bool withAlpha)
{
  const bool hasAdd = t.addR != 0 || t.addG != 0 || t.addB != 0 || (withAlpha && t.addA != 0);
  const bool hasMult =
    t.multR != 256 || t.multG != 256 || t.multB != 256 || (withAlpha && t.multA != 256);
  int bits = 0;
  if (hasMult)
    bits = std::max(bits, MaxSignedBits({t.multR, t.multG, t.multB, withAlpha ? t.multA : 0}));
  if (hasAdd)
    bits = std::max(bits, MaxSignedBits({t.addR, t.addG, t.addB, withAlpha ? t.addA : 0}));

  out.UB(hasAdd, 1);
  out.UB(hasMult, 1);
  out.BitCount(bits, 4);
  if (hasMult) {
    out.SB(t.multR, bits);
    out.SB(t.multG, bits);
    out.SB(t.multB, bits);
    if (withAlpha)
      out.SB(t.multA, bits);
  }
  if (hasAdd) {
    out.SB(t.addR, bits);
    out.SB(t.addG, bits);
    out.SB(t.addB, bits);
    if (withAlpha)
      out.SB(t.addA, bits);
  }
  out.Align();
}

}  // namespace swfwriter
