#include "flash_control/swf/raster/Path.h"

#include <cmath>

namespace swf::raster {

namespace {

// Curves never need more chords than this, however large they are drawn.
constexpr int64_t kMaxChords = 512;
// Flatness tolerance in subpixels.
constexpr int64_t kTolerance = 24;

}  // namespace

uint64_t SquareRoot(uint64_t n)
{
  // The floating-point estimate is only a start; the integer corrections make the result exact
  // whatever rounding the platform's floating point does.
  uint64_t r = static_cast<uint64_t>(std::sqrt(static_cast<double>(n)));
  while (r > 0 && r > n / r)
    --r;
  while ((r + 1) <= n / (r + 1))
    ++r;
  return r;
}

SubPoint ScaleTo(SubPoint v, int32_t length)
{
  const int64_t x = v.X, y = v.Y;
  const int64_t norm = static_cast<int64_t>(SquareRoot(static_cast<uint64_t>(x * x + y * y)));
  if (norm == 0)
    return {0, 0};
  auto scale = [&](int64_t c) {
    const int64_t p = c * length;
    return static_cast<int32_t>((p >= 0 ? p + norm / 2 : p - norm / 2) / norm);
  };
  return {scale(x), scale(y)};
}

void FlattenQuadratic(SubPoint from, SubPoint control, SubPoint to, std::vector<SubPoint>& out)
{
  // The curve lies within |from - 2 control + to| / 4 of its chord; n chords cut that by n^2.
  const int64_t ddx = int64_t{from.X} - 2 * int64_t{control.X} + to.X;
  const int64_t ddy = int64_t{from.Y} - 2 * int64_t{control.Y} + to.Y;
  const uint64_t deviation = static_cast<uint64_t>(std::max(std::abs(ddx), std::abs(ddy))) / 4;
  int64_t n = static_cast<int64_t>(SquareRoot(deviation / kTolerance)) + 1;
  n = std::min(n, kMaxChords);
  const int64_t nn = n * n;
  for (int64_t i = 1; i < n; ++i) {
    // B(t) = (1-t)^2 P0 + 2t(1-t) P1 + t^2 P2 with t = i/n, in exact integers.
    const int64_t a = (n - i) * (n - i), b = 2 * i * (n - i), c = i * i;
    auto at = [&](int64_t p0, int64_t p1, int64_t p2) {
      const int64_t sum = a * p0 + b * p1 + c * p2;
      return static_cast<int32_t>((sum >= 0 ? sum + nn / 2 : sum - nn / 2) / nn);
    };
    out.push_back({at(from.X, control.X, to.X), at(from.Y, control.Y, to.Y)});
  }
  out.push_back(to);
}

}  // namespace swf::raster
