#include <gtest/gtest.h>

#include <cmath>

#include "tests/tools/swf_reader.h"
#include "tools/swf/Movie.h"

using namespace swfwriter;

namespace {

// Defines the shape in a movie of its own and reads the shape tag back.
swftest::Tag ShapeTag(const Shape& shape, std::optional<int> version = std::nullopt)
{
  Movie movie({});
  if (version)
    movie.DefineShape(shape, *version);
  else
    movie.DefineShape(shape);
  return swftest::ReadMovie(movie.Save()).tags.at(0);
}

swftest::ParsedShape Parse(const Shape& shape)
{
  return swftest::ReadShape(ShapeTag(shape));
}

bool IsClosed(const std::vector<swftest::Segment>& segments)
{
  for (size_t i = 1; i < segments.size(); ++i)
    if (segments[i].from != segments[i - 1].to)
      return false;
  return !segments.empty() && segments.back().to == segments.front().from;
}

}  // namespace

TEST(SwfShape, OneFilledSquareIsBitExact)
{
  Shape square;
  square.Rectangle(PxRect(0, 0, 1, 1), square.AddFill(Rgb(0xFF0000)));
  const swftest::Tag tag = ShapeTag(square);
  EXPECT_EQ(swf::kTagDefineShape, tag.code);
  EXPECT_EQ((Bytes{0x01, 0x00, 0x30, 0x0A, 0x00, 0xA0, 0x01, 0x00, 0xFF, 0x00, 0x00, 0x00,
                   0x10, 0x14, 0x1D, 0x05, 0x34, 0x54, 0xD0, 0xB3, 0x46, 0xC0, 0x00}),
            tag.body);
}

TEST(SwfShape, PenRecordsReadBackWithAbsoluteCoordinatesAndStyles)
{
  Shape shape;
  const int red = shape.AddFill(Rgb(0xFF0000));
  const int blue = shape.AddFill(Rgb(0x0000FF));
  const int thick = shape.AddLine(40, Rgb(0x000000));
  shape.MoveTo(100, 100).FillStyle0(red).LineStyle(thick);
  shape.LineTo(300, 100).CurveTo(400, 100, 400, 200).LineTo(100, 210).LineTo(100, 100);
  shape.MoveTo(-50, 500).FillStyle0(0).FillStyle1(blue).LineStyle(0).LineTo(-50, -30000);

  const swftest::ParsedShape parsed = Parse(shape);
  ASSERT_EQ(5u, parsed.segments.size());
  const auto& s = parsed.segments;
  EXPECT_EQ((Point{100, 100}), s[0].from);
  EXPECT_EQ((Point{300, 100}), s[0].to);
  EXPECT_EQ((Point{400, 100}), s[1].control);
  EXPECT_EQ((Point{400, 200}), s[1].to);
  EXPECT_EQ((Point{100, 210}), s[2].to);
  EXPECT_EQ((Point{100, 100}), s[3].to);
  EXPECT_EQ(red, s[3].fill0);
  EXPECT_EQ(0, s[3].fill1);
  EXPECT_EQ(thick, s[3].line);
  EXPECT_EQ((Point{-50, 500}), s[4].from);
  EXPECT_EQ((Point{-50, -30000}), s[4].to);
  EXPECT_EQ(0, s[4].fill0);
  EXPECT_EQ(blue, s[4].fill1);
  EXPECT_EQ(0, s[4].line);
  EXPECT_EQ(2u, parsed.fills.size());
  EXPECT_EQ((std::pair<uint16_t, Color>{40, Rgb(0)}), parsed.lines.at(0));
  // Edges under the 40-twip line reach 20 twips further; the last edge has no line.
  EXPECT_EQ((Rect{-50, 420, -30000, 500}), parsed.bounds);
}

TEST(SwfShape, FiguresAreClosedWithTheirFillInside)
{
  Shape ellipse;
  ellipse.Ellipse(1000, 500, 400, 200, ellipse.AddFill(Rgb(0x123456)));
  const swftest::ParsedShape e = Parse(ellipse);
  ASSERT_EQ(8u, e.segments.size());
  EXPECT_TRUE(IsClosed(e.segments));
  for (const swftest::Segment& s : e.segments) {
    ASSERT_TRUE(s.control);
    EXPECT_EQ(1, s.fill1);
    const double dx = (s.to.x - 1000) / 400.0, dy = (s.to.y - 500) / 200.0;
    EXPECT_NEAR(1.0, std::hypot(dx, dy), 0.005);
  }
  EXPECT_EQ((Rect{600, 1400, 300, 700}), e.bounds);

  Shape rounded;
  rounded.RoundedRectangle(PxRect(0, 0, 40, 20), Px(50), rounded.AddFill(Rgb(0)));
  const swftest::ParsedShape r = Parse(rounded);
  EXPECT_TRUE(IsClosed(r.segments));
  EXPECT_EQ(12u, r.segments.size());  // radius clamped to half the height: 4 sides, 8 arcs
  EXPECT_EQ(PxRect(0, 0, 40, 20), r.bounds);

  // A polygon's inside is on the side its winding says.
  const Point clockwise[] = {{0, 0}, {100, 0}, {0, 100}};
  const Point counterClockwise[] = {{0, 0}, {0, 100}, {100, 0}};
  Shape triangles;
  const int fill = triangles.AddFill(Rgb(0xFFFFFF));
  triangles.Polygon(clockwise, fill).Polygon(counterClockwise, fill);
  const swftest::ParsedShape t = Parse(triangles);
  ASSERT_EQ(6u, t.segments.size());
  EXPECT_EQ(0, t.segments[0].fill0);
  EXPECT_EQ(fill, t.segments[0].fill1);
  EXPECT_EQ(fill, t.segments[3].fill0);
  EXPECT_EQ(0, t.segments[3].fill1);
}

TEST(SwfShape, BoundsFollowCurvesToTheirTurningPoint)
{
  Shape arch;
  arch.MoveTo(0, 0).LineStyle(arch.AddLine(20, Rgb(0))).CurveTo(50, 100, 100, 0);
  EXPECT_EQ((Rect{-10, 110, -10, 60}), arch.Bounds());
  EXPECT_EQ(Rect{}, Shape().Bounds());
}

TEST(SwfShape, VersionFollowsWhatTheStylesNeed)
{
  Shape translucent;
  translucent.Circle(0, 0, 100, translucent.AddFill(Rgba(0xFBDFDD, 0x40)));
  const swftest::Tag shape3 = ShapeTag(translucent);
  EXPECT_EQ(swf::kTagDefineShape3, shape3.code);
  EXPECT_EQ(Rgba(0xFBDFDD, 0x40), swftest::ReadShape(shape3).fills.at(0));
  EXPECT_THROW(ShapeTag(translucent, 2), std::invalid_argument);

  Shape manyFills;
  for (int i = 0; i < 300; ++i)
    manyFills.AddFill(Rgb(static_cast<uint32_t>(i)));
  manyFills.Rectangle(PxRect(0, 0, 1, 1), 300);
  const swftest::Tag shape2 = ShapeTag(manyFills);
  EXPECT_EQ(swf::kTagDefineShape2, shape2.code);
  const swftest::ParsedShape parsed = swftest::ReadShape(shape2);
  EXPECT_EQ(300u, parsed.fills.size());
  EXPECT_EQ(300, parsed.segments.at(0).fill1);
  EXPECT_THROW(ShapeTag(manyFills, 1), std::out_of_range);
}

TEST(SwfShape, RefusesWhatItCannotEncode)
{
  Shape shape;
  EXPECT_THROW(shape.FillStyle1(1), std::out_of_range);  // no fill defined yet
  EXPECT_THROW(shape.LineStyle(-1), std::out_of_range);
  EXPECT_THROW(shape.LineTo(70000, 0), std::out_of_range);  // an edge holds 17-bit deltas
  EXPECT_THROW(shape.CurveTo(0, 0, 0, -70000), std::out_of_range);
  const Point two[] = {{0, 0}, {1, 1}};
  EXPECT_THROW(shape.Polygon(two, 0), std::invalid_argument);
}
