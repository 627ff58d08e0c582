// Draws shapes and solid polygons into a pixel view: transforms twips to subpixels, flattens curves,
// strokes lines, scan-converts and composites. Integer arithmetic throughout.
#pragma once

#include <cstdint>
#include <vector>

#include "flash_control/swf/format/Geometry.h"
#include "flash_control/swf/format/Shape.h"
#include "flash_control/swf/raster/PixelView.h"
#include "flash_control/swf/raster/Rasterizer.h"
#include "platform/Types.h"

namespace swf::raster {

// Stage twips to target subpixels: x' = x * ScaleX / 65536 + OffsetX (and the same for y).
struct StageMapping {
  int64_t ScaleX = 0, ScaleY = 0;
  int64_t OffsetX = 0, OffsetY = 0;
};

// Twips of a character to target subpixels: x' = (A*x + C*y) / 65536 + Tx, y' = (B*x + D*y) / 65536 + Ty.
struct DeviceMatrix {
  int64_t A = 0, B = 0, C = 0, D = 0;
  int64_t Tx = 0, Ty = 0;
};

DeviceMatrix ToDevice(const Matrix& world, const StageMapping& stage);
SubPoint Transform(const DeviceMatrix& m, int32_t x, int32_t y);

class Painter {
public:
  // `clip` must lie inside the view.
  Painter(const PixelView& view, const TRect& clip) : view_(view), clip_(clip) {}

  // Whether anything drawn within `bounds` (twips, transformed by m) can reach the clip.
  bool Reaches(const TwipsRect& bounds, const DeviceMatrix& m) const;
  void DrawShape(const Shape& shape, const DeviceMatrix& m, const ColorTransform& cx);
  void FillPolygon(const std::vector<SubPoint>& corners, Rgba color);

private:
  void AddFillEdge(const ShapeEdge& e, const DeviceMatrix& m);
  void DrawStrokes(const std::vector<Stroke>& strokes, const LineStyle& style, const DeviceMatrix& m, Rgba color);
  bool OffClip(SubPoint a, SubPoint b, SubPoint c, int32_t margin) const;
  void Paint(FillRule rule, Rgba color);

  PixelView view_;
  TRect clip_;
  Rasterizer rasterizer_;
  std::vector<SubPoint> points_;
};

}  // namespace swf::raster
