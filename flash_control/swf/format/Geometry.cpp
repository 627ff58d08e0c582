#include "flash_control/swf/format/Geometry.h"

#include <algorithm>
#include <limits>

#include "flash_control/swf/format/Reader.h"

namespace swf {

int32_t SaturateToInt32(int64_t value)
{
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

int32_t SaturateScale(int64_t value)
{
  constexpr int32_t kMaxScale = 1 << 30;
  return static_cast<int32_t>(std::clamp<int64_t>(value, -kMaxScale, kMaxScale));
}

namespace {

// (a * b + c * d) / 65536, rounded. With |a|, |c| <= 2^30 the sum stays within 63 bits.
int64_t Dot16(int32_t a, int32_t b, int32_t c, int32_t d)
{
  return (int64_t{a} * b + int64_t{c} * d + 0x8000) >> 16;
}


int32_t ClampChannelFactor(int64_t v)
{
  // Far beyond what changes a channel, small enough that products stay in 32 bits.
  return static_cast<int32_t>(std::clamp<int64_t>(v, -65536, 65536));
}

uint8_t ClampChannel(int32_t v)
{
  return static_cast<uint8_t>(std::clamp(v, 0, 255));
}

}  // namespace

TwipsRect Union(const TwipsRect& a, const TwipsRect& b)
{
  if (a.Empty())
    return b;
  if (b.Empty())
    return a;
  return {std::min(a.XMin, b.XMin), std::max(a.XMax, b.XMax), std::min(a.YMin, b.YMin),
          std::max(a.YMax, b.YMax)};
}

Matrix Concatenate(const Matrix& p, const Matrix& c)
{
  Matrix m;
  m.A = SaturateScale(Dot16(p.A, c.A, p.C, c.B));
  m.B = SaturateScale(Dot16(p.B, c.A, p.D, c.B));
  m.C = SaturateScale(Dot16(p.A, c.C, p.C, c.D));
  m.D = SaturateScale(Dot16(p.B, c.C, p.D, c.D));
  m.Tx = SaturateToInt32(Dot16(p.A, c.Tx, p.C, c.Ty) + p.Tx);
  m.Ty = SaturateToInt32(Dot16(p.B, c.Tx, p.D, c.Ty) + p.Ty);
  return m;
}

TwipsRect TransformBounds(const Matrix& m, const TwipsRect& r)
{
  if (r.Empty())
    return {};
  const int32_t xs[2] = {r.XMin, r.XMax};
  const int32_t ys[2] = {r.YMin, r.YMax};
  int64_t x0 = std::numeric_limits<int64_t>::max(), x1 = std::numeric_limits<int64_t>::min();
  int64_t y0 = x0, y1 = x1;
  for (int32_t x : xs) {
    for (int32_t y : ys) {
      const int64_t tx = Dot16(m.A, x, m.C, y) + m.Tx;
      const int64_t ty = Dot16(m.B, x, m.D, y) + m.Ty;
      x0 = std::min(x0, tx), x1 = std::max(x1, tx);
      y0 = std::min(y0, ty), y1 = std::max(y1, ty);
    }
  }
  return {SaturateToInt32(x0), SaturateToInt32(x1), SaturateToInt32(y0), SaturateToInt32(y1)};
}

ColorTransform Concatenate(const ColorTransform& p, const ColorTransform& c)
{
  auto mul = [](int32_t a, int32_t b) { return ClampChannelFactor((int64_t{a} * b) / 256); };
  auto add = [](int32_t pm, int32_t ca, int32_t pa) {
    return ClampChannelFactor((int64_t{pm} * ca) / 256 + pa);
  };
  ColorTransform m;
  m.RMul = mul(p.RMul, c.RMul);
  m.GMul = mul(p.GMul, c.GMul);
  m.BMul = mul(p.BMul, c.BMul);
  m.AMul = mul(p.AMul, c.AMul);
  m.RAdd = add(p.RMul, c.RAdd, p.RAdd);
  m.GAdd = add(p.GMul, c.GAdd, p.GAdd);
  m.BAdd = add(p.BMul, c.BAdd, p.BAdd);
  m.AAdd = add(p.AMul, c.AAdd, p.AAdd);
  return m;
}

Rgba Apply(const ColorTransform& cx, Rgba c)
{
  return {ClampChannel(c.R * cx.RMul / 256 + cx.RAdd), ClampChannel(c.G * cx.GMul / 256 + cx.GAdd),
          ClampChannel(c.B * cx.BMul / 256 + cx.BAdd), ClampChannel(c.A * cx.AMul / 256 + cx.AAdd)};
}

Rgba ReadRgb(Reader& in)
{
  Rgba c;
  c.R = in.U8();
  c.G = in.U8();
  c.B = in.U8();
  return c;
}

Rgba ReadRgba(Reader& in)
{
  Rgba c = ReadRgb(in);
  c.A = in.U8();
  return c;
}

TwipsRect ReadRect(Reader& in)
{
  const unsigned bits = in.UBits(5);
  TwipsRect r;
  r.XMin = in.SBits(bits);
  r.XMax = in.SBits(bits);
  r.YMin = in.SBits(bits);
  r.YMax = in.SBits(bits);
  in.AlignBits();
  return r;
}

Matrix ReadMatrix(Reader& in)
{
  Matrix m;
  if (in.UBits(1)) {
    const unsigned bits = in.UBits(5);
    m.A = SaturateScale(in.FBits(bits));
    m.D = SaturateScale(in.FBits(bits));
  }
  if (in.UBits(1)) {
    const unsigned bits = in.UBits(5);
    m.B = SaturateScale(in.FBits(bits));
    m.C = SaturateScale(in.FBits(bits));
  }
  const unsigned bits = in.UBits(5);
  m.Tx = in.SBits(bits);
  m.Ty = in.SBits(bits);
  in.AlignBits();
  return m;
}

ColorTransform ReadColorTransform(Reader& in, bool withAlpha)
{
  ColorTransform cx;
  const bool hasAdd = in.UBits(1);
  const bool hasMul = in.UBits(1);
  const unsigned bits = in.UBits(4);
  if (hasMul) {
    cx.RMul = in.SBits(bits);
    cx.GMul = in.SBits(bits);
    cx.BMul = in.SBits(bits);
    if (withAlpha)
      cx.AMul = in.SBits(bits);
  }
  if (hasAdd) {
    cx.RAdd = in.SBits(bits);
    cx.GAdd = in.SBits(bits);
    cx.BAdd = in.SBits(bits);
    if (withAlpha)
      cx.AAdd = in.SBits(bits);
  }
  in.AlignBits();
  return cx;
}

}  // namespace swf
