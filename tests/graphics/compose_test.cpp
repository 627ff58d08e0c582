#include <gtest/gtest.h>

#include <vector>

#include "graphics/kernels/Compose.h"
#include "graphics/kernels/PixelRuns.h"

namespace {

// An image in its own memory, top-down like a bitmap or bottom-up like a foreign DIB.
struct TImage {
  TImage(int32_t width, int32_t height, bool bottomUp = false, TqvColor fill = 0xFF0000FF)
      : Width(width), Height(height), BottomUp(bottomUp), Memory(size_t(width * height), fill)
  {
  }

  TqvPixels View()
  {
    return BottomUp ? BottomUpPixels(Memory.data(), Width, Height)
                    : TopDownPixels(Memory.data(), Width, Height);
  }

  // Pixel (x, y) of the picture, wherever the layout keeps it.
  TqvColor& At(int32_t x, int32_t y)
  {
    const int32_t row = BottomUp ? Height - 1 - y : y;
    return Memory[size_t(row * Width + x)];
  }

  int32_t Width, Height;
  bool BottomUp;
  std::vector<TqvColor> Memory;
};

// A source whose pixel tells where it came from: opaque, blue = column, green = row.
TImage NumberedSource(int32_t width, int32_t height)
{
  TImage image(width, height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      image.At(x, y) = 0xFF000000 | TqvColor(y) << 8 | TqvColor(x);
  return image;
}

int32_t ColumnOf(TqvColor pixel)
{
  return int32_t(pixel & 0xFF);
}

const TqvDrawMode AllModes[] = {TqvDrawMode::Opaque, TqvDrawMode::AlphaBlend,
                                TqvDrawMode::Transparent};

} // namespace

// Corners aligned, halves to the even neighbour; one target column takes the middle one. The ratio
// is a 32-bit float: 1/6 is stored a little above, so column 3 of 2 to 7 is past the half (held
// exactly, 3 × 1/6 would be a half and go to the even 0).
TEST(Compose, ColumnSamplingTable)
{
  struct Case {
    int32_t srcLeft, srcWidth, dstWidth;
    std::vector<int32_t> columns;
  };
  const Case cases[] = {
      {0, 2, 3, {0, 0, 1}}, {1, 2, 3, {1, 2, 2}}, {0, 3, 5, {0, 0, 1, 2, 2}},
      {0, 4, 2, {0, 3}},    {0, 4, 1, {1}},       {0, 2, 7, {0, 0, 0, 1, 1, 1, 1}},
  };
  TImage source = NumberedSource(5, 1);
  for (TqvDrawMode mode : AllModes) {
    for (const Case& c : cases) {
      TImage target(c.dstWidth, 1);
      const TRect whole = Rect(0, 0, c.dstWidth, 1);
      DrawPixels(mode, target.View(), whole, whole, source.View(),
                 Rect(c.srcLeft, 0, c.srcLeft + c.srcWidth, 1));
      std::vector<int32_t> columns;
      for (int32_t x = 0; x < c.dstWidth; ++x)
        columns.push_back(ColumnOf(target.At(x, 0)));
      EXPECT_EQ(c.columns, columns)
          << c.srcWidth << " from " << c.srcLeft << " to " << c.dstWidth << ", mode " << int(mode);
    }
  }
}

TEST(Compose, RowSamplingIntoTopDownAndBottomUpTargets)
{
  TImage source = NumberedSource(2, 2);
  for (bool bottomUp : {false, true}) {
    for (TqvDrawMode mode : AllModes) {
      TImage target(2, 4, bottomUp);
      DrawPixels(mode, target.View(), Rect(0, 0, 2, 4), Rect(0, 0, 2, 4), source.View(),
                 Rect(0, 0, 2, 2));
      for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 2; ++x)
          EXPECT_EQ(0xFF000000 | TqvColor(y / 2) << 8 | TqvColor(x), target.At(x, y))
              << "bottom-up " << bottomUp << " mode " << int(mode) << " at " << x << "," << y;
    }
  }
}

// A repeated plain row is a copy of the target row written just above it, not a fresh resample:
// visible when the drawing reads the row it has just rewritten (source and target one image).
TEST(Compose, RepeatedPlainRowsCopyTheRowAbove)
{
  for (bool bottomUp : {false, true}) {
    TImage image(3, 2, bottomUp);
    const TqvColor a = 0xFF0000AA, b = 0xFF0000BB, c = 0xFF0000CC;
    image.At(0, 0) = a;
    image.At(1, 0) = b;
    image.At(2, 0) = c;
    // Columns 1, 2, 2 of picture row 0 for both target rows: the first row turns into B C C in
    // place.
    DrawPixels(TqvDrawMode::Opaque, image.View(), Rect(0, 0, 3, 2), Rect(0, 0, 3, 2), image.View(),
               Rect(1, 0, 3, 1));
    for (int32_t y = 0; y < 2; ++y) {
      EXPECT_EQ(b, image.At(0, y)) << "bottom-up " << bottomUp << " row " << y;
      EXPECT_EQ(c, image.At(1, y));
      EXPECT_EQ(c, image.At(2, y));
    }
  }
}

// Drawing past the target's left and top edges shows exactly the pixels the unclipped drawing
// puts there; so does a clip rectangle inside the target, which leaves the rest untouched.
TEST(Compose, ClippingKeepsTheUnclippedPositions)
{
  struct Case {
    int32_t dstWidth, dstHeight;
  };
  TImage source = NumberedSource(3, 3);
  source.At(1, 1) = 0x807F007F; // key pixel with a partial alpha: skipped or blended by the modes
  for (TqvDrawMode mode : AllModes) {
    for (const Case& c : {Case{3, 3}, Case{7, 5}, Case{2, 2}}) {
      TImage whole(16, 16);
      DrawPixels(mode, whole.View(), Bounds(2, 3, c.dstWidth, c.dstHeight), Rect(0, 0, 16, 16),
                 source.View(), Rect(0, 0, 3, 3));

      TImage shifted(10, 10);
      DrawPixels(mode, shifted.View(), Bounds(-1, -2, c.dstWidth, c.dstHeight),
                 Rect(-5, -5, 20, 20), source.View(), Rect(0, 0, 3, 3));
      TImage clipped(12, 12);
      const TRect clip = Rect(3, 4, 4, 6);
      DrawPixels(mode, clipped.View(), Bounds(2, 3, c.dstWidth, c.dstHeight), clip, source.View(),
                 Rect(0, 0, 3, 3));

      for (int32_t y = 0; y < 10; ++y)
        for (int32_t x = 0; x < 10; ++x)
          ASSERT_EQ(whole.At(x + 3, y + 5), shifted.At(x, y))
              << "mode " << int(mode) << " size " << c.dstWidth << " at " << x << "," << y;
      for (int32_t y = 0; y < 12; ++y)
        for (int32_t x = 0; x < 12; ++x) {
          const bool inside = x >= clip.Left && x < clip.Right && y >= clip.Top && y < clip.Bottom;
          ASSERT_EQ(inside ? whole.At(x, y) : 0xFF0000FF, clipped.At(x, y))
              << "mode " << int(mode) << " size " << c.dstWidth << " at " << x << "," << y;
        }
    }
  }
}

TEST(Compose, SourceRectanglesNotWhollyInsideDrawNothing)
{
  const TRect outside[] = {Rect(0, 0, 4, 3), Rect(0, 0, 3, 4), Rect(-1, 0, 2, 3), Rect(1, 1, 1, 3),
                           Rect(0, 2, 3, 2)};
  TImage source = NumberedSource(3, 3);
  for (const TRect& srcRect : outside) {
    for (const TRect& dstRect : {srcRect, Rect(0, 0, 6, 6)}) {
      TImage target(6, 6);
      DrawPixels(TqvDrawMode::Opaque, target.View(), dstRect, Rect(0, 0, 6, 6), source.View(),
                 srcRect);
      EXPECT_EQ(std::vector<TqvColor>(36, 0xFF0000FF), target.Memory)
          << srcRect.Left << "," << srcRect.Top << "," << srcRect.Right << "," << srcRect.Bottom;
    }
  }
}

TEST(Compose, TargetsWithoutPixelsOrAreaDrawNothing)
{
  TImage source = NumberedSource(2, 2);
  TImage target(4, 4);
  const TqvPixels none = TopDownPixels(nullptr, 4, 4);
  DrawPixels(TqvDrawMode::Opaque, none, Rect(0, 0, 4, 4), Rect(0, 0, 4, 4), source.View(),
             Rect(0, 0, 2, 2));
  DrawPixels(TqvDrawMode::Opaque, target.View(), Rect(0, 0, 4, 4), Rect(0, 0, 4, 4), none,
             Rect(0, 0, 2, 2));
  DrawPixels(TqvDrawMode::Opaque, target.View(), Rect(4, 0, 8, 4), Rect(0, 0, 8, 8), source.View(),
             Rect(0, 0, 2, 2));
  DrawPixels(TqvDrawMode::Opaque, target.View(), Rect(0, 0, 4, 4), Rect(2, 2, 2, 4), source.View(),
             Rect(0, 0, 2, 2));
  EXPECT_EQ(std::vector<TqvColor>(16, 0xFF0000FF), target.Memory);
  EXPECT_EQ(nullptr, BottomUpPixels(target.Memory.data(), 4, 0).Bits);
}

TEST(Compose, UnscaledDrawingIsReturnedToTheCallerAlreadyClipped)
{
  TImage source = NumberedSource(4, 4);
  TImage target(5, 5);
  const auto job = StretchPixels(TqvDrawMode::Opaque, target.View(), Rect(-1, 2, 3, 6),
                                 Rect(0, 0, 5, 5), source.View(), Rect(0, 0, 4, 4));
  ASSERT_TRUE(job.has_value());
  EXPECT_EQ(Rect(0, 2, 3, 5), job->DstRect);
  EXPECT_EQ(1, job->SrcX);
  EXPECT_EQ(0, job->SrcY);
  EXPECT_EQ(std::vector<TqvColor>(25, 0xFF0000FF), target.Memory)
      << "the unscaled copy is the caller's";
}

// Rows top to bottom, each in ascending order: an overlapping copy within one image smears.
TEST(Compose, BltWithinOneImageFollowsRowOrder)
{
  TImage image(3, 3);
  for (int32_t i = 0; i < 9; ++i)
    image.Memory[size_t(i)] = TqvColor(i + 1);
  BltPixels(TqvDrawMode::Opaque, image.View(), Rect(1, 1, 3, 3), image.View(), 0, 0);
  EXPECT_EQ((std::vector<TqvColor>{1, 2, 3, 4, 1, 2, 7, 4, 1}), image.Memory);

  BltPixels(TqvDrawMode::Opaque, image.View(), Rect(1, 0, 3, 1), image.View(), 0, 0);
  EXPECT_EQ((std::vector<TqvColor>{1, 1, 1, 4, 1, 2, 7, 4, 1}), image.Memory);
}

TEST(Compose, BltIntoBottomUpTargetsAndCutsWhatDoesNotFit)
{
  TImage source = NumberedSource(3, 3);
  TImage dib(4, 3, true);
  BltPixels(TqvDrawMode::Opaque, dib.View(), Rect(2, 1, 6, 9), source.View(), 0, 1);
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 4; ++x) {
      const bool drawn = x >= 2 && y >= 1;
      EXPECT_EQ(drawn ? source.At(x - 2, y) : 0xFF0000FF, dib.At(x, y)) << x << "," << y;
    }
}

TEST(Compose, ScaledModesComposeThroughTheirRunRoutines)
{
  TImage source(2, 1);
  TImage target(4, 1);

  source.At(0, 0) = 0x407F007F;
  source.At(1, 0) = 0x20123456;
  DrawPixels(TqvDrawMode::Transparent, target.View(), Rect(0, 0, 4, 1), Rect(0, 0, 4, 1),
             source.View(), Rect(0, 0, 2, 1));
  EXPECT_EQ((std::vector<TqvColor>{0xFF0000FF, 0xFF0000FF, 0xFF123456, 0xFF123456}), target.Memory);

  source.At(0, 0) = 0x00FFFFFF;
  source.At(1, 0) = 0x80FF0000;
  target.Memory.assign(4, 0xFF0000FF);
  DrawPixels(TqvDrawMode::AlphaBlend, target.View(), Rect(0, 0, 4, 1), Rect(0, 0, 4, 1),
             source.View(), Rect(0, 0, 2, 1));
  const TqvColor blended = LineAlphaBlendFunc == LineAlphaBlend ? 0xFF7F007E : 0xBF7F007F;
  EXPECT_EQ((std::vector<TqvColor>{0xFF0000FF, 0xFF0000FF, blended, blended}), target.Memory);
}

namespace {

struct TRunCall {
  const TqvColor* src;
  TqvColor* dst;
  int32_t count;
};

std::vector<TRunCall> RunCalls;

void RecordRun(const TqvColor* Src, TqvColor* Dst, int32_t Count)
{
  RunCalls.push_back({Src, Dst, Count});
}

// Swaps a run routine pointer for the recorder for the life of the object.
class TReplacedRun {
public:
  explicit TReplacedRun(TLineFunc& pointer) : FPointer(pointer), FSaved(pointer)
  {
    FPointer = RecordRun;
    RunCalls.clear();
  }
  ~TReplacedRun() { FPointer = FSaved; }

private:
  TLineFunc& FPointer;
  TLineFunc FSaved;
};

} // namespace

TEST(Compose, ReplacedRunRoutinesTakeEffect)
{
  TImage source = NumberedSource(3, 3);
  TImage target(6, 6);
  struct Case {
    TLineFunc& pointer;
    TqvDrawMode mode;
    TRect dstRect;
    int32_t rows, count;
  };
  const Case cases[] = {
      {LineAlphaBlendFunc, TqvDrawMode::AlphaBlend, Rect(1, 1, 4, 4), 3, 3},
      {LineAlphaBlendFunc, TqvDrawMode::AlphaBlend, Rect(0, 0, 5, 6), 6, 5},
      {LineTransparentFunc, TqvDrawMode::Transparent, Rect(1, 1, 4, 4), 3, 3},
      {LineTransparentFunc, TqvDrawMode::Transparent, Rect(0, 0, 5, 6), 6, 5},
      {MoveLongwordFunc, TqvDrawMode::Opaque, Rect(2, 0, 5, 3), 3, 3},
  };
  for (const Case& c : cases) {
    TReplacedRun replaced(c.pointer);
    DrawPixels(c.mode, target.View(), c.dstRect, Rect(0, 0, 6, 6), source.View(), Rect(0, 0, 3, 3));
    ASSERT_EQ(size_t(c.rows), RunCalls.size()) << int(c.mode);
    for (int32_t k = 0; k < c.rows; ++k) {
      EXPECT_EQ(c.count, RunCalls[size_t(k)].count);
      EXPECT_EQ(&target.At(c.dstRect.Left, c.dstRect.Top + k), RunCalls[size_t(k)].dst);
    }
  }
  EXPECT_EQ(std::vector<TqvColor>(36, 0xFF0000FF), target.Memory);
}

namespace {

// A blend routine put in from outside that uses MMX and leaves its state behind, as MMX code that
// skips emms does: floating-point arithmetic after it goes wrong until the state is cleared.
void CopyLeavingMmxState(const TqvColor* Src, TqvColor* Dst, int32_t Count)
{
  for (int32_t i = 0; i < Count; ++i)
    Dst[i] = Src[i];
  __asm__ __volatile__("pxor %mm0, %mm0");
}

} // namespace

// The scaled drawing does its floating-point sampling before it calls a run routine, so a routine
// that leaves MMX state cannot spoil the rows that follow.
TEST(Compose, ScaledRowsSurviveARunRoutineThatLeavesMmxState)
{
  TImage source = NumberedSource(2, 3);
  TImage target(3, 5);
  const TLineFunc saved = LineAlphaBlendFunc;
  LineAlphaBlendFunc = CopyLeavingMmxState;
  DrawPixels(TqvDrawMode::AlphaBlend, target.View(), Rect(0, 0, 3, 5), Rect(0, 0, 3, 5),
             source.View(), Rect(0, 0, 2, 3));
  __asm__ __volatile__("emms");
  LineAlphaBlendFunc = saved;
  const TqvColor sampledRows[5] = {0, 0, 1, 2, 2};
  for (int32_t y = 0; y < 5; ++y)
    EXPECT_EQ(0xFF000000 | sampledRows[y] << 8, target.At(0, y)) << "row " << y;
}
