#include "flash_control/swf/raster/Rasterizer.h"

namespace swf::raster {

namespace {

// About a million pixels either way: far outside any target, and small enough that the products
// of the clipping arithmetic fit in 64 bits. Geometry beyond it is flattened onto it.
constexpr int32_t kCoordinateLimit = 1 << 28;

int32_t Limit(int32_t v)
{
  return std::clamp(v, -kCoordinateLimit, kCoordinateLimit);
}

// The coordinate of the line (a0, b0)-(a1, b1) along b where it meets a == at; a0 != a1.
int32_t Intercept(int32_t a0, int32_t b0, int32_t a1, int32_t b1, int32_t at)
{
  return static_cast<int32_t>(b0 + int64_t{at - a0} * (b1 - b0) / (a1 - a0));
}

}  // namespace

void Rasterizer::Reset(const TRect& clip)
{
  clip_ = clip;
  cells_.clear();
  current_ = {0, 0, 0, 0};
}

void Rasterizer::AddLine(SubPoint from, SubPoint to)
{
  int32_t x0 = Limit(from.X), y0 = Limit(from.Y), x1 = Limit(to.X), y1 = Limit(to.Y);
  const int32_t top = clip_.Top * kSubpixels, bottom = clip_.Bottom * kSubpixels;
  if (y0 == y1 || std::max(y0, y1) <= top || std::min(y0, y1) >= bottom)
    return;
  // Vertical clip: the parts above and below the clip change no visible pixel.
  if (y0 < top || y1 < top) {
    const int32_t x = Intercept(y0, x0, y1, x1, top);
    (y0 < top ? x0 : x1) = x;
    (y0 < top ? y0 : y1) = top;
  }
  if (y0 > bottom || y1 > bottom) {
    const int32_t x = Intercept(y0, x0, y1, x1, bottom);
    (y0 > bottom ? x0 : x1) = x;
    (y0 > bottom ? y0 : y1) = bottom;
  }
  // Horizontal clip: a part left of the clip still winds every pixel to its right, so it becomes
  // a vertical edge on the left border; a part right of it changes nothing visible.
  const int32_t left = clip_.Left * kSubpixels, right = clip_.Right * kSubpixels;
  if (x0 >= right && x1 >= right)
    return;
  if ((x0 < left) != (x1 < left)) {
    const int32_t y = Intercept(x0, y0, x1, y1, left);
    if (x0 < left) {
      AddClippedLine(left, y0, left, y);
      x0 = left, y0 = y;
    } else {
      AddClippedLine(left, y, left, y1);
      x1 = left, y1 = y;
    }
  }
  if (x0 > right) {
    y0 = Intercept(x0, y0, x1, y1, right);
    x0 = right;
  } else if (x1 > right) {
    y1 = Intercept(x0, y0, x1, y1, right);
    x1 = right;
  }
  AddClippedLine(std::clamp(x0, left, right), y0, std::clamp(x1, left, right), y1);
}

void Rasterizer::AddClippedLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
  const int32_t row0 = y0 >> kSubpixelShift, row1 = y1 >> kSubpixelShift;
  int32_t x = x0, y = y0;
  if (y1 > y0) {
    for (int32_t row = row0; row < row1; ++row) {
      const int32_t boundary = (row + 1) << kSubpixelShift;
      const int32_t xb = Intercept(y0, x0, y1, x1, boundary);
      AddRowLine(row, x, y - (row << kSubpixelShift), xb, kSubpixels);
      x = xb, y = boundary;
    }
  } else {
    for (int32_t row = row0; row > row1; --row) {
      const int32_t boundary = row << kSubpixelShift;
      const int32_t xb = Intercept(y0, x0, y1, x1, boundary);
      AddRowLine(row, x, y - boundary, xb, 0);
      x = xb, y = boundary;
    }
  }
  AddRowLine(row1, x, y - (row1 << kSubpixelShift), x1, y1 - (row1 << kSubpixelShift));
}

// One edge inside one pixel row; fy0 and fy1 are 0 to kSubpixels within the row.
void Rasterizer::AddRowLine(int32_t row, int32_t x0, int32_t fy0, int32_t x1, int32_t fy1)
{
  if (fy0 == fy1)
    return;
  const int32_t cx0 = x0 >> kSubpixelShift, cx1 = x1 >> kSubpixelShift;
  const int32_t fx0 = x0 & (kSubpixels - 1), fx1 = x1 & (kSubpixels - 1);
  if (cx0 == cx1) {
    AddToCell(cx0, row, fy1 - fy0, (fy1 - fy0) * (fx0 + fx1));
    return;
  }
  // Walk the cells the edge crosses, splitting it where it meets their borders.
  int32_t fy = fy0, fx = fx0;
  const int32_t step = x1 > x0 ? 1 : -1;
  for (int32_t cx = cx0; cx != cx1; cx += step) {
    const int32_t border = (step > 0 ? cx + 1 : cx) << kSubpixelShift;
    const int32_t yb = Intercept(x0, fy0, x1, fy1, border);
    const int32_t exitFx = step > 0 ? kSubpixels : 0;
    AddToCell(cx, row, yb - fy, (yb - fy) * (fx + exitFx));
    fy = yb;
    fx = kSubpixels - exitFx;
  }
  AddToCell(cx1, row, fy1 - fy, (fy1 - fy) * (fx + fx1));
}

void Rasterizer::AddToCell(int32_t cellX, int32_t row, int32_t cover, int64_t area)
{
  if (cover == 0 && area == 0)
    return;
  if (cellX != current_.X || row != current_.Y) {
    FlushCell();
    current_ = {cellX, row, 0, 0};
  }
  current_.Cover += cover;
  current_.Area += area;
}

void Rasterizer::FlushCell()
{
  if ((current_.Cover != 0 || current_.Area != 0) && current_.X < clip_.Right)
    cells_.push_back(current_);
  current_.Cover = current_.Area = 0;
}

void Rasterizer::SortCells()
{
  std::sort(cells_.begin(), cells_.end(),
            [](const Cell& a, const Cell& b) { return a.Y != b.Y ? a.Y < b.Y : a.X < b.X; });
}

}  // namespace swf::raster
