// Timelines: frames, labels, going to frames forwards and back, looping, sprites with their own
// timelines, what each frame reports as changed, and the caps on the display tree.
#include <gtest/gtest.h>

#include "Fixtures.h"

using namespace swftest;
using swfwriter::Px;

namespace {

// Three frames: a box at x 0 (frame 0, label "start"), moved to x 20 (frame 1, "middle"), removed
// (frame 2, "end"). Red when present.
swfwriter::Movie ThreeFrames()
{
  auto movie = NewMovie(40, 30);
  const uint16_t box = movie.DefineShape(Box(0, 0, 10, 10, 0xFF0000));
  movie.FrameLabel("start");
  movie.PlaceObject2({.depth = 1, .character = box});
  movie.ShowFrame();
  movie.FrameLabel("middle");
  movie.PlaceObject2({.depth = 1, .move = true, .matrix = swfwriter::Matrix::Translate(Px(20), 0)});
  movie.ShowFrame();
  movie.FrameLabel("end");
  movie.RemoveObject2(1);
  movie.ShowFrame();
  return movie;
}

bool RedAt(const swf::Player& player, int x, int y)
{
  return Draw(player).At(x, y) == 0xFFFF0000u;
}

}  // namespace

TEST(Timeline, PlaysFramesAndLoopsOrStopsAtTheEnd)
{
  for (const bool loop : {true, false}) {
    swf::Player player;
    ASSERT_TRUE(Load(player, ThreeFrames()));
    player.SetLoop(loop);
    EXPECT_EQ(0u, player.CurrentFrame());
    EXPECT_TRUE(RedAt(player, 5, 5));
    player.Advance();
    EXPECT_EQ(1u, player.CurrentFrame());
    EXPECT_FALSE(RedAt(player, 5, 5));
    EXPECT_TRUE(RedAt(player, 25, 5));
    player.Advance();
    EXPECT_EQ(2u, player.CurrentFrame());
    EXPECT_FALSE(RedAt(player, 25, 5));
    player.Advance();
    EXPECT_EQ(loop ? 0u : 2u, player.CurrentFrame());
    EXPECT_EQ(loop, *player.IsPlaying());
    EXPECT_EQ(loop, RedAt(player, 5, 5));
  }
}

TEST(Timeline, GoesToFramesAndLabelsBothWays)
{
  swf::Player player;
  ASSERT_TRUE(Load(player, ThreeFrames()));
  ASSERT_TRUE(player.Stop());
  EXPECT_TRUE(player.GotoLabel("/", "END"));  // labels ignore case
  EXPECT_EQ(2u, player.CurrentFrame());
  EXPECT_EQ("end", player.CurrentLabel());
  // Back to a frame whose object was removed since: it is placed again.
  EXPECT_TRUE(player.GotoFrame("/", 1));
  EXPECT_TRUE(RedAt(player, 25, 5));
  EXPECT_EQ("middle", player.CurrentLabel());
  EXPECT_TRUE(player.GotoFrame("_level0", 0));
  EXPECT_TRUE(RedAt(player, 5, 5));
  EXPECT_FALSE(*player.IsPlaying());  // going somewhere does not start or stop the timeline
  EXPECT_FALSE(player.GotoLabel("/", "nowhere"));
  EXPECT_EQ(0u, player.CurrentFrame());
  EXPECT_TRUE(player.GotoFrame("/", 99));  // clamped to the last frame
  EXPECT_EQ(2u, player.CurrentFrame());
  player.Back();
  EXPECT_EQ(1u, player.CurrentFrame());
  player.Forward();
  EXPECT_EQ(2u, player.CurrentFrame());
  player.Play();
  player.Rewind();
  EXPECT_EQ(0u, player.CurrentFrame());
  EXPECT_FALSE(*player.IsPlaying());
  EXPECT_FALSE(player.GotoFrame("/nothing", 0));
  EXPECT_EQ(3u, player.TotalFrames());
}

TEST(Timeline, TheFirstPlacementTagsWork)
{
  // PlaceObject with a colour transform (no alpha terms), RemoveObject by character and depth.
  auto movie = NewMovie(40, 30, 3);
  const uint16_t box = movie.DefineShape(Box(0, 0, 10, 10, 0xFF0000));
  swfwriter::ColorTransform toBlue;
  toBlue.multR = 0, toBlue.addB = 255;
  movie.PlaceObject(box, 1, swfwriter::Matrix::Translate(Px(5), Px(5)), toBlue);
  movie.ShowFrame();
  movie.RemoveObject(box, 1);
  movie.ShowFrame();
  swf::Player player;
  ASSERT_TRUE(Load(player, movie));
  EXPECT_EQ(0xFF0000FFu, Draw(player).At(10, 10));
  player.Advance();
  EXPECT_EQ(0xFFFFFFFFu, Draw(player).At(10, 10));
}

TEST(Timeline, SpritesPlayTheirOwnTimelines)
{
  auto movie = NewMovie(40, 30);
  swfwriter::Sprite blink;
  blink.PlaceObject2({.depth = 1, .character = movie.DefineShape(Box(0, 0, 10, 10, 0xFF0000))});
  blink.ShowFrame();
  blink.RemoveObject2(1);
  blink.ShowFrame();
  const uint16_t sprite = movie.DefineSprite(blink);
  movie.PlaceObject2({.depth = 1, .character = sprite, .name = "blink"});
  movie.ShowFrame();  // the root has a single frame and stays on it
  swf::Player player;
  ASSERT_TRUE(Load(player, movie));
  EXPECT_EQ(2u, player.TotalFrames("/blink"));
  EXPECT_EQ(0u, player.CurrentFrame("/blink"));
  EXPECT_TRUE(RedAt(player, 5, 5));
  player.Advance();
  EXPECT_EQ(1u, player.CurrentFrame("_level0.blink"));
  EXPECT_FALSE(RedAt(player, 5, 5));
  player.Advance();
  EXPECT_TRUE(RedAt(player, 5, 5));
  EXPECT_TRUE(player.Stop("/blink"));
  player.Advance();
  EXPECT_EQ(0u, player.CurrentFrame("/blink"));
  EXPECT_EQ(0u, player.CurrentFrame());
}

TEST(Timeline, ReportsWhatChanged)
{
  swf::Player player;
  ASSERT_TRUE(Load(player, ThreeFrames()));
  EXPECT_TRUE(player.TakeDamage().Everything);  // a new movie
  EXPECT_TRUE(player.TakeDamage().None());
  player.Advance();
  // The box moved from 0..10 to 20..30: both places, with a pixel of margin for anti-aliasing.
  swf::Damage moved = player.TakeDamage();
  EXPECT_FALSE(moved.Everything);
  EXPECT_EQ((TRect{-1, -1, 31, 11}), moved.Area);
  player.Stop();
  player.Advance();
  EXPECT_TRUE(player.TakeDamage().None());
  player.SetProperty("/", 7, "0");  // hide everything
  EXPECT_EQ((TRect{19, -1, 31, 11}), player.TakeDamage().Area);
  player.SetBackgroundOverride(swf::Rgba{1, 2, 3, 255});
  EXPECT_TRUE(player.TakeDamage().Everything);
}

TEST(Timeline, NestingAndDisplayListAreCapped)
{
  // A sprite that places itself: an endless tree, cut at the nesting cap.
  auto movie = NewMovie(40, 30);
  swfwriter::Sprite self;
  self.PlaceObject2({.depth = 1, .character = 2});
  self.PlaceObject2({.depth = 2, .character = 1});
  self.ShowFrame();
  movie.DefineShape(Box(0, 0, 1, 1, 0xFF0000));  // id 1
  ASSERT_EQ(2, movie.DefineSprite(self));
  movie.PlaceObject2({.depth = 1, .character = 2});
  movie.ShowFrame();
  swf::Limits limits;
  limits.MaxNesting = 10;
  swf::Player nested(nullptr, limits);
  ASSERT_TRUE(Load(nested, movie));
  nested.Advance();
  EXPECT_EQ(0xFFFF0000u, Draw(nested).At(0, 0));

  // Many placements: only as many objects as the cap allows, the rest ignored.
  auto crowd = NewMovie(40, 30);
  const uint16_t dot = crowd.DefineShape(Box(0, 0, 1, 1, 0xFF0000));
  for (uint16_t depth = 1; depth <= 200; ++depth)
    crowd.PlaceObject2({.depth = depth, .character = dot, .matrix = swfwriter::Matrix::Translate(Px(depth % 40), Px(depth / 40))});
  crowd.ShowFrame();
  limits.MaxDisplayObjects = 51;  // the root and 50 dots
  swf::Player capped(nullptr, limits);
  ASSERT_TRUE(Load(capped, crowd));
  Canvas c = Draw(capped);
  EXPECT_EQ(0xFFFF0000u, c.At(10, 1));   // depth 50
  EXPECT_EQ(0xFFFFFFFFu, c.At(11, 1));   // depth 51: not placed
}
