// The scan converter on its own: exact area coverage, the two fill rules, clipping.
#include <gtest/gtest.h>

#include <map>

#include "flash_control/swf/raster/Rasterizer.h"

using swf::raster::FillRule;
using swf::raster::Rasterizer;
using swf::raster::SubPoint;

namespace {

constexpr int32_t kOne = swf::raster::kSubpixels;

// Coverage per pixel (0 to 256) of the polygons, each a closed list of points in subpixels.
std::map<std::pair<int, int>, int> Cover(const std::vector<std::vector<SubPoint>>& polygons, FillRule rule,
                                         TRect clip = {0, 0, 16, 16})
{
  Rasterizer r;
  r.Reset(clip);
  for (const auto& polygon : polygons) {
    r.MoveTo(polygon.front());
    for (size_t i = 1; i < polygon.size(); ++i)
      r.LineTo(polygon[i]);
    r.ClosePath();
  }
  std::map<std::pair<int, int>, int> coverage;
  r.Sweep(rule, [&](int32_t y, int32_t x, int32_t length, int32_t c) {
    for (int32_t i = 0; i < length; ++i) {
      EXPECT_TRUE(x + i >= clip.Left && x + i < clip.Right && y >= clip.Top && y < clip.Bottom);
      coverage[{x + i, y}] = c;
    }
  });
  return coverage;
}

std::vector<SubPoint> Square(int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
  return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

}  // namespace

TEST(Rasterizer, CoversExactAreas)
{
  // From (1.5, 1.25) to (3.5, 2.0): a half-covered column on each side, a quarter of a row cut off.
  const auto c = Cover({Square(kOne * 3 / 2, kOne * 5 / 4, kOne * 7 / 2, kOne * 2)}, FillRule::NonZero);
  EXPECT_EQ(96, c.at({1, 1}));   // 0.5 x 0.75
  EXPECT_EQ(192, c.at({2, 1}));  // 1 x 0.75
  EXPECT_EQ(96, c.at({3, 1}));
  EXPECT_EQ(3u, c.size());

  // A diagonal halves the pixels it crosses.
  const auto t = Cover({{{0, 0}, {4 * kOne, 4 * kOne}, {0, 4 * kOne}}}, FillRule::NonZero);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(128, t.at({i, i}));
    if (i > 0) {
      EXPECT_EQ(256, t.at({0, i}));
    }
  }
}

TEST(Rasterizer, FillRulesDifferWhereShapesOverlap)
{
  const auto outer = Square(0, 0, 6 * kOne, 6 * kOne);
  const auto inner = Square(2 * kOne, 2 * kOne, 4 * kOne, 4 * kOne);
  auto reversed = inner;
  std::reverse(reversed.begin(), reversed.end());
  const struct {
    std::vector<SubPoint> second;
    FillRule rule;
    int center;
  } cases[] = {
      {inner, FillRule::NonZero, 256},    // winding 2
      {inner, FillRule::EvenOdd, 0},      // a hole
      {reversed, FillRule::NonZero, 0},   // winding 0
      {reversed, FillRule::EvenOdd, 0},
  };
  for (const auto& k : cases) {
    const auto c = Cover({outer, k.second}, k.rule);
    EXPECT_EQ(k.center, c.count({3, 3}) ? c.at({3, 3}) : 0);
    EXPECT_EQ(256, c.at({0, 0}));
  }
}

TEST(Rasterizer, ClipsWithoutLosingTheWindingOfEdgesOutside)
{
  // A square from x -100 to 100 and y -5 to 5 pixels, clipped to the 16 by 16 box: the visible part is
  // full, and nothing is emitted outside.
  const auto c = Cover({Square(-100 * kOne, -5 * kOne, 100 * kOne, 5 * kOne)}, FillRule::NonZero, {2, 2, 10, 10});
  EXPECT_EQ(8u * 3u, c.size());
  for (int y = 2; y < 5; ++y)
    for (int x = 2; x < 10; ++x)
      EXPECT_EQ(256, c.at({x, y}));
  // Coordinates far out of range are clamped, not overflowed.
  const auto huge = Cover({{{INT32_MIN, INT32_MIN}, {INT32_MAX, 0}, {0, INT32_MAX}}}, FillRule::EvenOdd);
  EXPECT_FALSE(huge.empty());
}
