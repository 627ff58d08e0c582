#include "flash_control/swf/raster/Painter.h"

#include <algorithm>

#include "flash_control/swf/raster/Blend.h"
#include "flash_control/swf/raster/Path.h"
#include "flash_control/swf/raster/Stroker.h"

namespace swf::raster {

namespace {

// Device factors stay within +-2^30 (64 pixels per twip), so products with twips fit in 64 bits.
constexpr int64_t kMaxDeviceScale = int64_t{1} << 30;
constexpr int64_t kMaxDeviceOffset = int64_t{1} << 40;
constexpr int64_t kMaxSubpixel = int64_t{1} << 28;
constexpr int32_t kMaxHalfWidth = 1 << 24;
// Lines are never thinner than one pixel.
constexpr int32_t kMinHalfWidth = kSubpixels / 2;

int64_t Scale16(int64_t a, int64_t b, int64_t limit)
{
  return std::clamp((a * b) >> 16, -limit, limit);
}

}  // namespace

DeviceMatrix ToDevice(const Matrix& w, const StageMapping& s)
{
  DeviceMatrix m;
  m.A = Scale16(w.A, s.ScaleX, kMaxDeviceScale);
  m.C = Scale16(w.C, s.ScaleX, kMaxDeviceScale);
  m.B = Scale16(w.B, s.ScaleY, kMaxDeviceScale);
  m.D = Scale16(w.D, s.ScaleY, kMaxDeviceScale);
  m.Tx = std::clamp(Scale16(w.Tx, s.ScaleX, kMaxDeviceOffset) + s.OffsetX, -kMaxDeviceOffset, kMaxDeviceOffset);
  m.Ty = std::clamp(Scale16(w.Ty, s.ScaleY, kMaxDeviceOffset) + s.OffsetY, -kMaxDeviceOffset, kMaxDeviceOffset);
  return m;
}

SubPoint Transform(const DeviceMatrix& m, int32_t x, int32_t y)
{
  const int64_t tx = ((m.A * x + m.C * y + 0x8000) >> 16) + m.Tx;
  const int64_t ty = ((m.B * x + m.D * y + 0x8000) >> 16) + m.Ty;
  return {static_cast<int32_t>(std::clamp(tx, -kMaxSubpixel, kMaxSubpixel)),
          static_cast<int32_t>(std::clamp(ty, -kMaxSubpixel, kMaxSubpixel))};
}

// A curve that stays outside the clip (by `margin`) is replaced by its chord: the region between
// the two is outside as well, so no visible pixel changes, and huge curves cost nothing to flatten.
bool Painter::OffClip(SubPoint a, SubPoint b, SubPoint c, int32_t margin) const
{
  const int64_t x0 = std::min({a.X, b.X, c.X}) - int64_t{margin}, x1 = std::max({a.X, b.X, c.X}) + int64_t{margin};
  const int64_t y0 = std::min({a.Y, b.Y, c.Y}) - int64_t{margin}, y1 = std::max({a.Y, b.Y, c.Y}) + int64_t{margin};
  return x1 <= int64_t{clip_.Left} * kSubpixels || x0 >= int64_t{clip_.Right} * kSubpixels ||
         y1 <= int64_t{clip_.Top} * kSubpixels || y0 >= int64_t{clip_.Bottom} * kSubpixels;
}

bool Painter::Reaches(const TwipsRect& r, const DeviceMatrix& m) const
{
  const SubPoint corners[] = {Transform(m, r.XMin, r.YMin), Transform(m, r.XMax, r.YMin), Transform(m, r.XMin, r.YMax),
                              Transform(m, r.XMax, r.YMax)};
  SubPoint low = corners[0], high = corners[0];
  for (const SubPoint& p : corners) {
    low = {std::min(low.X, p.X), std::min(low.Y, p.Y)};
    high = {std::max(high.X, p.X), std::max(high.Y, p.Y)};
  }
  // Lines at least a pixel wide and anti-aliasing reach a little past the bounds.
  return !OffClip(low, high, high, kSubpixels);
}

void Painter::AddFillEdge(const ShapeEdge& e, const DeviceMatrix& m)
{
  const SubPoint from = Transform(m, e.From.X, e.From.Y);
  const SubPoint to = Transform(m, e.To.X, e.To.Y);
  if (!e.Curved) {
    rasterizer_.AddLine(from, to);
    return;
  }
  const SubPoint control = Transform(m, e.Control.X, e.Control.Y);
  if (OffClip(from, control, to, 0)) {
    rasterizer_.AddLine(from, to);
    return;
  }
  points_.clear();
  FlattenQuadratic(from, control, to, points_);
  SubPoint prev = from;
  for (SubPoint p : points_) {
    rasterizer_.AddLine(prev, p);
    prev = p;
  }
}

void Painter::DrawShape(const Shape& shape, const DeviceMatrix& m, const ColorTransform& cx)
{
  for (const StyleGroup& group : shape.Groups) {
    for (size_t i = 0; i < group.Fills.size(); ++i) {
      const Rgba color = Apply(cx, group.Fills[i].Color);
      if (!group.Fills[i].Drawn || color.A == 0 || group.FillEdges[i].empty())
        continue;
      rasterizer_.Reset(clip_);
      for (const ShapeEdge& e : group.FillEdges[i])
        AddFillEdge(e, m);
      Paint(FillRule::EvenOdd, color);
    }
    for (size_t i = 0; i < group.Lines.size(); ++i) {
      const Rgba color = Apply(cx, group.Lines[i].Color);
      if (color.A != 0 && !group.Strokes[i].empty())
        DrawStrokes(group.Strokes[i], group.Lines[i], m, color);
    }
  }
}

void Painter::DrawStrokes(const std::vector<Stroke>& strokes, const LineStyle& style, const DeviceMatrix& m, Rgba color)
{
  // Line widths follow the mean scale of the matrix: the square root of its determinant.
  const int64_t det = m.A * m.D - m.B * m.C;
  const int64_t scale = static_cast<int64_t>(SquareRoot(static_cast<uint64_t>(det < 0 ? -det : det)));
  const int64_t half = (int64_t{style.Width} * scale) >> 17;
  const int32_t radius = static_cast<int32_t>(std::clamp<int64_t>(half, kMinHalfWidth, kMaxHalfWidth));

  rasterizer_.Reset(clip_);
  Stroker stroker(rasterizer_, radius);
  for (const Stroke& stroke : strokes) {
    std::vector<SubPoint> polyline;
    polyline.push_back(Transform(m, stroke.Edges.front().From.X, stroke.Edges.front().From.Y));
    for (const ShapeEdge& e : stroke.Edges) {
      const SubPoint to = Transform(m, e.To.X, e.To.Y);
      if (e.Curved) {
        const SubPoint control = Transform(m, e.Control.X, e.Control.Y);
        if (!OffClip(polyline.back(), control, to, radius)) {
          FlattenQuadratic(polyline.back(), control, to, polyline);
          continue;
        }
      }
      polyline.push_back(to);
    }
    stroker.Stroke(std::move(polyline));
  }
  Paint(FillRule::NonZero, color);
}

void Painter::FillPolygon(const std::vector<SubPoint>& corners, Rgba color)
{
  if (corners.empty())
    return;
  rasterizer_.Reset(clip_);
  rasterizer_.MoveTo(corners.front());
  for (size_t i = 1; i < corners.size(); ++i)
    rasterizer_.LineTo(corners[i]);
  rasterizer_.ClosePath();
  Paint(FillRule::NonZero, color);
}

void Painter::Paint(FillRule rule, Rgba color)
{
  rasterizer_.Sweep(rule, [&](int32_t y, int32_t x, int32_t length, int32_t coverage) {
    BlendSpan(view_, y, x, length, color, coverage);
  });
}

}  // namespace swf::raster
