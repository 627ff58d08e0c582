// Anti-aliased scan conversion by exact area coverage. Edges are given in subpixels (1/256 pixel);
// each edge adds, to every pixel cell it crosses, the height it spans there ("cover") and twice the
// area it leaves to its left ("area"). Sweeping a row left to right, the running cover gives the
// winding of the space between cells and cover minus area the coverage of a crossed cell; the fill
// rule then folds that signed coverage into an alpha. Everything is integer arithmetic, so the same
// edges give the same pixels on every platform.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/Types.h"

namespace swf::raster {

constexpr int kSubpixelShift = 8;
constexpr int32_t kSubpixels = 1 << kSubpixelShift;
// Coverage of a whole pixel as the sweep hands it on.
constexpr int32_t kFullCoverage = 256;

struct SubPoint {
  int32_t X = 0, Y = 0;
};

enum class FillRule { NonZero, EvenOdd };

class Rasterizer {
public:
  // Starts a new figure clipped to `clip` (pixels, right and bottom exclusive).
  void Reset(const TRect& clip);
  // Adds one edge. Its direction sets the sign of its winding.
  void AddLine(SubPoint from, SubPoint to);
  // Contours: MoveTo starts one, ClosePath ends it with an edge back to its start.
  void MoveTo(SubPoint p) { start_ = pen_ = p; }
  void LineTo(SubPoint p)
  {
    AddLine(pen_, p);
    pen_ = p;
  }
  void ClosePath() { LineTo(start_); }
  bool Empty() const { return cells_.empty() && current_.Cover == 0 && current_.Area == 0; }

  // Calls sink(y, x, length, coverage) for every run of pixels with the same non-zero coverage
  // (1 to kFullCoverage), rows top to bottom, left to right in a row.
  template <class Sink>
  void Sweep(FillRule rule, Sink&& sink);

private:
  struct Cell {
    int32_t X, Y;
    int64_t Cover, Area;  // many overlapping edges may pass one cell
  };

  void AddClippedLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
  void AddRowLine(int32_t row, int32_t x0, int32_t fy0, int32_t x1, int32_t fy1);
  void AddToCell(int32_t cellX, int32_t row, int32_t cover, int64_t area);
  void FlushCell();
  void SortCells();
  static int32_t Fold(int64_t value, FillRule rule);

  TRect clip_;
  SubPoint start_, pen_;
  std::vector<Cell> cells_;
  Cell current_{0, 0, 0, 0};
};

// Signed coverage (cover * 2 * kSubpixels - area, in 1/(2*256*256) pixel) folded by the fill rule.
inline int32_t Rasterizer::Fold(int64_t value, FillRule rule)
{
  int64_t coverage = std::abs(value) >> (kSubpixelShift + 1);
  if (rule == FillRule::EvenOdd) {
    coverage &= 2 * kFullCoverage - 1;
    if (coverage > kFullCoverage)
      coverage = 2 * kFullCoverage - coverage;
  }
  return static_cast<int32_t>(std::min<int64_t>(coverage, kFullCoverage));
}

template <class Sink>
void Rasterizer::Sweep(FillRule rule, Sink&& sink)
{
  FlushCell();
  SortCells();
  size_t i = 0;
  while (i < cells_.size()) {
    const int32_t row = cells_[i].Y;
    int64_t cover = 0;
    while (i < cells_.size() && cells_[i].Y == row) {
      const int32_t x = cells_[i].X;
      int64_t area = 0;
      do {
        cover += cells_[i].Cover;
        area += cells_[i].Area;
        ++i;
      } while (i < cells_.size() && cells_[i].Y == row && cells_[i].X == x);
      if (x >= clip_.Right)
        break;
      const int32_t here = Fold(cover * (2 * kSubpixels) - area, rule);
      if (here)
        sink(row, x, 1, here);
      const int32_t next = i < cells_.size() && cells_[i].Y == row ? std::min(cells_[i].X, clip_.Right) : clip_.Right;
      if (next > x + 1) {
        const int32_t between = Fold(cover * (2 * kSubpixels), rule);
        if (between)
          sink(row, x + 1, next - x - 1, between);
      }
    }
    while (i < cells_.size() && cells_[i].Y == row)
      ++i;
  }
}

}  // namespace swf::raster
