// The script interpreter: arithmetic and comparison, control flow, variables and paths, objects and
// functions, timeline actions, get-URL and FSCommand, and the caps that stop hostile scripts.
#include <gtest/gtest.h>

#include <cmath>

#include "Fixtures.h"

using namespace swftest;
using swfwriter::Actions;
using swfwriter::Bytes;

namespace {

// The encoded list without its closing end action, to splice lists together.
Bytes Body(const Actions& actions)
{
  Bytes bytes = actions.Encode();
  bytes.pop_back();
  return bytes;
}

Bytes Join(std::initializer_list<Bytes> parts)
{
  Bytes all;
  for (const Bytes& part : parts)
    all.insert(all.end(), part.begin(), part.end());
  all.push_back(0);
  return all;
}

// DefineFunction of `name` with `parameters`, whose body is `body`.
Bytes Function(const std::string& name, std::initializer_list<std::string> parameters, const Bytes& body)
{
  swfwriter::ByteWriter header;
  header.String(name);
  header.U16(static_cast<uint16_t>(parameters.size()));
  for (const auto& p : parameters)
    header.String(p);
  header.U16(static_cast<uint16_t>(body.size()));
  swfwriter::ByteWriter action;
  action.U8(0x9B);
  action.U16(static_cast<uint16_t>(header.Size()));
  action.Append(header.Data());
  action.Append(body);
  return action.Take();
}

// A one-frame movie of the given version running `script` (encoded, with its end) in its frame.
swf::Player RunScript(const Bytes& script, uint8_t version = 8, swf::Host* host = nullptr, swf::Limits limits = {},
                const swf::Variables& variables = {})
{
  auto movie = NewMovie(40, 30, version);
  movie.Tag(swf::kTagDoAction, script);
  movie.ShowFrame();
  swf::Player player(host, limits);
  EXPECT_TRUE(Load(player, movie, variables)) << player.LastError();
  return player;
}

swf::Player RunScript(const Actions& script, uint8_t version = 8, swf::Host* host = nullptr)
{
  return RunScript(script.Encode(), version, host);
}

}  // namespace

TEST(Script, ComputesValues)
{
  const struct {
    const char* name;
    Actions script;
    const char* expected;
    uint8_t version = 8;
  } cases[] = {
      {"add numbers", Actions().Push({"r", 2, 3}).Add2().SetVariable(), "5"},
      {"add text", Actions().Push({"r", "a", 1}).Add2().SetVariable(), "a1"},
      {"old add converts", Actions().Push({"r", "2", "3"}).Add().SetVariable(), "5"},
      {"subtract", Actions().Push({"r", 7, 10}).Subtract().SetVariable(), "-3"},
      {"divide", Actions().Push({"r", 1, 4}).Divide().SetVariable(), "0.25"},
      {"by zero", Actions().Push({"r", 1, 0}).Divide().SetVariable(), "Infinity"},
      {"doubles", Actions().Push({"r", 0.1, 0.2}).Add2().SetVariable(), "0.3"},
      {"multiply", Actions().Push({"r", 6, 7}).Multiply().SetVariable(), "42"},
      {"less", Actions().Push({"r", 2, 3}).Less2().SetVariable(), "true"},
      {"greater", Actions().Push({"r", 2, 3}).Greater().SetVariable(), "false"},
      {"loose equality", Actions().Push({"r", "10", 10}).Equals2().SetVariable(), "true"},
      {"not", Actions().Push({"r", 0}).Not().SetVariable(), "true"},
      {"old boolean is a number", Actions().Push({"r", 2, 3}).Less().SetVariable(), "1", 4},
      {"undefined in text, newer", Actions().Push({"r", "u", "nothing"}).GetVariable().Add2().SetVariable(), "uundefined", 7},
      {"undefined in text, older", Actions().Push({"r", "u", "nothing"}).GetVariable().Add2().SetVariable(), "u", 6},
      {"names ignore case before 7", Actions().Push({"Abc", 1}).SetVariable().Push({"r", "aBC"}).GetVariable().SetVariable(), "1", 6},
      {"constant pool", Actions().ConstantPool({"r", "pooled"}).Push({"r", "pooled"}).SetVariable(), "pooled"},
  };
  for (const auto& c : cases) {
    swf::Player player = RunScript(c.script, c.version);
    EXPECT_EQ(c.expected, player.GetVariable("r").value_or("<undefined>")) << c.name;
    EXPECT_EQ(0u, player.StoppedScripts()) << c.name;
  }
}

TEST(Script, BranchesAndLoops)
{
  // r = 0; i = 10; while (!(i < 1)) { r = r + i; i = i - 1; }
  Actions script;
  const auto top = script.NewLabel(), done = script.NewLabel();
  script.Push({"r", 0}).SetVariable().Push({"i", 10}).SetVariable();
  script.Bind(top).Push({"i"}).GetVariable().Push(1).Less2().If(done);
  script.Push({"r", "r"}).GetVariable().Push({"i"}).GetVariable().Add2().SetVariable();
  script.Push({"i", "i"}).GetVariable().Push(1).Subtract().SetVariable().Jump(top);
  script.Bind(done);
  EXPECT_EQ("55", RunScript(script).GetVariable("r"));
}

TEST(Script, ObjectsAndFunctions)
{
  // o = new Object(); o.a = 5; r1 = o.a;
  const Bytes objects = Body(Actions()
                                 .Push({"o", 0, "Object"}).NewObject().SetVariable()
                                 .Push({"o"}).GetVariable().Push({"a", 5}).SetMember()
                                 .Push({"r1", "o"}).GetVariable().Push("a").GetMember().SetVariable());
  // function twice(x) { return x * 2; }  r2 = twice(21);
  const Bytes twice = Function("twice", {"x"}, Body(Actions().Push("x").GetVariable().Push(2).Multiply().Raw(0x3E)));
  const Bytes call = Body(Actions().Push({"r2", 21, 1, "twice"}).CallFunction().SetVariable());
  // function P(v) { this.v = v; }  p = new P(7); r3 = p.v;  (a constructor)
  const Bytes ctor = Function("P", {"v"}, Body(Actions().Push({"this"}).GetVariable().Push({"v", "v"}).GetVariable().SetMember()));
  const Bytes construct = Body(Actions().Push({"p", 7, 1, "P"}).NewObject().SetVariable()
                                   .Push({"r3", "p"}).GetVariable().Push("v").GetMember().SetVariable());
  // m = new Object(); m.f = twice; r4 = m.f(4);  (a method)
  const Bytes method = Body(Actions().Push({"m", 0, "Object"}).NewObject().SetVariable()
                                .Push({"m"}).GetVariable().Push({"f", "twice"}).GetVariable().SetMember()
                                .Push({"r4", 4, 1, "m"}).GetVariable().Push("f").CallMethod().SetVariable());
  // The register form: function inc(x) { return x + 1; } with x in register 1; r5 = inc(9);
  const Bytes incBody = Body(Actions().Push({swfwriter::Register{1}, 1}).Add2().Raw(0x3E));
  swfwriter::ByteWriter header;
  header.String("inc");
  header.U16(1);
  header.U8(2);   // registers
  header.U16(0);  // nothing preloaded
  header.U8(1);
  header.String("x");
  header.U16(static_cast<uint16_t>(incBody.size()));
  swfwriter::ByteWriter inc;
  inc.U8(0x8E);
  inc.U16(static_cast<uint16_t>(header.Size()));
  inc.Append(header.Data());
  inc.Append(incBody);
  const Bytes callInc = Body(Actions().Push({"r5", 9, 1, "inc"}).CallFunction().SetVariable());
  swf::Player player = RunScript(Join({objects, twice, call, ctor, construct, method, inc.Data(), callInc}));
  EXPECT_EQ("10", player.GetVariable("r5"));
  EXPECT_EQ("5", player.GetVariable("r1"));
  EXPECT_EQ("42", player.GetVariable("r2"));
  EXPECT_EQ("7", player.GetVariable("r3"));
  EXPECT_EQ("8", player.GetVariable("r4"));
  EXPECT_EQ("[object Object]", player.GetVariable("o"));
  EXPECT_EQ(0u, player.StoppedScripts());
}

TEST(Script, ObjectsSurviveCollectionWhileReachable)
{
  // Each frame: keep = new Object(); keep.child = new Object(); keep.child.n = frame; and 300
  // throw-away objects, so the heap collects now and then.
  auto movie = NewMovie(40, 30, 8);
  for (int frame = 0; frame < 8; ++frame) {
    Actions script;
    script.Push({"keep", 0, "Object"}).NewObject().SetVariable();
    script.Push({"keep"}).GetVariable().Push({"child", 0, "Object"}).NewObject().SetMember();
    script.Push({"keep"}).GetVariable().Push("child").GetMember().Push({"n", frame}).SetMember();
    for (int i = 0; i < 300; ++i)
      script.Push({0, "Object"}).NewObject().Pop();
    movie.DoAction(script);
    movie.ShowFrame();
  }
  swf::Limits limits;
  limits.MaxObjects = 2000;
  swf::Player player(nullptr, limits);
  ASSERT_TRUE(Load(player, movie));
  for (int frame = 1; frame < 24; ++frame) {
    player.Advance();
    ASSERT_EQ(0u, player.StoppedScripts()) << frame;
  }
  EXPECT_EQ("[object Object]", player.GetVariable("keep"));
  EXPECT_EQ("7", player.GetVariable("keep.child.n"));  // set by frame 23 % 8
}

TEST(Script, VariablesOfTheRootAndOfSprites)
{
  auto movie = NewMovie(40, 30, 7);
  swfwriter::Sprite inner;
  inner.DoAction(Actions().Push({"v", "inside"}).SetVariable());
  inner.ShowFrame();
  movie.PlaceObject2({.depth = 1, .character = movie.DefineSprite(inner), .name = "clip"});
  // The load's variables are there before the first frame's script runs.
  movie.DoAction(Actions().Push({"copy", "fileName"}).GetVariable().SetVariable());
  movie.ShowFrame();
  swf::Player player;
  ASSERT_TRUE(Load(player, movie, {{"fileName", "D:/media/clip.flv"}}));
  EXPECT_EQ("D:/media/clip.flv", player.GetVariable("fileName"));
  EXPECT_EQ("D:/media/clip.flv", player.GetVariable("copy"));
  EXPECT_EQ("inside", player.GetVariable("/clip:v"));
  EXPECT_EQ("inside", player.GetVariable("_level0.clip.v"));
  EXPECT_EQ("inside", player.GetVariable("clip.v"));
  EXPECT_TRUE(player.SetVariable("/clip:w", "set"));
  EXPECT_EQ("set", player.GetVariable("_level0.clip:w"));
  EXPECT_EQ("_level0.clip", player.GetVariable("clip"));
  EXPECT_FALSE(player.GetVariable("missing"));
  EXPECT_FALSE(player.GetVariable("/nothing:v"));
  EXPECT_FALSE(player.GetVariable("FILENAME"));  // version 7 names are case-sensitive
}

TEST(Script, DrivesTimelines)
{
  auto movie = NewMovie(40, 30, 8);
  swfwriter::Sprite clip;
  clip.ShowFrame();
  clip.FrameLabel("two");
  clip.ShowFrame();
  clip.ShowFrame();
  movie.PlaceObject2({.depth = 1, .character = movie.DefineSprite(clip), .name = "clip"});
  // Frame 0: stop the clip; go to frame 2 of the root, whose script records that it ran.
  movie.DoAction(Actions().Push({"/clip", 0}).Raw(0x20).Stop().Raw(0x8B, {0}).GotoFrame(2));
  movie.ShowFrame();
  movie.DoAction(Actions().Push({"ran1", 1}).SetVariable());
  movie.ShowFrame();
  movie.DoAction(Actions().Push({"ran2", 1}).SetVariable().Stop()
                     .Push("clip:two").Raw(0x9F, {0x01}));  // gotoAndPlay("clip:two")
  movie.ShowFrame();
  swf::Player player;
  ASSERT_TRUE(Load(player, movie));
  EXPECT_EQ(2u, player.CurrentFrame());
  EXPECT_EQ("1", player.GetVariable("ran2"));
  EXPECT_FALSE(player.GetVariable("ran1"));  // frames passed over do not run their scripts
  EXPECT_EQ(1u, player.CurrentFrame("/clip"));
  EXPECT_TRUE(*player.IsPlaying("/clip"));
  EXPECT_FALSE(*player.IsPlaying());
  player.Advance();
  EXPECT_EQ(2u, player.CurrentFrame());
  EXPECT_EQ(2u, player.CurrentFrame("/clip"));
  // Running a frame's scripts without going there.
  EXPECT_TRUE(player.CallFrame("/", 1));
  EXPECT_EQ("1", player.GetVariable("ran1"));
  EXPECT_EQ(2u, player.CurrentFrame());
}

TEST(Script, GetUrlFiresFSCommandsAndPassesOtherUrls)
{
  RecordingHost host;
  Actions script;
  script.GetURL("FSCommand:Close", "now");
  script.Push({"fscommand:Min", ""}).GetURL2();
  script.GetURL("http://example.com/", "_blank");
  RunScript(script, 8, &host);
  ASSERT_EQ(2u, host.Commands.size());
  EXPECT_EQ(std::make_pair(std::string("Close"), std::string("now")), host.Commands[0]);
  EXPECT_EQ(std::make_pair(std::string("Min"), std::string("")), host.Commands[1]);
  ASSERT_EQ(1u, host.Urls.size());
  EXPECT_EQ("http://example.com/", host.Urls[0].first);
}

TEST(Script, CapsStopRunawayScripts)
{
  Actions forever;
  const auto top = forever.NewLabel();
  forever.Bind(top).Jump(top);
  // r = "x"; forever r = r + r
  Actions doubling;
  const auto again = doubling.NewLabel();
  doubling.Push({"r", "x"}).SetVariable().Bind(again).Push({"r", "r"}).GetVariable().Push({"r"}).GetVariable().Add2().SetVariable().Jump(again);
  // function f() { f(); } f();
  const Bytes recursion = Join({Function("f", {}, Body(Actions().Push({0, "f"}).CallFunction())), Body(Actions().Push({0, "f"}).CallFunction())});
  swf::Limits byTime;
  byTime.MaxActionsPerFrame = 0xFFFFFFFF;
  byTime.MaxScriptMilliseconds = 20;
  const struct {
    const char* name;
    Bytes script;
    swf::Limits limits;
  } cases[] = {
      {"endless loop", forever.Encode(), {}},
      {"endless loop, by time", forever.Encode(), byTime},
      {"text growing without end", doubling.Encode(), {}},
      {"endless recursion", recursion, {}},
  };
  for (const auto& c : cases) {
    auto movie = NewMovie(40, 30, 8);
    movie.Tag(swf::kTagDoAction, c.script);
    movie.ShowFrame();
    movie.DoAction(Actions().Push({"later", "ran"}).SetVariable());
    movie.ShowFrame();
    swf::Player player(nullptr, c.limits);
    ASSERT_TRUE(Load(player, movie)) << c.name;
    EXPECT_EQ(1u, player.StoppedScripts()) << c.name;
    player.Advance();  // the movie goes on
    EXPECT_EQ("ran", player.GetVariable("later")) << c.name;
  }
}

TEST(Script, TheHeapBudgetKeepsWhatFitted)
{
  // i = 0; forever { i = i + 1; set("v" + i, <a text of 1000 bytes>); }
  Actions hoarding;
  const auto more = hoarding.NewLabel();
  hoarding.Push({"i", 0}).SetVariable().Bind(more);
  hoarding.Push({"i", "i"}).GetVariable().Push(1).Add2().SetVariable();
  hoarding.Push({"v", "i"}).GetVariable().Add2().Push(std::string(1000, 'x')).SetVariable().Jump(more);
  swf::Limits limits;
  limits.MaxScriptBytes = 1 << 20;
  swf::Player player = RunScript(hoarding.Encode(), 8, nullptr, limits);
  EXPECT_EQ(1u, player.StoppedScripts());
  EXPECT_EQ(std::string(1000, 'x'), player.GetVariable("v100"));
  EXPECT_FALSE(player.GetVariable("v2000"));
  // Outside scripts, a value that does not fit is refused too.
  EXPECT_FALSE(player.SetVariable("big", std::string(2 << 20, 'y')));
  EXPECT_FALSE(player.GetVariable("big"));
}

TEST(Script, MalformedCodeStopsOnlyItsScript)
{
  const struct {
    const char* name;
    Bytes script;
  } cases[] = {
      {"jump past the end", {0x99, 2, 0, 0x00, 0x10, 0}},
      {"jump before the start", {0x99, 2, 0, 0xF0, 0xFF, 0}},
      {"action longer than its block", {0x96, 0x40, 0}},
      {"push cut inside a number", {0x96, 3, 0, 6, 1, 2, 0}},
      {"unknown push type", {0x96, 1, 0, 0x42, 0}},
      {"function longer than its block", {0x9B, 5, 0, 0, 0, 0, 0xFF, 0x00, 0}},
      {"no end", {0x06}},
  };
  for (const auto& c : cases) {
    auto movie = NewMovie(40, 30, 8);
    movie.Tag(swf::kTagDoAction, c.script);
    movie.DoAction(Actions().Push({"after", "ran"}).SetVariable());
    movie.ShowFrame();
    swf::Player player;
    ASSERT_TRUE(Load(player, movie)) << c.name;
    EXPECT_EQ("ran", player.GetVariable("after")) << c.name;
  }
}

TEST(Script, PropertiesByNumberAndByName)
{
  auto movie = NewMovie(40, 30, 8);
  swfwriter::Sprite clip;
  clip.PlaceObject2({.depth = 1, .character = movie.DefineShape(Box(0, 0, 10, 5, 0xFF0000))});
  clip.ShowFrame();
  clip.ShowFrame();
  movie.PlaceObject2({.depth = 1, .character = movie.DefineSprite(clip), .name = "clip"});
  // clip._x = 12.5 (by name); setProperty("clip", _alpha, 50) (by number)
  movie.DoAction(Actions().Push({"clip"}).GetVariable().Push({"_x", 12.5}).SetMember()
                     .Push({"clip", 6, 50}).Raw(0x23)
                     .Push({"w", "clip", 8}).Raw(0x22).SetVariable());
  movie.ShowFrame();
  swf::Player player;
  ASSERT_TRUE(Load(player, movie));
  EXPECT_EQ("10", player.GetVariable("w"));
  EXPECT_EQ(12.5, player.GetPropertyNumber("/clip", 0));
  EXPECT_EQ("50", player.GetProperty("/clip", 6));
  EXPECT_EQ("1", player.GetProperty("/clip", 4));  // _currentframe counts from 1
  EXPECT_EQ("2", player.GetProperty("/clip", 5));
  EXPECT_EQ("/clip", player.GetProperty("/clip", 11));
  EXPECT_EQ("clip", player.GetProperty("/clip", 13));
  EXPECT_TRUE(player.SetPropertyNumber("/clip", 2, 200));
  EXPECT_EQ(20.0, player.GetPropertyNumber("/clip", 8));
  EXPECT_TRUE(player.SetProperty("/clip", 10, "90"));
  EXPECT_NEAR(90.0, *player.GetPropertyNumber("/clip", 10), 1e-9);
  EXPECT_NEAR(20.0, *player.GetPropertyNumber("/clip", 9), 0.05);  // 20 x 5, turned upright
  EXPECT_TRUE(player.SetProperty("/clip", 7, "false"));
  EXPECT_EQ(0.0, player.GetPropertyNumber("/clip", 7));
  EXPECT_FALSE(player.GetProperty("/clip", 99));
  EXPECT_FALSE(player.GetProperty("/none", 0));
  EXPECT_FALSE(player.SetProperty("/none", 0, "1"));
  EXPECT_TRUE(player.SetPropertyNumber("/clip", 0, NAN));  // ignored, not undefined behaviour
  EXPECT_EQ(12.5, player.GetPropertyNumber("/clip", 0));
}
