// Shape: the styles and drawing records of a DefineShape character, built with a pen (move, line,
// quadratic curve, style changes) or with whole figures. Coordinates are twips, absolute; the
// records store the deltas between them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <variant>
#include <vector>

#include "tools/swf/ByteWriter.h"
#include "tools/swf/Records.h"

namespace swfwriter {

struct Point {
  int32_t x = 0;
  int32_t y = 0;

  friend bool operator==(const Point&, const Point&) = default;
};

class Shape {
public:
  // Style numbers count from 1, as shape records use them; 0 means "no style".
  int AddFill(Color color);
  // Width in twips.
  int AddLine(uint16_t width, Color color);

  // The pen. Style changes and moves between two edges go into one style-change record.
  Shape& MoveTo(int32_t x, int32_t y);
  Shape& FillStyle0(int fill);
  Shape& FillStyle1(int fill);
  Shape& LineStyle(int line);
  Shape& LineTo(int32_t x, int32_t y);
  Shape& CurveTo(int32_t controlX, int32_t controlY, int32_t anchorX, int32_t anchorY);

  // Closed figures with `fill` inside (0 for none) and an optional outline. Rectangles, rounded
  // rectangles and ellipses run clockwise on the screen, so their inside is fill style 1; a polygon
  // takes the side its winding puts inside. Curves are quadratic, one per 45 degrees of arc.
  Shape& Rectangle(const Rect& rect, int fill, int line = 0);
  Shape& RoundedRectangle(const Rect& rect, int32_t radius, int fill, int line = 0);
  Shape& Ellipse(int32_t centerX, int32_t centerY, int32_t radiusX, int32_t radiusY, int fill,
                 int line = 0);
  Shape& Circle(int32_t centerX, int32_t centerY, int32_t radius, int fill, int line = 0)
  {
    return Ellipse(centerX, centerY, radius, radius, fill, line);
  }
  Shape& Polygon(std::span<const Point> points, int fill, int line = 0);
  // An open path drawn with a line style only.
  Shape& Polyline(std::span<const Point> points, int line);

  // The edges' extent, widened by half the width of the line drawing each edge.
  Rect Bounds() const;
  // True when a style colour is not opaque, which only the third shape version can store.
  bool HasTranslucentStyle() const;
  size_t FillCount() const { return FFills.size(); }
  size_t LineCount() const { return FLines.size(); }

  // The shape with its styles as DefineShape `version` (1, 2 or 3) stores it.
  void Write(ByteWriter& out, int version) const;

private:
  struct LineStyleRecord {
    uint16_t width;
    Color color;
  };
  struct StyleChange {
    std::optional<Point> moveTo;
    std::optional<int> fill0;
    std::optional<int> fill1;
    std::optional<int> line;
  };
  struct Edge {
    bool curved;
    Point control;  // deltas; for a straight edge only `anchor` counts
    Point anchor;
  };

  StyleChange& PendingChange();
  void SetStyle(std::optional<int> StyleChange::*field, int& current, int value, size_t count);
  void Include(Point point);
  void BeginFigure(Point start, int fill, int line, bool clockwise);
  void Arc(Point center, int32_t radiusX, int32_t radiusY, double startDegrees,
           double sweepDegrees);

  std::vector<Color> FFills;
  std::vector<LineStyleRecord> FLines;
  std::vector<std::variant<StyleChange, Edge>> FRecords;
  Point FPen;
  int FFill0 = 0;
  int FFill1 = 0;
  int FLine = 0;
  std::optional<Rect> FBounds;
};

}  // namespace swfwriter
