#include "graphics/utils/Rects.h"

#include <cmath>

namespace {

TRect MovedTo(const TRect& R, int32_t left, int32_t top)
{
  return {left, top, left + RectWidth(R), top + RectHeight(R)};
}

TRect Shifted(const TRect& R, int32_t dx, int32_t dy)
{
  return {R.Left + dx, R.Top + dy, R.Right + dx, R.Bottom + dy};
}

// The left and right, or top and bottom, margins.
struct TMarginPair {
  int32_t First;
  int32_t Second;
};

// Each margin alone and both together fit into size.
bool Fits(int32_t size, int32_t first, int32_t second)
{
  return size >= first && size >= second && size >= int64_t{first} + second;
}

// The margins scaled by size / (first + second), held as a 32-bit float (1 for a zero sum), each
// product rounded to nearest, ties to even.
TMarginPair Scaled(int32_t size, int32_t first, int32_t second)
{
  const int64_t sum = int64_t{first} + second;
  const float k = sum == 0 ? 1.0f : static_cast<float>(static_cast<long double>(size) / sum);
  return {static_cast<int32_t>(std::llrint(first * static_cast<long double>(k))),
          static_cast<int32_t>(std::llrint(second * static_cast<long double>(k)))};
}

}  // namespace

TRect RectHCenter(TRect& R, const TRect& Bounds)
{
  R = Shifted(MovedTo(R, Bounds.Left, Bounds.Top), (RectWidth(Bounds) - RectWidth(R)) / 2, 0);
  return R;
}

TRect RectVCenter(TRect& R, const TRect& Bounds)
{
  R = Shifted(MovedTo(R, Bounds.Left, Bounds.Top), 0, (RectHeight(Bounds) - RectHeight(R)) / 2);
  return R;
}

TRect RectCenter(TRect& R, const TRect& Bounds)
{
  R = Shifted(MovedTo(R, Bounds.Left, Bounds.Top), (RectWidth(Bounds) - RectWidth(R)) / 2,
              (RectHeight(Bounds) - RectHeight(R)) / 2);
  return R;
}

TRect MarginRect(const TRect& R, const TRect& Margins)
{
  TMarginPair horizontal{Margins.Left, Margins.Right};
  TMarginPair vertical{Margins.Top, Margins.Bottom};
  if (!Fits(RectWidth(R), Margins.Left, Margins.Right))
    horizontal = Scaled(RectWidth(R), Margins.Left, Margins.Right);
  else if (!Fits(RectHeight(R), Margins.Top, Margins.Bottom))
    vertical = Scaled(RectHeight(R), Margins.Top, Margins.Bottom);
  return {R.Left + horizontal.First, R.Top + vertical.First, R.Right - horizontal.Second,
          R.Bottom - vertical.Second};
}
