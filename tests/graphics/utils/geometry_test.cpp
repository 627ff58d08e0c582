#include <gtest/gtest.h>

#include <vector>

#include "graphics/Qv_utils.h"

TEST(RectFunctions, CentringKeepsTheSizeAndTruncatesTheHalfDifference)
{
  const TRect bounds = Rect(100, 200, 115, 210);  // 15 by 10
  struct Case {
    const char* Name;
    TRect (*Centre)(TRect&, const TRect&);
    TRect R;
    TRect Expected;
  };
  const Case cases[] = {
    {"narrower, horizontally", RectHCenter, Rect(-7, -9, 3, -5), Rect(102, 200, 112, 204)},
    {"wider, horizontally", RectHCenter, Rect(0, 0, 20, 4), Rect(98, 200, 118, 204)},
    {"lower, vertically", RectVCenter, Rect(5, 5, 9, 12), Rect(100, 201, 104, 208)},
    {"higher, vertically", RectVCenter, Rect(5, 5, 9, 20), Rect(100, 198, 104, 213)},
    {"both", RectCenter, Rect(0, 0, 10, 7), Rect(102, 201, 112, 208)},
  };
  for (const Case& c : cases) {
    TRect r = c.R;
    const TRect result = c.Centre(r, bounds);
    EXPECT_EQ(c.Expected, result) << c.Name;
    EXPECT_EQ(c.Expected, r) << c.Name << ": changed in place";
  }
}

TEST(RectFunctions, MarginsScaleInOneDirectionOnly)
{
  struct Case {
    const char* Name;
    TRect R, Margins, Expected;
  };
  const Case cases[] = {
    {"margins fit", Rect(0, 0, 100, 100), Rect(10, 20, 30, 40), Rect(10, 20, 70, 60)},
    // 10 / (10 + 30) = 0.25: 2.5 and 7.5 round to the even 2 and 8.
    {"too narrow", Rect(0, 0, 10, 100), Rect(10, 5, 30, 5), Rect(2, 5, 2, 95)},
    {"too low", Rect(0, 0, 100, 10), Rect(1, 10, 1, 30), Rect(1, 2, 99, 2)},
    {"too small both ways", Rect(0, 0, 10, 10), Rect(10, 10, 30, 30), Rect(2, 10, 2, -20)},
    {"narrower than one margin alone", Rect(0, 0, 8, 10), Rect(9, 0, -3, 0), Rect(12, 0, 12, 10)},
    {"margins summing to zero", Rect(0, 0, 3, 10), Rect(5, 0, -5, 0), Rect(5, 0, 8, 10)},
    // k = 1/6 as a 32-bit float lies above 1/6, so 3·k passes the half that the exact ratio would
    // round to the even 0.
    {"a half that only the float ratio passes", Rect(0, 0, 1, 10), Rect(3, 0, 3, 0), Rect(1, 0, 0, 10)},
  };
  for (const Case& c : cases) EXPECT_EQ(c.Expected, MarginRect(c.R, c.Margins)) << c.Name;
}

TEST(RectFunctions, EmptinessContainmentAndOffset)
{
  EXPECT_TRUE(IsRectEmpty(Rect(5, 0, 5, 10)));
  EXPECT_TRUE(IsRectEmpty(Rect(0, 10, 10, 0)));
  EXPECT_FALSE(IsRectEmpty(Rect(0, 0, 1, 1)));

  const TRect outer = Rect(0, 0, 10, 10);
  EXPECT_TRUE(RectInRect(outer, outer));
  EXPECT_FALSE(RectInRect(Rect(0, 0, 11, 10), outer));
  EXPECT_FALSE(RectInRect(Rect(-1, 0, 5, 5), outer));

  EXPECT_EQ(Rect(-2, -2, 12, 12), RectOffset(outer, 2));
  EXPECT_EQ(Rect(1, 1, 9, 9), RectOffset(outer, -1));
}

TEST(PointInPolygon, FillsWithTheWindingRule)
{
  // A five-pointed star drawn in one stroke: its centre is covered twice, so only the winding rule
  // counts it as inside.
  const std::vector<TPoint> star = {Point(50, 0), Point(79, 90), Point(2, 35), Point(98, 35),
                                    Point(21, 90)};
  EXPECT_TRUE(PointInPolygon(Point(50, 50), star));
  EXPECT_TRUE(PointInPolygon(Point(50, 10), star));
  EXPECT_FALSE(PointInPolygon(Point(5, 80), star));
  EXPECT_FALSE(PointInPolygon(Point(50, 50), {}));
  EXPECT_FALSE(PointInPolygon(Point(0, 0), std::vector<TPoint>{Point(0, 0)}));
}
