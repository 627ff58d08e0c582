#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "graphics/kernels/PixelRuns.h"

namespace {

// Plain per-pixel statements of the two blends, channel by channel.

// (Fg·α + Bg·(255 − α)) div 256 per colour, alpha 255; the early outs at α = 0 and 255
TqvColor ScalarReference(TqvColor fg, TqvColor bg)
{
  const uint32_t a = fg >> 24;
  if (a == 0)
    return bg;
  if (a == 255)
    return fg;
  TqvColor out = 0xFF000000;
  for (int shift = 0; shift < 24; shift += 8) {
    const uint32_t f = fg >> shift & 0xFF;
    const uint32_t b = bg >> shift & 0xFF;
    out |= (f * a + b * (255 - a)) / 256 << shift;
  }
  return out;
}

// Each of the four channels a 16-bit lane: (Bg·256 + α·(Fg − Bg)) mod 2^16, shifted right by 8
TqvColor LaneReference(TqvColor fg, TqvColor bg)
{
  const uint16_t a = uint16_t(fg >> 24);
  TqvColor out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const uint16_t f = uint16_t(fg >> shift & 0xFF);
    const uint16_t b = uint16_t(bg >> shift & 0xFF);
    const uint16_t lane = uint16_t(uint16_t(b << 8) + uint16_t(a * uint16_t(f - b)));
    out |= TqvColor(lane >> 8) << shift;
  }
  return out;
}

TqvColor LineLaneReference(TqvColor fg, TqvColor bg)
{
  const uint32_t a = fg >> 24;
  if (a == 0)
    return bg;
  if (a == 255)
    return fg;
  return LaneReference(fg, bg);
}

// Random pixels whose alphas are a third 0, a third 255 and a third in between.
class TPixelSource {
public:
  explicit TPixelSource(uint32_t seed) : FRandom(seed) {}

  TqvColor Next()
  {
    const TqvColor rgb = FRandom() & 0x00FFFFFF;
    switch (FRandom() % 3) {
    case 0:
      return rgb;
    case 1:
      return rgb | 0xFF000000;
    default:
      return rgb | (1 + FRandom() % 254) << 24;
    }
  }

  std::vector<TqvColor> Run(size_t count)
  {
    std::vector<TqvColor> run(count);
    for (TqvColor& p : run)
      p = Next();
    return run;
  }

  uint32_t Below(uint32_t n) { return FRandom() % n; }

private:
  std::mt19937 FRandom;
};

struct TBlendExample {
  TqvColor fg, bg, scalar, simd;
};

// (alpha, red, green, blue) = (128, 255, 0, 0) over (255, 0, 0, 255) and over (0, 0, 0, 0)
const TBlendExample BlendExamples[] = {
    {0x80FF0000, 0xFF0000FF, 0xFF7F007E, 0xBF7F007F},
    {0x80FF0000, 0x00000000, 0xFF7F0000, 0x407F0000},
};

} // namespace

TEST(PixelRuns, BlendWorkedExamplesInBothForms)
{
  for (const TBlendExample& e : BlendExamples) {
    EXPECT_EQ(e.scalar, PixelAlphaBlend(e.fg, e.bg));
    EXPECT_EQ(e.simd, PixelAlphaBlendMMX(e.fg, e.bg));
    for (TLineFunc line : {LineAlphaBlend, LineAlphaBlendMMX}) {
      // Both alone (the tail of the SIMD loop) and inside a group of four.
      TqvColor one = e.bg;
      line(&e.fg, &one, 1);
      const TqvColor src[4] = {e.fg, e.fg, e.fg, e.fg};
      TqvColor four[4] = {e.bg, e.bg, e.bg, e.bg};
      line(src, four, 4);
      const TqvColor expected = line == LineAlphaBlend ? e.scalar : e.simd;
      EXPECT_EQ(expected, one);
      EXPECT_EQ(expected, four[3]);
    }
  }
}

TEST(PixelRuns, LineBlendsLeaveUnderAlphaZeroAndCopyAlpha255)
{
  const TqvColor src[6] = {0x00FFFFFF, 0xFF123456, 0x00000000, 0xFF000000, 0x80FFFFFF, 0x00ABCDEF};
  for (TLineFunc line : {LineAlphaBlend, LineAlphaBlendMMX}) {
    TqvColor dst[6] = {0x11223344, 0x55667788, 0x99AABBCC, 0xDDEEFF00, 0x00000000, 0x7F7F007F};
    line(src, dst, 6);
    EXPECT_EQ(0x11223344u, dst[0]);
    EXPECT_EQ(0xFF123456u, dst[1]);
    EXPECT_EQ(0x99AABBCCu, dst[2]);
    EXPECT_EQ(0xFF000000u, dst[3]);
    EXPECT_NE(0x00000000u, dst[4]);
    EXPECT_EQ(0x7F7F007Fu, dst[5]);
  }
  // The single-pixel SIMD blend has no early outs: its only caller passes alphas 1 to 254.
  EXPECT_EQ(0xFEFEFEFEu, PixelAlphaBlendMMX(0xFFFFFFFF, 0x00000000));
}

TEST(PixelRuns, BlendsMatchThePerChannelStatementsOverRandomData)
{
  TPixelSource pixels(20240611);
  for (int i = 0; i < 20000; ++i) {
    const TqvColor fg = pixels.Next();
    const TqvColor bg = pixels.Next();
    ASSERT_EQ(ScalarReference(fg, bg), PixelAlphaBlend(fg, bg)) << std::hex << fg << " over " << bg;
    ASSERT_EQ(LaneReference(fg, bg), PixelAlphaBlendMMX(fg, bg))
        << std::hex << fg << " over " << bg;
  }
}

// Odd lengths from unaligned starts, with guard pixels on both sides of the run; some runs have
// long stretches of alpha 0 and 255 so that whole groups of four take the early outs.
TEST(PixelRuns, LineBlendsMatchTheirReferencesOverRandomRuns)
{
  struct Form {
    TLineFunc line;
    TqvColor (*reference)(TqvColor, TqvColor);
  };
  const Form forms[] = {{LineAlphaBlend, ScalarReference}, {LineAlphaBlendMMX, LineLaneReference}};

  TPixelSource pixels(77);
  for (const Form& form : forms) {
    for (int trial = 0; trial < 400; ++trial) {
      const int32_t count = int32_t(pixels.Below(70));
      const size_t srcStart = pixels.Below(4);
      const size_t dstStart = 1 + pixels.Below(4);
      std::vector<TqvColor> src = pixels.Run(srcStart + size_t(count));
      if (trial % 4 == 0)
        for (size_t k = srcStart; k < src.size(); ++k)
          src[k] = (src[k] & 0x00FFFFFF) | ((k / 9) % 2 ? 0xFF000000 : 0);
      std::vector<TqvColor> dst = pixels.Run(dstStart + size_t(count) + 1);
      std::vector<TqvColor> expected = dst;
      for (int32_t k = 0; k < count; ++k)
        expected[dstStart + size_t(k)] =
            form.reference(src[srcStart + size_t(k)], dst[dstStart + size_t(k)]);

      form.line(src.data() + srcStart, dst.data() + dstStart, count);
      ASSERT_EQ(expected, dst) << "count " << count << " trial " << trial;
    }
  }
}

// A blit of an image onto itself, a few pixels to the right, runs left to right: each pixel is
// blended over what the pass has already written.
TEST(PixelRuns, OverlappingLineBlendsRunLeftToRight)
{
  struct Form {
    TLineFunc line;
    TqvColor (*reference)(TqvColor, TqvColor);
  };
  TPixelSource pixels(5);
  for (const Form& form :
       {Form{LineAlphaBlend, ScalarReference}, Form{LineAlphaBlendMMX, LineLaneReference}}) {
    for (size_t ahead : {1u, 3u, 4u, 7u, 9u}) {
      std::vector<TqvColor> buffer = pixels.Run(40);
      std::vector<TqvColor> expected = buffer;
      for (size_t k = 0; k < 30; ++k)
        expected[k + ahead] = form.reference(expected[k], expected[k + ahead]);
      form.line(buffer.data(), buffer.data() + ahead, 30);
      EXPECT_EQ(expected, buffer) << "ahead " << ahead;
    }
  }
}

TEST(PixelRuns, NonPositiveCountsDoNothing)
{
  const TqvColor src[2] = {0xFF000001, 0xFF000002};
  TqvColor dst[2] = {7, 7};
  for (int32_t count : {0, -1}) {
    for (TLineFunc line : {LineAlphaBlend, LineAlphaBlendMMX, LineTransparent, MoveLongword})
      line(src, dst, count);
    FillLongword(dst, count, 9);
    FillAlpha(dst, count, 9);
    ClearAlpha(dst, count, 7);
  }
  EXPECT_EQ(7u, dst[0]);
  EXPECT_EQ(7u, dst[1]);
}

TEST(PixelRuns, LineTransparentSkipsKeyPixelsAndWritesTheRestOpaque)
{
  const TqvColor src[5] = {0x007F007F, 0xFF7F007F, 0x40123456, 0x007F007E, 0xFF000000};
  TqvColor dst[5] = {1, 2, 3, 4, 5};
  LineTransparent(src, dst, 5);
  EXPECT_EQ(1u, dst[0]);
  EXPECT_EQ(2u, dst[1]);
  EXPECT_EQ(0xFF123456u, dst[2]);
  EXPECT_EQ(0xFF7F007Eu, dst[3]);
  EXPECT_EQ(0xFF000000u, dst[4]);
}

// Ascending order, one pixel after another: a destination one pixel into the source repeats the
// first pixel, one pixel before it shifts the run down.
TEST(PixelRuns, MoveLongwordCopiesInAscendingOrder)
{
  TqvColor a[6] = {1, 2, 3, 4, 5, 6};
  MoveLongword(a, a + 1, 4);
  EXPECT_EQ((std::vector<TqvColor>{1, 1, 1, 1, 1, 6}), std::vector<TqvColor>(a, a + 6));

  TqvColor b[6] = {1, 2, 3, 4, 5, 6};
  MoveLongword(b + 1, b, 5);
  EXPECT_EQ((std::vector<TqvColor>{2, 3, 4, 5, 6, 6}), std::vector<TqvColor>(b, b + 6));

  TqvColor c[4] = {1, 2, 3, 4};
  MoveLongword(c, c + 2, 2);
  EXPECT_EQ((std::vector<TqvColor>{1, 2, 1, 2}), std::vector<TqvColor>(c, c + 4));
  MoveLongword(c, c, 4);
  EXPECT_EQ((std::vector<TqvColor>{1, 2, 1, 2}), std::vector<TqvColor>(c, c + 4));
}

TEST(PixelRuns, RectangleFillsAreInclusiveAndStayInsideTheImage)
{
  // A 4 × 3 image inside a larger block, so that writes past it would show.
  struct Case {
    int32_t x1, y1, x2, y2;
    std::vector<int> filled; // pixel indexes of the 4 × 3 image
  };
  const Case cases[] = {
      {1, 0, 2, 1, {1, 2, 5, 6}}, {3, 2, 3, 2, {11}}, {2, 0, 1, 2, {}}, // X2 < X1
      {0, 2, 3, 1, {}},                                                 // Y2 < Y1
      {-2, -5, 0, 0, {0}},                                              // cut at the left and top
      {3, 1, 9, 9, {7, 11}}, // cut at the right and bottom
      {4, 0, 9, 2, {}},      // wholly outside
  };
  for (const Case& c : cases) {
    std::vector<TqvColor> block(20, 0x11223344);
    TqvColor* image = block.data() + 4;
    FillLongwordRect(image, 4, 3, c.x1, c.y1, c.x2, c.y2, 0xAABBCCDD);
    std::vector<TqvColor> alphas(20, 0x11223344);
    FillAlphaRect(alphas.data() + 4, 4, 3, c.x1, c.y1, c.x2, c.y2, 0x99);

    std::vector<TqvColor> expected(20, 0x11223344);
    std::vector<TqvColor> expectedAlphas(20, 0x11223344);
    for (int index : c.filled) {
      expected[size_t(4 + index)] = 0xAABBCCDD;
      expectedAlphas[size_t(4 + index)] = 0x99223344;
    }
    EXPECT_EQ(expected, block) << c.x1 << "," << c.y1 << "," << c.x2 << "," << c.y2;
    EXPECT_EQ(expectedAlphas, alphas) << c.x1 << "," << c.y1 << "," << c.x2 << "," << c.y2;
  }
}

TEST(PixelRuns, RunFillsAndClearAlpha)
{
  TqvColor run[4] = {0x11223344, 0x55667788, 0xFF7F007F, 0x017F007F};
  FillAlpha(run, 2, 0x80);
  EXPECT_EQ(0x80223344u, run[0]);
  EXPECT_EQ(0x80667788u, run[1]);
  EXPECT_EQ(0xFF7F007Fu, run[2]);

  ClearAlpha(run, 4, 0xAA7F007F);
  EXPECT_EQ(0x80223344u, run[0]);
  EXPECT_EQ(0x007F007Fu, run[2]);
  EXPECT_EQ(0x007F007Fu, run[3]);

  FillLongword(run, 3, 0xCAFEBABE);
  EXPECT_EQ((std::vector<TqvColor>{0xCAFEBABE, 0xCAFEBABE, 0xCAFEBABE, 0x007F007F}),
            std::vector<TqvColor>(run, run + 4));
}

TEST(PixelRuns, SelectionInstallsTheBlendPairAndTheSwitchForcesScalar)
{
  const TPixelAlphaBlendFunc savedPixel = PixelAlphaBlendFunc;
  const TLineFunc savedLine = LineAlphaBlendFunc;
  const char* found = std::getenv("QV_SCALAR_KERNELS");
  const std::string restore = std::string("QV_SCALAR_KERNELS=") + (found ? found : "");

  SelectBlendKernels(true);
  EXPECT_EQ(PixelAlphaBlendMMX, PixelAlphaBlendFunc);
  EXPECT_EQ(LineAlphaBlendMMX, LineAlphaBlendFunc);
  SelectBlendKernels(false);
  EXPECT_EQ(PixelAlphaBlend, PixelAlphaBlendFunc);
  EXPECT_EQ(LineAlphaBlend, LineAlphaBlendFunc);

  struct Case {
    const char* setting;
    bool forced;
  };
  for (const Case& c : {Case{"QV_SCALAR_KERNELS=1", true}, Case{"QV_SCALAR_KERNELS=yes", true},
                        Case{"QV_SCALAR_KERNELS=0", false}, Case{"QV_SCALAR_KERNELS=", false}}) {
    _putenv(c.setting);
    EXPECT_EQ(c.forced, ScalarKernelsForced()) << c.setting;
  }
  _putenv(restore.c_str());
  PixelAlphaBlendFunc = savedPixel;
  LineAlphaBlendFunc = savedLine;
}
