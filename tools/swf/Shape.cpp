#include "tools/swf/Shape.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "flash_control/swf/format/Codes.h"

namespace swfwriter {

namespace {

// Straight and curved edges store their deltas in at most 17 bits (a 4-bit count plus 2).
constexpr int MaxEdgeBits = 17;

int EdgeBits(std::initializer_list<int32_t> deltas)
{
  int bits = 2;
  for (int32_t delta : deltas)
    bits = std::max(bits, SignedBits(delta));
  if (bits > MaxEdgeBits)
    throw std::out_of_range("shape edge longer than an edge record can hold");
  return bits;
}

Point Rounded(double x, double y)
{
  return {static_cast<int32_t>(std::lround(x)), static_cast<int32_t>(std::lround(y))};
}

// Where a quadratic curve turns back along one axis, if it does between its ends.
std::optional<double> Extremum(double from, double control, double to)
{
  const double denominator = from - 2 * control + to;
  if (denominator == 0)
    return std::nullopt;
  const double t = (from - control) / denominator;
  if (t <= 0 || t >= 1)
    return std::nullopt;
  return (1 - t) * (1 - t) * from + 2 * t * (1 - t) * control + t * t * to;
}

void WriteStyleCount(ByteWriter& out, size_t count, int version)
{
  if (count < 0xFF) {
    out.U8(static_cast<uint8_t>(count));
  } else if (version >= 2 && count <= 0xFFFF) {
    out.U8(0xFF);
    out.U16(static_cast<uint16_t>(count));
  } else {
    throw std::out_of_range("too many styles for this shape version");
  }
}

void WriteColor(ByteWriter& out, Color color, int version)
{
  if (version >= 3)
    WriteRgba(out, color);
  else
    WriteRgb(out, color);
}

}  // namespace

int Shape::AddFill(Color color)
{
  FFills.push_back(color);
  return static_cast<int>(FFills.size());
}

int Shape::AddLine(uint16_t width, Color color)
{
  FLines.push_back({width, color});
  return static_cast<int>(FLines.size());
}

Shape::StyleChange& Shape::PendingChange()
{
  if (FRecords.empty() || !std::holds_alternative<StyleChange>(FRecords.back()))
    FRecords.emplace_back(StyleChange{});
  return std::get<StyleChange>(FRecords.back());
}

Shape& Shape::MoveTo(int32_t x, int32_t y)
{
  FPen = {x, y};
  PendingChange().moveTo = FPen;
  return *this;
}

void Shape::SetStyle(std::optional<int> StyleChange::*field, int& current, int value, size_t count)
{
  if (value < 0 || static_cast<size_t>(value) > count)
    throw std::out_of_range("shape style " + std::to_string(value) + " is not defined");
  if (value == current)
    return;
  current = value;
  PendingChange().*field = value;
}

Shape& Shape::FillStyle0(int fill)
{
  SetStyle(&StyleChange::fill0, FFill0, fill, FFills.size());
  return *this;
}

Shape& Shape::FillStyle1(int fill)
{
  SetStyle(&StyleChange::fill1, FFill1, fill, FFills.size());
  return *this;
}

Shape& Shape::LineStyle(int line)
{
  SetStyle(&StyleChange::line, FLine, line, FLines.size());
  return *this;
}

void Shape::Include(Point point)
{
  const int32_t half = FLine == 0 ? 0 : FLines[FLine - 1].width / 2;
  const Rect around{point.x - half, point.x + half, point.y - half, point.y + half};
  if (!FBounds) {
    FBounds = around;
    return;
  }
  FBounds->xMin = std::min(FBounds->xMin, around.xMin);
  FBounds->xMax = std::max(FBounds->xMax, around.xMax);
  FBounds->yMin = std::min(FBounds->yMin, around.yMin);
  FBounds->yMax = std::max(FBounds->yMax, around.yMax);
}

Shape& Shape::LineTo(int32_t x, int32_t y)
{
  const Point delta{x - FPen.x, y - FPen.y};
  EdgeBits({delta.x, delta.y});
  Include(FPen);
  FPen = {x, y};
  Include(FPen);
  FRecords.emplace_back(Edge{false, {}, delta});
  return *this;
}

Shape& Shape::CurveTo(int32_t controlX, int32_t controlY, int32_t anchorX, int32_t anchorY)
{
  const Point control{controlX - FPen.x, controlY - FPen.y};
  const Point anchor{anchorX - controlX, anchorY - controlY};
  EdgeBits({control.x, control.y, anchor.x, anchor.y});
  Include(FPen);
  const auto turnX = Extremum(FPen.x, controlX, anchorX);
  const auto turnY = Extremum(FPen.y, controlY, anchorY);
  if (turnX)
    Include(Rounded(*turnX, FPen.y));
  if (turnY)
    Include(Rounded(FPen.x, *turnY));
  FPen = {anchorX, anchorY};
  Include(FPen);
  FRecords.emplace_back(Edge{true, control, anchor});
  return *this;
}

void Shape::BeginFigure(Point start, int fill, int line, bool clockwise)
{
  MoveTo(start.x, start.y);
  FillStyle0(clockwise ? 0 : fill);
  FillStyle1(clockwise ? fill : 0);
  LineStyle(line);
}

void Shape::Arc(Point center, int32_t radiusX, int32_t radiusY, double startDegrees,
                double sweepDegrees)
{
  const int segments = std::max(1, static_cast<int>(std::ceil(std::abs(sweepDegrees) / 45.0)));
  const double step = sweepDegrees / segments * std::numbers::pi / 180.0;
  const double start = startDegrees * std::numbers::pi / 180.0;
  // The control point of a quadratic arc lies on the bisector, 1 / cos(step / 2) radii out.
  const double reach = 1.0 / std::cos(step / 2);
  for (int i = 0; i < segments; ++i) {
    const double middle = start + (i + 0.5) * step;
    const double end = start + (i + 1) * step;
    const Point control = Rounded(center.x + radiusX * reach * std::cos(middle),
                                  center.y + radiusY * reach * std::sin(middle));
    const Point anchor =
      Rounded(center.x + radiusX * std::cos(end), center.y + radiusY * std::sin(end));
    CurveTo(control.x, control.y, anchor.x, anchor.y);
  }
}

Shape& Shape::Rectangle(const Rect& rect, int fill, int line)
{
  BeginFigure({rect.xMin, rect.yMin}, fill, line, true);
  LineTo(rect.xMax, rect.yMin);
  LineTo(rect.xMax, rect.yMax);
  LineTo(rect.xMin, rect.yMax);
  LineTo(rect.xMin, rect.yMin);
  return *this;
}

Shape& Shape::RoundedRectangle(const Rect& rect, int32_t radius, int fill, int line)
{
  const int32_t limit = std::max(0, std::min(rect.xMax - rect.xMin, rect.yMax - rect.yMin) / 2);
  const int32_t r = std::clamp(radius, 0, limit);
  if (r == 0)
    return Rectangle(rect, fill, line);
  BeginFigure({rect.xMin + r, rect.yMin}, fill, line, true);
  LineTo(rect.xMax - r, rect.yMin);
  Arc({rect.xMax - r, rect.yMin + r}, r, r, -90, 90);
  LineTo(rect.xMax, rect.yMax - r);
  Arc({rect.xMax - r, rect.yMax - r}, r, r, 0, 90);
  LineTo(rect.xMin + r, rect.yMax);
  Arc({rect.xMin + r, rect.yMax - r}, r, r, 90, 90);
  LineTo(rect.xMin, rect.yMin + r);
  Arc({rect.xMin + r, rect.yMin + r}, r, r, 180, 90);
  return *this;
}

Shape& Shape::Ellipse(int32_t centerX, int32_t centerY, int32_t radiusX, int32_t radiusY, int fill,
                      int line)
{
  BeginFigure({centerX + radiusX, centerY}, fill, line, true);
  Arc({centerX, centerY}, radiusX, radiusY, 0, 360);
  return *this;
}

Shape& Shape::Polygon(std::span<const Point> points, int fill, int line)
{
  if (points.size() < 3)
    throw std::invalid_argument("a polygon needs at least three points");
  // Twice the signed area; positive when the points run clockwise on the screen (y down).
  int64_t area = 0;
  for (size_t i = 0; i < points.size(); ++i) {
    const Point& a = points[i];
    const Point& b = points[(i + 1) % points.size()];
    area += int64_t{a.x} * b.y - int64_t{b.x} * a.y;
  }
  BeginFigure(points.front(), fill, line, area > 0);
  for (const Point& point : points.subspan(1))
    LineTo(point.x, point.y);
  LineTo(points.front().x, points.front().y);
  return *this;
}

Shape& Shape::Polyline(std::span<const Point> points, int line)
{
  if (points.size() < 2)
    throw std::invalid_argument("a polyline needs at least two points");
  BeginFigure(points.front(), 0, line, true);
  for (const Point& point : points.subspan(1))
    LineTo(point.x, point.y);
  return *this;
}

Rect Shape::Bounds() const
{
  return FBounds.value_or(Rect{});
}

bool Shape::HasTranslucentStyle() const
{
  return std::any_of(FFills.begin(), FFills.end(), [](Color c) { return c.a != 255; }) ||
         std::any_of(FLines.begin(), FLines.end(),
                     [](const LineStyleRecord& l) { return l.color.a != 255; });
}

void Shape::Write(ByteWriter& out, int version) const
{
  WriteStyleCount(out, FFills.size(), version);
  for (Color fill : FFills) {
    out.U8(swf::kFillSolid);
    WriteColor(out, fill, version);
  }
  WriteStyleCount(out, FLines.size(), version);
  for (const LineStyleRecord& line : FLines) {
    out.U16(line.width);
    WriteColor(out, line.color, version);
  }

  const int fillBits = UnsignedBits(static_cast<uint32_t>(FFills.size()));
  const int lineBits = UnsignedBits(static_cast<uint32_t>(FLines.size()));
  out.BitCount(fillBits, 4);
  out.BitCount(lineBits, 4);

  for (const auto& record : FRecords) {
    if (const auto* change = std::get_if<StyleChange>(&record)) {
      // A shape keeps one set of styles, so no record starts new ones.
      const uint32_t flags = (change->moveTo ? swf::kStyleChangeMoveTo : 0) |
                             (change->fill0 ? swf::kStyleChangeFill0 : 0) |
                             (change->fill1 ? swf::kStyleChangeFill1 : 0) |
                             (change->line ? swf::kStyleChangeLine : 0);
      out.UB(0, 1);  // non-edge record
      out.UB(flags, 5);
      if (change->moveTo) {
        const int bits = std::max(SignedBits(change->moveTo->x), SignedBits(change->moveTo->y));
        out.BitCount(bits, 5);
        out.SB(change->moveTo->x, bits);
        out.SB(change->moveTo->y, bits);
      }
      if (change->fill0)
        out.UB(static_cast<uint32_t>(*change->fill0), fillBits);
      if (change->fill1)
        out.UB(static_cast<uint32_t>(*change->fill1), fillBits);
      if (change->line)
        out.UB(static_cast<uint32_t>(*change->line), lineBits);
      continue;
    }
    const Edge& edge = std::get<Edge>(record);
    out.UB(1, 1);  // edge record
    out.UB(!edge.curved, 1);
    if (edge.curved) {
      const int bits = EdgeBits({edge.control.x, edge.control.y, edge.anchor.x, edge.anchor.y});
      out.UB(static_cast<uint32_t>(bits - 2), 4);
      out.SB(edge.control.x, bits);
      out.SB(edge.control.y, bits);
      out.SB(edge.anchor.x, bits);
      out.SB(edge.anchor.y, bits);
    } else if (edge.anchor.x != 0 && edge.anchor.y != 0) {
      const int bits = EdgeBits({edge.anchor.x, edge.anchor.y});
      out.UB(static_cast<uint32_t>(bits - 2), 4);
      out.UB(1, 1);  // general line
      out.SB(edge.anchor.x, bits);
      out.SB(edge.anchor.y, bits);
    } else {
      const bool vertical = edge.anchor.x == 0;
      const int32_t delta = vertical ? edge.anchor.y : edge.anchor.x;
      const int bits = EdgeBits({delta});
      out.UB(static_cast<uint32_t>(bits - 2), 4);
      out.UB(0, 1);
      out.UB(vertical, 1);
      out.SB(delta, bits);
    }
  }
  out.UB(0, 6);  // end of shape
  out.Align();
}

}  // namespace swfwriter
