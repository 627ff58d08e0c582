// The video loader movie: it reads `fileName` from its load variables, opens that file through the
// host and, when it is a video, shows a placeholder where the video would play.
#include <gtest/gtest.h>

#include "Fixtures.h"
#include "tools/moviegen/Movies.h"

using namespace swftest;

TEST(Loader, PlaysTheNamedVideoAsAPlaceholder)
{
  const auto loader = moviegen::LoaderMovie().Save();
  const struct {
    const char* name;
    std::vector<uint8_t> file;
    bool present;
    bool shown;
  } cases[] = {
      {"a video", {'F', 'L', 'V', 1, 5}, true, true},
      {"not a video", {'F', 'W', 'S', 1, 5}, true, false},
      {"too short", {'F', 'L'}, true, false},
      {"missing", {}, false, false},
  };
  for (const auto& c : cases) {
    RecordingHost host;
    if (c.present)
      host.Files["D:/media/clip.flv"] = c.file;
    swf::Player player(&host);
    ASSERT_TRUE(player.Load(0, loader, {{"fileName", "D:/media/clip.flv"}})) << player.LastError();
    EXPECT_EQ(std::vector<std::string>{"D:/media/clip.flv"}, host.Reads) << c.name;
    EXPECT_EQ(0u, player.StoppedScripts()) << c.name;
    EXPECT_EQ("[object Object]", player.GetVariable("netStrm")) << c.name;
    EXPECT_EQ("_level0.myvideo", player.GetVariable("myvideo")) << c.name;
    // The 160 by 120 video is stretched over the 550 by 400 stage.
    const Canvas canvas = Draw(player);
    const uint32_t expected = c.shown ? 0xFF808080u : 0xFFFFFFFFu;
    EXPECT_EQ(expected, canvas.At(0, 0)) << c.name;
    EXPECT_EQ(expected, canvas.At(275, 200)) << c.name;
    EXPECT_EQ(expected, canvas.At(547, 398)) << c.name;
    EXPECT_EQ(0xFFFFFFFFu, canvas.At(549, 200)) << c.name;  // the video ends just short of the edge
    // A movie of one frame stays on it: its script does not run again.
    player.Advance();
    player.Advance();
    EXPECT_EQ(1u, host.Reads.size()) << c.name;
  }
}

TEST(Loader, TheSceneMoviePlaysCleanly)
{
  swf::Player player;
  ASSERT_TRUE(player.Load(0, moviegen::ZarinelleMovie().Save()));
  const auto info = player.Info();
  ASSERT_TRUE(info);
  EXPECT_EQ(740, info->Width);
  EXPECT_EQ(400, info->Height);
  int changed = 0;
  for (uint32_t frame = 0; frame < 2 * info->FrameCount; ++frame) {
    player.Advance();
    changed += !player.TakeDamage().None();
  }
  EXPECT_EQ(0u, player.StoppedScripts());
  EXPECT_GT(changed, 0);
  EXPECT_TRUE(*player.IsPlaying());
}
