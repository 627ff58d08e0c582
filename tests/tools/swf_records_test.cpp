#include <gtest/gtest.h>

#include <functional>

#include "tests/tools/swf_reader.h"
#include "tools/swf/Records.h"

using namespace swfwriter;

TEST(SwfBits, FewestBitsForUnsignedAndSignedFields)
{
  struct Case {
    int32_t value;
    int unsignedBits;
    int signedBits;
  };
  const Case cases[] = {
    {0, 0, 0},       {1, 1, 2},        {-1, 32, 1},         {2, 2, 3},
    {-2, 32, 2},     {20, 5, 6},       {-20, 32, 6},        {11000, 14, 15},
    {65536, 17, 18}, {-65536, 32, 17}, {INT32_MAX, 31, 32}, {INT32_MIN, 32, 32},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.unsignedBits, UnsignedBits(static_cast<uint32_t>(c.value))) << c.value;
    EXPECT_EQ(c.signedBits, SignedBits(c.value)) << c.value;
  }
}

TEST(SwfBits, BitFieldsPackMostSignificantFirstAndBytesRealign)
{
  ByteWriter out;
  out.UB(0b101, 3);
  out.SB(-1, 2);
  out.U8(0xAB);  // pads the pending bits
  out.UB(1, 1);
  out.U16(0x1234);
  EXPECT_EQ((Bytes{0b10111000, 0xAB, 0x80, 0x34, 0x12}), out.Data());
}

TEST(SwfRecords, EncodeBitExactWithTheFewestBits)
{
  struct Case {
    const char* name;
    std::function<void(ByteWriter&)> write;
    Bytes expected;
  };
  ColorTransform mixed;
  mixed.multR = -256;
  mixed.multG = 0;
  mixed.multB = 0;
  mixed.multA = 255;
  mixed.addR = mixed.addG = mixed.addB = 255;
  ColorTransform addRed;
  addRed.addR = 16;
  const Case cases[] = {
    {"empty rect", [](ByteWriter& o) { WriteRect(o, {}); }, {0x00}},
    {"550 by 400 stage",
     [](ByteWriter& o) { WriteRect(o, PxRect(0, 0, 550, 400)); },
     {0x78, 0x00, 0x05, 0x5F, 0x00, 0x00, 0x0F, 0xA0, 0x00}},
    {"negative rect",
     [](ByteWriter& o) {
       WriteRect(o, {-20, 20, -1, 0});
     },
     {0x35, 0x8A, 0x7E, 0x00}},
    {"identity matrix", [](ByteWriter& o) { WriteMatrix(o, {}); }, {0x00}},
    {"translation only",
     [](ByteWriter& o) { WriteMatrix(o, Matrix::Translate(-20, 0)); },
     {0x0D, 0x60, 0x00}},
    {"scale and translation",
     [](ByteWriter& o) {
       Matrix m = Matrix::Translate(-20, 0);
       m.scaleX = 225278;
       m.scaleY = 218451;
       WriteMatrix(o, m);
     },
     {0xCD, 0xB7, 0xFF, 0x35, 0x55, 0x31, 0xAC, 0x00}},
    {"quarter turn: zero scale, full skews",
     [](ByteWriter& o) { WriteMatrix(o, Matrix::Transform(0, 0, 1, 1, 90)); },
     {0x83, 0x24, 0x00, 0x03, 0x00, 0x00, 0x00}},
    {"identity colour transform", [](ByteWriter& o) { WriteColorTransform(o, {}, true); }, {0x00}},
    {"alpha fade, multiply terms only",
     [](ByteWriter& o) { WriteColorTransform(o, ColorTransform::Alpha(0.5), true); },
     {0x69, 0x00, 0x40, 0x10, 0x02, 0x00}},
    {"alpha terms dropped without alpha",
     [](ByteWriter& o) { WriteColorTransform(o, ColorTransform::Alpha(0.5), false); },
     {0x00}},
    {"add terms only, no alpha",
     [&](ByteWriter& o) { WriteColorTransform(o, addRed, false); },
     {0x99, 0x00, 0x00}},
    {"both kinds with negative terms",
     [&](ByteWriter& o) { WriteColorTransform(o, mixed, true); },
     {0xE6, 0x00, 0x00, 0x00, 0x3F, 0xDF, 0xEF, 0xF7, 0xF8, 0x00}},
  };
  for (const Case& c : cases) {
    ByteWriter out;
    c.write(out);
    EXPECT_EQ(c.expected, out.Data()) << c.name;
  }
}

TEST(SwfRecords, ReadBackAsWritten)
{
  ColorTransform tint;
  tint.multG = -3;
  tint.addB = -200;
  tint.addA = 77;
  const Matrix turned = Matrix::Transform(-1234, 5678, 1.5, -0.25, 30);
  ByteWriter out;
  WriteRect(out, {-5, 70000, 3, -9});
  WriteMatrix(out, turned);
  WriteColorTransform(out, tint, true);

  swftest::BitReader in(out.Data());
  EXPECT_EQ((Rect{-5, 70000, 3, -9}), swftest::ReadRect(in));
  EXPECT_EQ(turned, swftest::ReadMatrix(in));
  EXPECT_EQ(tint, swftest::ReadColorTransform(in, true));
  EXPECT_TRUE(in.AtEnd());
}

TEST(SwfRecords, ValuesBeyondTheirBitCountFieldAreRefused)
{
  ByteWriter out;
  Matrix huge = Matrix::Translate(INT32_MIN, 0);  // needs 32 bits; the count field holds 31
  EXPECT_THROW(WriteMatrix(out, huge), std::out_of_range);
  ColorTransform wide;
  wide.addR = -32768;  // needs 16 bits; the count field holds 15
  EXPECT_THROW(WriteColorTransform(out, wide, false), std::out_of_range);
}

TEST(SwfRecords, PixelAndFixedPointHelpersRound)
{
  EXPECT_EQ(200, Px(10));
  EXPECT_EQ(-30, Px(-1.5));
  EXPECT_EQ(11, Px(0.53));
  EXPECT_EQ(0x10000, Fixed16(1.0));
  EXPECT_EQ(-0x8000, Fixed16(-0.5));
  EXPECT_EQ((Rect{20, 60, 40, 80}), PxRect(1, 2, 3, 4));
  EXPECT_EQ((Color{0xC7, 0x6D, 0x6D, 0x80}), Rgba(0xC76D6D, 0x80));
}
