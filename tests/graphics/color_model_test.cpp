#include <gtest/gtest.h>

#include <windows.h>

#include <bit>
#include <cstdint>

#include "graphics/kernels/ColorModel.h"

namespace {

float FloatOf(uint32_t bits)
{
  return std::bit_cast<float>(bits);
}

uint32_t BitsOf(float f)
{
  return std::bit_cast<uint32_t>(f);
}

} // namespace

TEST(ColorModel, ByteOrderConversions)
{
  EXPECT_EQ(0xFF332211u, FromRGB(0x00112233));
  EXPECT_EQ(0xFF332211u, FromRGB(TColor(0x7F112233))) << "bits 24-31 of the TColor are ignored";
  for (TqvColor alpha : {0x00000000u, 0x80000000u, 0xFF000000u})
    EXPECT_EQ(0x00112233, ToRGB(alpha | 0x332211)) << std::hex << alpha;
  EXPECT_EQ(0x00112233, qvColorToColor(0x7F332211));
}

TEST(ColorModel, ComponentsAreLimitedToAByte)
{
  struct Case {
    int16_t R, G, B;
    uint8_t A;
    TqvColor expected;
  };
  const Case cases[] = {
      {300, -5, 128, 7, 0x07FF0080},
      {255, 0, 256, 255, 0xFFFF00FF},
      {-32768, 32767, 1, 0, 0x0000FF01},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.expected, qvColor(c.R, c.G, c.B, c.A)) << c.R << "," << c.G << "," << c.B;
}

TEST(ColorModel, RecordReadsItsBytesByPosition)
{
  const TqvColor pixel = 0x80112233;
  const auto rec = std::bit_cast<TqvColorRec>(pixel);
  EXPECT_EQ(0x00332211u, qvColor(rec));
  EXPECT_EQ(TqvColor(qvColorToColor(pixel)), qvColor(rec));
}

TEST(ColorModel, SystemColoursAreResolvedFirst)
{
  const TColor btnFace = clSystemColor | COLOR_BTNFACE;
  const TColor resolved = TColor(GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ((FromRGB(resolved) & 0x00FFFFFF) | 0x40000000, qvColor(btnFace, 0x40));
  EXPECT_EQ(0x40332211u, qvColor(0x00112233, 0x40));

  EXPECT_EQ(ToRGB(ChangeColor(FromRGB(resolved), 10, -10, 0, 0)),
            StdChangeColor(btnFace, 10, -10, 0, 99));
  EXPECT_EQ(0x00FFFFFF, StdChangeColor(0x00F0F0F0, 20));
  EXPECT_EQ(0x00000000, StdChangeColor(0x00101010, -20, -20, -20, 0));
}

TEST(ColorModel, PixelWordsDropTheLowBits)
{
  struct Case {
    TqvColor color;
    uint16_t color16, color15;
  };
  const Case cases[] = {
      {0xFFFFFFFF, 0xFFFF, 0x7FFF},
      {0x00080400, 0x0820, 0x0400},
      {0xFF070307, 0x0000, 0x0000},
      {0xFF8844FF, 0x8A3F, 0x451F},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.color16, qvColorToColor16(c.color)) << std::hex << c.color;
    EXPECT_EQ(c.color15, qvColorToColor15(c.color)) << std::hex << c.color;
  }
}

// Expected bit patterns computed with exact rational arithmetic, rounded to the 64-bit significand
// between stores and to the 32-bit float at every store. Several of these colours come out
// differently when the intermediates are held as doubles, so the table pins the float stores.
TEST(ColorModel, RGBtoHSLMatchesTheFloatArithmetic)
{
  struct Case {
    TqvColor color;
    uint32_t h, s, l;
  };
  const Case cases[] = {
      {0xFFFF0000, 0x00000000, 0x3F800000, 0x3F000000},
      {0x000000FF, 0x3F2AAAAB, 0x3F800000, 0x3F000000},
      {0x00C8E3FB, 0x3F141414, 0x3F5D49C3, 0x3F626262},
      {0x009D95BD, 0x3F333333, 0x3E6E23B9, 0x3F29A9AA},
      {0x002B4199, 0x3F222222, 0x3F0FAC69, 0x3EC4C4C5},
      {0x00C6B2AD, 0x3D088889, 0x3E382C34, 0x3F3A3A3A},
      {0x001AE597, 0x3EDF363B, 0x3F4BCBCC, 0x3F000000},
      {0x00543DB7, 0x3F32B5DC, 0x3F000000, 0x3EF4F4F5},
      {0x00826C93, 0x3F42BC2C, 0x3E1C9C9E, 0x3F000000},
      {0x00A52750, 0x3F721DCD, 0x3F1E1E1E, 0x3ECCCCCD},
      {0x00E79E4A, 0x3DB69FCC, 0x3F440EFD, 0x3F191919},
      {0x00EE69AF, 0x3F698B3A, 0x3F4BE158, 0x3F2C2C2C},
      {0x00E75690, 0x3F6EEEEF, 0x3F4054E5, 0x3F1F1F1F},
      {0x00613AD6, 0x3F355555, 0x3F27CC5F, 0x3F088889},
      {0x005E8BCC, 0x3F19364D, 0x3F04D488, 0x3F159596},
      {0x00F3973D, 0x3DA8CA8D, 0x3F622CBD, 0x3F189899},
      {0x0000FF00, 0x3EAAAAAB, 0x3F800000, 0x3F000000},
      {0x7F808080, 0x00000000, 0x00000000, 0x3F008081},
  };
  for (const Case& c : cases) {
    float h = -1, s = -1, l = -1;
    RGBtoHSL(c.color, h, s, l);
    EXPECT_EQ(c.h, BitsOf(h)) << std::hex << c.color;
    EXPECT_EQ(c.s, BitsOf(s)) << std::hex << c.color;
    EXPECT_EQ(c.l, BitsOf(l)) << std::hex << c.color;
  }
}

TEST(ColorModel, HSLtoRGBRoundsHalvesToEven)
{
  struct Case {
    uint32_t h, s, l;
    TqvColor expected;
  };
  const Case cases[] = {
      {0x00000000, 0x00000000, 0x3F000000, 0xFF808080}, // grey: 127.5 goes to the even 128
      {0x3E2AAAAB, 0x00000000, 0x3F800000, 0xFFFFFFFF}, // no saturation: hue plays no part
      {0x00000000, 0x3F800000, 0x3F000000, 0xFFFF0000},
      {0x3F7FE244, 0x3C168740, 0x3E2E0E94, 0xFF2C2B2B},
      {0x3F6A2724, 0x3F0E6B5E, 0x3F50454D, 0xFFEAB5D0},
      {0x3E2A6694, 0x3F020B99, 0x3F216C03, 0xFFD1D071},
      {0x3EEB2D88, 0x3F13FD0B, 0x3D73BA40, 0xFF061814},
      {0x3E0FD154, 0x3E5D08C8, 0x3F4D0134, 0xFFD7D4C1},
      {0x3E5CC7DC, 0x3F14F139, 0x3F45E51A, 0xFFD3E7A3},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.expected, HSLtoRGB(FloatOf(c.h), FloatOf(c.s), FloatOf(c.l))) << std::hex << c.h;
}

TEST(ColorModel, HueAndSaturationChangesMatchTheFloatArithmetic)
{
  struct Case {
    TqvColor (*change)(TqvColor, int32_t);
    TqvColor color;
    int32_t amount;
    TqvColor expected;
  };
  const Case cases[] = {
      {ChangeHue, 0x00C8E3FB, -29, 0xFFC8FBF0},
      {ChangeHue, 0x009D95BD, 97, 0xFFBDA895},
      {ChangeHue, 0x002B4199, 85, 0xFF992B42},
      {ChangeHue, 0x00C6B2AD, -122, 0xFFADBDC6},
      {ChangeHue, 0x005F5228, -207, 0xFF2E5F28},
      {ChangeHue, 0x00E4A7DB, -100, 0xFFA7E4D8},
      {ChangeHue, 0x0048995F, -209, 0xFF487B99},
      {ChangeHue, 0x00157156, 49, 0xFF152271},
      {ChangeSat, 0x001AE597, -119, 0xFF56A989},
      {ChangeSat, 0x00543DB7, -189, 0xFF401DD7},
      {ChangeSat, 0x00826C93, 45, 0xFF8556A9},
      {ChangeSat, 0x00A52750, 166, 0xFF814B5D},
      {ChangeSat, 0x00CAD57A, 238, 0xFFC6CF80},
      {ChangeSat, 0x00E7EEF1, 79, 0xFFE1F0F7},
      {ChangeSat, 0x0050A310, 64, 0xFF596053},
      {ChangeSat, 0x0007AE2D, 170, 0xFF25903D},
      {SetHue, 0x00205727, 30, 0xFF574720},
      {SetHue, 0x00124114, 97, 0xFF12411F},
      {SetHue, 0x007BDFF4, 15, 0xFFF4A67B},
      {SetHue, 0x00ED88D1, 167, 0xFF888FED},
      {SetHue, 0x00E18D4B, 100, 0xFF4BE180},
      {SetHue, 0x0077A066, 150, 0xFF6681A0},
      {SetHue, 0x0077A066, 400, SetHue(0x0077A066, 255)},
      {SetHue, 0x0077A066, -9, SetHue(0x0077A066, 0)},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.expected, c.change(c.color, c.amount))
        << std::hex << c.color << std::dec << " by " << c.amount;
}

// One correction by 255 in each direction: a step of 0 moved by 255 lands on 255, any other step
// comes back where it was. On hue 0 and 255 look alike; on saturation a grey turns fully saturated.
TEST(ColorModel, HueAndSaturationWrapByTwoHundredFiftyFive)
{
  const TqvColor blue = 0x000000FF; // hue step 170
  EXPECT_EQ(0xFF0000FFu, ChangeHue(blue, 255));
  EXPECT_EQ(0xFF0000FFu, ChangeHue(blue, -255));

  const TqvColor muted = 0x00C6B2AD; // saturation step 46
  EXPECT_EQ(0xFFC6B2ADu, ChangeSat(muted, 255));
  EXPECT_EQ(0xFFC6B2ADu, ChangeSat(muted, -255));
  EXPECT_EQ(0xFFFF0101u, ChangeSat(0x00808080, 255));
}

TEST(ColorModel, ChannelShifts)
{
  struct Case {
    TqvColor actual, expected;
  };
  const Case cases[] = {
      {ChangeBrightness(0x10203040, 0x20), 0xFF405060},
      {ChangeBrightness(0x10F00510, -0x10), 0xFFE00000},
      {ChangeBrightness(0x00808080, 2147483647), 0xFFFFFFFF},
      {ChangeColor(0x10FFFFFF, 0, 0, 0, -32), 0xF0FFFFFF},  // alpha wraps
      {ChangeColor(0x10FFFFFF, 10, 10, 10, 0), 0x10FFFFFF}, // channels stop at 255
      {ChangeColor(0x10FFFFFF, -300, 0, 0, 0x1F0), 0x0000FFFF},
      {ChangeColor(0x80102030, 5), 0x80152535},
      {SunkenColor(0x80808080, 20), 0x806C6C6C},
      {SunkenColor(0x80808080, 1, -2, 3, 4), 0x7C7F827D},
      {RaisedColor(0x80808080, 20), 0x80949494},
      {RaisedColor(0x80808080, 1, -2, 3, 4), 0x84817E83},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.expected, c.actual) << std::hex << c.actual;
}

TEST(ColorModel, MulDiv16Truncates)
{
  EXPECT_EQ(33, MulDiv16(10, 10, 3));
  EXPECT_EQ(0xFFFF, MulDiv16(0xFFFF, 0xFFFF, 0xFFFF));
  EXPECT_EQ(0, MulDiv16(7, 9, 0)) << "a zero divisor answers 0 instead of faulting";
}

TEST(ColorModel, NamedColours)
{
  EXPECT_EQ(0xFF000000, qvBlack);
  EXPECT_EQ(0xFFFF00FF, qvFuchsia);
  EXPECT_EQ(0xFF003399, qvBorder);
  EXPECT_EQ(0xFFF8C751, qvHotHighlight);
  EXPECT_EQ(0x33333333u, qvNone);
  EXPECT_EQ(0x007F007Fu, qvTransparentVar);
  EXPECT_TRUE(IsTransparentKey(0xFF7F007F));
  EXPECT_FALSE(IsTransparentKey(0x007F007E));
}
