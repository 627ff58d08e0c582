#include <gtest/gtest.h>

#include "flash_control/com/PropertyText.h"
#include "flash_control/com/StageLayout.h"
#include "flash_control/com/Utf8.h"

using namespace flash_control;

TEST(StageLayout, ScaleModesAndAlignment)
{
  // A 100 by 50 stage in a 200 by 200 target at (10, 20).
  const TRect target = Bounds(10, 20, 200, 200);
  const struct {
    TScaleMode mode;
    unsigned align;
    swf::StageTransform expected;
  } cases[] = {
    {TScaleMode::ShowAll, 0, {2, 2, 10, 70}},
    {TScaleMode::ShowAll, AlignTop, {2, 2, 10, 20}},
    {TScaleMode::ShowAll, AlignBottom | AlignRight, {2, 2, 10, 120}},
    {TScaleMode::NoBorder, 0, {4, 4, -90, 20}},
    {TScaleMode::NoBorder, AlignLeft, {4, 4, 10, 20}},
    {TScaleMode::NoBorder, AlignRight, {4, 4, -190, 20}},
    {TScaleMode::ExactFit, AlignTop | AlignLeft, {2, 4, 10, 20}},
    {TScaleMode::NoScale, 0, {1, 1, 60, 95}},
    {TScaleMode::NoScale, AlignTop | AlignLeft, {1, 1, 10, 20}},
    {TScaleMode::NoScale, AlignBottom | AlignRight, {1, 1, 110, 170}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.expected, FitStage({0, 0, 100, 50}, target, c.mode, c.align))
      << int(c.mode) << " align " << c.align;
  EXPECT_EQ((swf::StageTransform{1, 1, 10, 20}), FitStage({}, target, TScaleMode::ShowAll, 0));
  // Zoomed in on the stage's right half: that half fills the width.
  EXPECT_EQ((swf::StageTransform{4, 4, -190, 20}),
            FitStage({50, 0, 50, 50}, target, TScaleMode::ShowAll, 0));
}

TEST(StageLayout, ScaleAndAlignTexts)
{
  EXPECT_EQ(TScaleMode::NoBorder, ScaleModeFromText(u"noborder"));
  EXPECT_EQ(TScaleMode::ExactFit, ScaleModeFromText(u"EXACTFIT"));
  EXPECT_FALSE(ScaleModeFromText(u"fit"));
  for (TScaleMode mode :
       {TScaleMode::ShowAll, TScaleMode::NoBorder, TScaleMode::ExactFit, TScaleMode::NoScale})
    EXPECT_EQ(mode, ScaleModeFromText(ScaleModeText(mode)));

  EXPECT_EQ(AlignTop | AlignLeft, AlignFromText(u"lt"));
  EXPECT_EQ(0u, AlignFromText(u""));
  EXPECT_FALSE(AlignFromText(u"TX"));
  for (unsigned align = 0; align <= AlignMask; ++align)
    EXPECT_EQ(align, AlignFromText(AlignText(align)));
  EXPECT_EQ(u"BR", AlignText(AlignBottom | AlignRight));
}

TEST(PropertyText, WindowModeQualityAndColour)
{
  EXPECT_EQ(TWindowMode::Transparent, WindowModeFromText(u"transparent"));
  EXPECT_EQ(TWindowMode::Opaque, WindowModeFromText(u"Opaque"));
  EXPECT_EQ(TWindowMode::Window, WindowModeFromText(u"WINDOW"));
  EXPECT_FALSE(WindowModeFromText(u"direct"));

  for (int quality = 0; quality <= 5; ++quality)
    EXPECT_EQ(quality, QualityFromText(*QualityText(quality)));
  EXPECT_EQ(1, QualityFromText(u"high"));
  EXPECT_FALSE(QualityText(6));
  EXPECT_FALSE(QualityText(-1));
  EXPECT_FALSE(QualityFromText(u"ultra"));

  EXPECT_EQ(0xC76D6D, ColorFromText(u"#c76d6d"));
  EXPECT_EQ(0x00FF00, ColorFromText(u"00FF00"));
  EXPECT_EQ(MovieBackground, ColorFromText(u""));
  for (std::u16string_view bad : {u"#12345", u"#1234567", u"#GG0000", u"#"})
    EXPECT_FALSE(ColorFromText(bad)) << ToUtf8(bad);
  EXPECT_EQ(u"#0A0B0C", ColorText(0x0A0B0C));
  EXPECT_EQ(u"", ColorText(MovieBackground));
  EXPECT_FALSE(ColorText(0x1000000));
  EXPECT_FALSE(ColorText(-2));
}
