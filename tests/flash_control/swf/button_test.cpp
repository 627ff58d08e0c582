// Buttons under the pointer: their looks, hit areas, and the actions of their transitions; and the
// title bar movie's own buttons.
#include <gtest/gtest.h>

#include "Fixtures.h"
#include "tools/moviegen/Movies.h"

using namespace swftest;
using swfwriter::Actions;
using swfwriter::Px;

namespace {

constexpr uint32_t kBlue = 0xFF0000FF, kGreen = 0xFF00FF00, kRed = 0xFFFF0000;

// A button at (10, 10): blue up, green over, red down, all 10 by 10 pixels; its hit area reaches 5
// pixels further right. Releasing inside sends "click"; rolling over counts in `overs`.
swf::Player ButtonMovie(RecordingHost& host)
{
  auto movie = NewMovie(40, 30, 8);
  const uint16_t up = movie.DefineShape(Box(0, 0, 10, 10, 0x0000FF));
  const uint16_t over = movie.DefineShape(Box(0, 0, 10, 10, 0x00FF00));
  const uint16_t down = movie.DefineShape(Box(0, 0, 10, 10, 0xFF0000));
  const uint16_t hit = movie.DefineShape(Box(0, 0, 15, 10, 0));
  swfwriter::Button button;
  button.Add(swf::kButtonUp, up, 1).Add(swf::kButtonOver, over, 1).Add(swf::kButtonDown, down, 1);
  button.Add(swf::kButtonHit, hit, 1);
  button.On(swf::kOverDownToOverUp, Actions().GetURL("FSCommand:click", "args"));
  button.On(swf::kIdleToOverUp, Actions().Push({"overs", "overs"}).GetVariable().Push(1).Add().SetVariable());
  movie.PlaceObject2({.depth = 1, .character = movie.DefineButton2(button), .matrix = swfwriter::Matrix::Translate(Px(10), Px(10))});
  movie.DoAction(Actions().Push({"overs", 0}).SetVariable());
  movie.ShowFrame();
  swf::Player player(&host);
  EXPECT_TRUE(Load(player, movie));
  return player;
}

uint32_t Look(const swf::Player& player)
{
  return Draw(player).At(15, 15);
}

}  // namespace

TEST(Buttons, FollowThePointerAndClickOnReleaseInside)
{
  RecordingHost host;
  swf::Player player = ButtonMovie(host);
  EXPECT_EQ(kBlue, Look(player));
  player.TakeDamage();

  player.PointerMove(5, 5);
  EXPECT_FALSE(player.OverButton());
  EXPECT_TRUE(player.TakeDamage().None());
  player.PointerMove(22, 15);  // in the hit area, right of what is drawn
  EXPECT_TRUE(player.OverButton());
  EXPECT_EQ(kGreen, Look(player));
  EXPECT_EQ((TRect{9, 9, 21, 21}), player.TakeDamage().Area);
  EXPECT_EQ("1", player.GetVariable("overs"));

  player.PointerDown(15, 15);
  EXPECT_EQ(kRed, Look(player));
  EXPECT_TRUE(host.Commands.empty());
  player.PointerUp(15, 15);
  ASSERT_EQ(1u, host.Commands.size());
  EXPECT_EQ("click", host.Commands[0].first);
  EXPECT_EQ("args", host.Commands[0].second);
  EXPECT_EQ(kGreen, Look(player));
  EXPECT_EQ("1", player.GetVariable("overs"));  // still over: no new roll-over

  player.PointerLeave();
  EXPECT_FALSE(player.OverButton());
  EXPECT_EQ(kBlue, Look(player));
}

TEST(Buttons, OnlyAPressAndReleaseBothInsideClick)
{
  RecordingHost host;
  swf::Player player = ButtonMovie(host);
  // Pressed inside, dragged out (the button looks up), released outside.
  player.PointerMove(15, 15);
  player.PointerDown(15, 15);
  player.PointerMove(35, 25);
  EXPECT_EQ(kBlue, Look(player));
  EXPECT_FALSE(player.OverButton());
  player.PointerMove(15, 15);  // and back in: pressed again
  EXPECT_EQ(kRed, Look(player));
  player.PointerMove(35, 25);
  player.PointerUp(35, 25);
  // Pressed outside, released inside.
  player.PointerDown(35, 25);
  player.PointerMove(15, 15);
  player.PointerUp(15, 15);
  EXPECT_TRUE(host.Commands.empty());
  // A hidden button takes no pointer.
  player.PointerMove(5, 5);
  player.SetProperty("/", 7, "0");
  player.PointerMove(15, 15);
  EXPECT_FALSE(player.OverButton());
}

TEST(Buttons, TheFirstButtonFormClicksToo)
{
  // DefineButton: records without colour transforms, then the actions a click runs.
  auto movie = NewMovie(40, 30, 4);
  const uint16_t box = movie.DefineShape(Box(0, 0, 10, 10, 0x0000FF));
  swfwriter::ByteWriter body;
  body.U16(2);  // the button's id
  for (const uint8_t states : {uint8_t(swf::kButtonUp | swf::kButtonOver | swf::kButtonDown), uint8_t(swf::kButtonHit)}) {
    body.U8(states);
    body.U16(box);
    body.U16(1);
    swfwriter::WriteMatrix(body, {});
  }
  body.U8(0);
  body.Append(Actions().GetURL("FSCommand:old", "").Encode());
  movie.Tag(7, body.Data());
  movie.PlaceObject2({.depth = 1, .character = 2});
  movie.ShowFrame();
  RecordingHost host;
  swf::Player player(&host);
  ASSERT_TRUE(Load(player, movie));
  player.PointerMove(5, 5);
  player.PointerDown(5, 5);
  player.PointerUp(5, 5);
  ASSERT_EQ(1u, host.Commands.size());
  EXPECT_EQ("old", host.Commands[0].first);
}

TEST(Buttons, TheTitleBarSendsMinAndClose)
{
  RecordingHost host;
  swf::Player player(&host);
  ASSERT_TRUE(player.Load(0, moviegen::MenuMovie().Save()));
  // Walk the right of the bar at mid height and click the middle of each button found.
  std::vector<std::pair<int, int>> buttons;
  for (int x = 600; x < 746; ++x) {
    player.PointerMove(x, 25);
    if (!player.OverButton())
      continue;
    if (buttons.empty() || buttons.back().second != x - 1)
      buttons.push_back({x, x});
    buttons.back().second = x;
  }
  ASSERT_EQ(2u, buttons.size());
  EXPECT_GE(buttons[0].first, 640);
  for (const auto& [left, right] : buttons) {
    const int x = (left + right) / 2;
    player.PointerMove(x, 25);
    player.PointerDown(x, 25);
    player.PointerUp(x, 25);
  }
  ASSERT_EQ(2u, host.Commands.size());
  EXPECT_EQ("Min", host.Commands[0].first);
  EXPECT_EQ("Close", host.Commands[1].first);
}
