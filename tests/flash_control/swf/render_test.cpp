// Drawing a movie's frame into pixels: backdrops, straight alpha, transforms, clips, anti-aliasing,
// fill rules of shapes, line widths and curves.
#include <gtest/gtest.h>

#include <cmath>

#include "Fixtures.h"

using namespace swftest;
using swfwriter::Px;
using swfwriter::Rgb;
using swfwriter::Rgba;

namespace {

// `version` forces a shape definition form (1 to 3); 0 takes the smallest that holds the shape.
swf::Player PlayerWith(const swfwriter::Shape& shape, int width = 40, int height = 30, int version = 0)
{
  auto movie = NewMovie(width, height);
  movie.SetBackgroundColor(Rgb(0x102030));
  movie.PlaceObject2({.depth = 1, .character = version ? movie.DefineShape(shape, version) : movie.DefineShape(shape)});
  movie.ShowFrame();
  swf::Player player;
  EXPECT_TRUE(Load(player, movie)) << player.LastError();
  return player;
}

uint8_t Alpha(uint32_t argb)
{
  return uint8_t(argb >> 24);
}

uint8_t Red(uint32_t argb)
{
  return uint8_t(argb >> 16);
}

}  // namespace

TEST(Render, BackdropsAndStraightAlpha)
{
  const swf::Player player = PlayerWith(Box(10, 10, 20, 20, 0xFF0000));
  // Opaque: the background colour fills the clip, the shape's colour inside.
  Canvas opaque = Draw(player, swf::Backdrop::Opaque, 0x12345678);
  EXPECT_EQ(0xFF102030u, opaque.At(2, 2));
  EXPECT_EQ(0xFFFF0000u, opaque.At(15, 15));
  // Transparent: pixels outside the shapes are not touched.
  Canvas over = Draw(player, swf::Backdrop::Transparent, 0x12345678);
  EXPECT_EQ(0x12345678u, over.At(2, 2));
  EXPECT_EQ(0xFFFF0000u, over.At(15, 15));
  // Over transparent black the drawing keeps its own alpha.
  const swf::Player half = PlayerWith(Box(10, 10, 20, 20, 0x00FF00, 128));
  Canvas clear = Draw(half, swf::Backdrop::Transparent, 0);
  EXPECT_EQ(0u, clear.At(2, 2));
  EXPECT_EQ(0x8000FF00u, clear.At(15, 15));  // straight: the colour stays full
  // Over an opaque pixel the result is opaque and mixed.
  Canvas mixed = Draw(half, swf::Backdrop::Transparent, 0xFFFF0000);
  EXPECT_EQ(0xFF7F8000u, mixed.At(15, 15));
  // Over a half-transparent pixel: alpha 128 + 128 * 127 / 255, colour weighted by contribution.
  Canvas partial = Draw(half, swf::Backdrop::Transparent, 0x80FF0000);
  EXPECT_EQ(192, Alpha(partial.At(15, 15)));
  EXPECT_NEAR(85, Red(partial.At(15, 15)), 1);
}

TEST(Render, EdgesBetweenPixelsAreAntiAliased)
{
  const swf::Player player = PlayerWith(Box(10.5, 10, 20, 20.25, 0xFFFFFF));
  Canvas c = Draw(player, swf::Backdrop::Transparent, 0);
  EXPECT_EQ(0x80FFFFFFu, c.At(10, 15));  // half a pixel covered
  EXPECT_EQ(0x40FFFFFFu, c.At(15, 20));  // a quarter
  EXPECT_EQ(0x20FFFFFFu, c.At(10, 20));  // an eighth
  EXPECT_EQ(0u, c.At(9, 15));
  EXPECT_EQ(0u, c.At(20, 15));
}

TEST(Render, TransformClipAndBottomUpRows)
{
  const swf::Player player = PlayerWith(Box(10, 10, 20, 20, 0xFF0000));
  // Twice the size, moved by (5, 3): the box covers 25..45 x 23..43.
  Canvas big(60, 50, 0);
  player.Render(big.View(), {2, 2, 5, 3}, big.Bounds(), swf::Backdrop::Transparent);
  EXPECT_EQ(0u, big.At(24, 30));
  EXPECT_EQ(0xFFFF0000u, big.At(25, 23));
  EXPECT_EQ(0xFFFF0000u, big.At(44, 42));
  EXPECT_EQ(0u, big.At(45, 42));
  // Only the clip is touched, in both backdrops.
  Canvas clipped(60, 50, 0x11111111);
  player.Render(clipped.View(), {2, 2, 5, 3}, {30, 30, 35, 35}, swf::Backdrop::Opaque);
  EXPECT_EQ(0xFFFF0000u, clipped.At(30, 30));
  EXPECT_EQ(0x11111111u, clipped.At(29, 30));
  EXPECT_EQ(0x11111111u, clipped.At(35, 34));
  // A bottom-up view: rows counted from the end of the memory, with a negative step.
  Canvas flipped(40, 30, 0);
  swf::PixelView view{const_cast<uint8_t*>(flipped.Bytes().data()) + 29 * 40 * 4, 40, 30, -40 * 4};
  player.Render(view, {}, {0, 0, 40, 30}, swf::Backdrop::Opaque);
  EXPECT_EQ(0xFFFF0000u, flipped.At(15, 29 - 15));
  EXPECT_EQ(0xFF102030u, flipped.At(15, 29 - 5));
  // Transforms that make no sense draw nothing but the backdrop.
  for (const swf::StageTransform bad : {swf::StageTransform{NAN, 1, 0, 0}, swf::StageTransform{1e9, 1, 0, 0}}) {
    Canvas c(40, 30, 0);
    player.Render(c.View(), bad, c.Bounds(), swf::Backdrop::Opaque);
    EXPECT_EQ(0xFF102030u, c.At(15, 15));
  }
}

TEST(Render, ShapeFillsFollowTheirStyleSides)
{
  // A ring: one fill on the inside of the outer square and, by the inner square's reversed
  // direction, on the outside of the hole.
  swfwriter::Shape ring;
  const int red = ring.AddFill(Rgb(0xFF0000));
  ring.Rectangle(swfwriter::PxRect(5, 5, 35, 25), red);
  const swfwriter::Point hole[] = {{Px(15), Px(10)}, {Px(15), Px(20)}, {Px(25), Px(20)}, {Px(25), Px(10)}};
  ring.Polygon(hole, red);
  for (const int version : {1, 2, 3}) {
    Canvas c = Draw(PlayerWith(ring, 40, 30, version), swf::Backdrop::Transparent, 0);
    EXPECT_EQ(0xFFFF0000u, c.At(8, 8)) << version;
    EXPECT_EQ(0u, c.At(20, 15)) << version;
  }

  // Two fills sharing an edge: fill style 0 on one side, 1 on the other, no seam between them.
  swfwriter::Shape pair;
  const int left = pair.AddFill(Rgb(0x0000FF)), right = pair.AddFill(Rgb(0x00FF00));
  pair.MoveTo(Px(20), Px(5)).FillStyle0(left).FillStyle1(right).LineTo(Px(20), Px(25));
  pair.FillStyle0(0).LineTo(Px(35), Px(25)).LineTo(Px(35), Px(5)).LineTo(Px(20), Px(5));
  pair.MoveTo(Px(20), Px(25)).FillStyle0(0).FillStyle1(left).LineTo(Px(5), Px(25)).LineTo(Px(5), Px(5)).LineTo(Px(20), Px(5));
  Canvas p = Draw(PlayerWith(pair), swf::Backdrop::Transparent, 0);
  EXPECT_EQ(0xFF0000FFu, p.At(19, 15));
  EXPECT_EQ(0xFF00FF00u, p.At(20, 15));
  EXPECT_EQ(0u, p.At(36, 15));
}

TEST(Render, LinesHaveTheirWidthAndAtLeastOnePixel)
{
  auto widthAt = [](uint16_t twips) {
    swfwriter::Shape shape;
    const swfwriter::Point points[] = {{Px(5), Px(15)}, {Px(35), Px(15.5)}};
    shape.Polyline(points, shape.AddLine(twips, Rgb(0xFFFFFF)));
    Canvas c = Draw(PlayerWith(shape), swf::Backdrop::Transparent, 0);
    int total = 0;
    for (int y = 0; y < 30; ++y)
      total += Alpha(c.At(20, y));
    return total / 255.0;
  };
  EXPECT_NEAR(1.0, widthAt(0), 0.05);   // hairline
  EXPECT_NEAR(1.0, widthAt(5), 0.05);   // a quarter pixel, widened
  EXPECT_NEAR(4.0, widthAt(80), 0.05);
  EXPECT_NEAR(10.0, widthAt(200), 0.05);
}

TEST(Render, CurvesAreSmoothAndJoinsAreRound)
{
  swfwriter::Shape circle;
  circle.Circle(Px(50), Px(50), Px(40), circle.AddFill(Rgb(0xFFFFFF)));
  Canvas c = Draw(PlayerWith(circle, 100, 100), swf::Backdrop::Transparent, 0);
  double area = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x)
      area += Alpha(c.At(x, y)) / 255.0;
  // Quadratic arcs, one per 45 degrees, stay within 0.03% of the circle's area.
  EXPECT_NEAR(std::numbers::pi * 40 * 40, area, std::numbers::pi * 40 * 40 * 0.003);
  EXPECT_EQ(0xFFFFFFFFu, c.At(50, 11));
  EXPECT_EQ(0u, c.At(50, 9));

  // A thick polyline with a sharp turn: the outer corner is round, no gap inside.
  swfwriter::Shape vee;
  const swfwriter::Point points[] = {{Px(10), Px(40)}, {Px(50), Px(10)}, {Px(90), Px(40)}};
  vee.Polyline(points, vee.AddLine(Px(10), Rgb(0xFFFFFF)));
  Canvas v = Draw(PlayerWith(vee, 100, 100), swf::Backdrop::Transparent, 0);
  EXPECT_EQ(0xFFFFFFFFu, v.At(50, 10));
  EXPECT_EQ(0xFFFFFFFFu, v.At(50, 6));   // the round join reaches a half width above the apex
  EXPECT_EQ(0u, v.At(50, 3));
  EXPECT_EQ(0xFFFFFFFFu, v.At(10, 40));  // round caps
  EXPECT_EQ(0xFFFFFFFFu, v.At(6, 40));
}

TEST(Render, PixelsAreDeterministic)
{
  // A scene with curves, lines, translucency, rotation and a colour transform, checked against the
  // digest of its pixels: any change of arithmetic shows here (and the native build prints the same
  // digest).
  auto movie = NewMovie(64, 48);
  swfwriter::Shape shape;
  shape.Ellipse(Px(20), Px(20), Px(15), Px(9), shape.AddFill(Rgba(0x3388CC, 200)), shape.AddLine(Px(1.5), Rgb(0x112233)));
  shape.RoundedRectangle(swfwriter::PxRect(25, 10, 60, 40), Px(6), shape.AddFill(Rgba(0xCC8833, 160)));
  const uint16_t id = movie.DefineShape(shape);
  movie.PlaceObject2({.depth = 1, .character = id});
  movie.PlaceObject2({.depth = 2, .character = id,
                      .matrix = swfwriter::Matrix::Transform(Px(30), Px(5), 0.6, 0.8, 27),
                      .colorTransform = swfwriter::ColorTransform::Alpha(0.7)});
  movie.ShowFrame();
  swf::Player player;
  ASSERT_TRUE(Load(player, movie));
  Canvas c(64, 48, 0);
  player.Render(c.View(), {1, 1, 0.3, 0.2}, c.Bounds(), swf::Backdrop::Transparent);
  uint64_t digest = 1469598103934665603ull;
  for (uint8_t b : c.Bytes())
    digest = (digest ^ b) * 1099511628211ull;
  EXPECT_EQ(3492941571289316732ull, digest);
}
