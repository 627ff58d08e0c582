#include <gtest/gtest.h>

#include "graphics/Qv_utils.h"

TEST(Keyboard, IntervalsFromTheSettings)
{
  EXPECT_EQ(200, KeyBoardDelayIntervalOf(0));
  EXPECT_EQ(800, KeyBoardDelayIntervalOf(3));
  EXPECT_EQ(435, KeyBoardSpeedIntervalOf(0));
  EXPECT_EQ(145, KeyBoardSpeedIntervalOf(2));
  EXPECT_EQ(14, KeyBoardSpeedIntervalOf(31));

  const int32_t delay = GetKeyBoardDelayInterval();
  EXPECT_TRUE(delay == 200 || delay == 400 || delay == 600 || delay == 800) << delay;
  const int32_t speed = GetKeyBoardSpeedInterval();
  EXPECT_GE(speed, 14);
  EXPECT_LE(speed, 435);
}

TEST(PixelFormat, TheScreenIs32BitsAndTheAnswerIsKept)
{
  CPixelFormat = pfCustom;
  EXPECT_EQ(pf32bit, GetPixelFormat());
  EXPECT_EQ(pf32bit, CPixelFormat);

  struct Case {
    int BitCount;
    TPixelFormat Format;
  };
  const Case cases[] = {{1, pf1bit},   {4, pf4bit},   {8, pf8bit},   {15, pf15bit}, {16, pf16bit},
                        {24, pf24bit}, {32, pf32bit}, {0, pfCustom}, {2, pfCustom}, {48, pfCustom}};
  for (const Case& c : cases) EXPECT_EQ(c.Format, PixelFormatOfBitCount(c.BitCount)) << c.BitCount;
}
