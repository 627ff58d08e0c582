// Outlines of lines with round caps and round joins, for non-zero filling. Every outline winds the
// same way, so the strokes of one line style fill as their union.
#pragma once

#include <cstdint>
#include <vector>

#include "flash_control/swf/raster/Rasterizer.h"

namespace swf::raster {

class Stroker {
public:
  // `halfWidth` in subpixels, at least 1 and at most 2^24.
  Stroker(Rasterizer& target, int32_t halfWidth) : target_(target), radius_(halfWidth) {}

  // Adds the outline of the polyline through `points` (subpixels, within +-2^28). A polyline whose
  // last point is its first is closed and gets a join there instead of two caps; a single point is
  // a dot.
  void Stroke(std::vector<SubPoint> points);

private:
  void Side(const std::vector<SubPoint>& points, bool closed, bool startContour);
  void Join(SubPoint pivot, SubPoint before, SubPoint after);
  void Arc(SubPoint center, SubPoint from, SubPoint to, SubPoint through, int depth);
  void Cap(SubPoint center, SubPoint normal, SubPoint direction);
  void EndCap(const std::vector<SubPoint>& points);
  SubPoint Normal(SubPoint a, SubPoint b) const;

  Rasterizer& target_;
  int32_t radius_;
};

}  // namespace swf::raster
