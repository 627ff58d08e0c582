#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>

#include "tests/tools/swf_reader.h"
#include "tools/moviegen/Movies.h"

using namespace swfwriter;
using swftest::Action;

namespace {

Bytes Concat(std::initializer_list<Bytes> parts)
{
  Bytes all;
  for (const Bytes& part : parts)
    all.insert(all.end(), part.begin(), part.end());
  return all;
}

std::vector<uint16_t> Codes(const std::vector<swftest::Tag>& tags)
{
  std::vector<uint16_t> codes;
  for (const swftest::Tag& tag : tags)
    codes.push_back(tag.code);
  return codes;
}

// The rectangle a transformed rectangle covers.
Rect Transformed(const Matrix& m, const Rect& r)
{
  Rect out{INT32_MAX, INT32_MIN, INT32_MAX, INT32_MIN};
  for (int32_t x : {r.xMin, r.xMax})
    for (int32_t y : {r.yMin, r.yMax}) {
      const double tx = (double(m.scaleX) * x + double(m.rotateSkew1) * y) / 65536 + m.translateX;
      const double ty = (double(m.rotateSkew0) * x + double(m.scaleY) * y) / 65536 + m.translateY;
      out.xMin = std::min(out.xMin, int32_t(std::floor(tx)));
      out.xMax = std::max(out.xMax, int32_t(std::ceil(tx)));
      out.yMin = std::min(out.yMin, int32_t(std::floor(ty)));
      out.yMax = std::max(out.yMax, int32_t(std::ceil(ty)));
    }
  return out;
}

// The definitions and root placements of a movie, by character id.
struct Contents {
  explicit Contents(const swftest::ParsedMovie& movie)
  {
    for (const swftest::Tag& tag : movie.tags) {
      if (tag.code == swf::kTagDefineShape || tag.code == swf::kTagDefineShape2 ||
          tag.code == swf::kTagDefineShape3) {
        const swftest::ParsedShape shape = swftest::ReadShape(tag);
        shapeBounds[shape.id] = shape.bounds;
      } else if (tag.code == swf::kTagDefineButton2) {
        const swftest::ParsedButton button = swftest::ReadButton2(tag);
        buttons[button.id] = button;
      } else if (tag.code == swf::kTagDefineSprite) {
        swftest::BitReader in(tag.body);
        const uint16_t id = in.U16();
        spriteFrames[id] = in.U16();
        swftest::ReadTags(in);
      } else if (tag.code == swf::kTagPlaceObject2) {
        placements.push_back(swftest::ReadPlaceObject2(tag).placement);
      }
    }
  }

  std::map<uint16_t, Rect> shapeBounds;
  std::map<uint16_t, swftest::ParsedButton> buttons;
  std::map<uint16_t, uint16_t> spriteFrames;
  std::vector<Placement> placements;
};

// The characters a button shows in one state, with their matrices.
std::vector<std::pair<uint16_t, Matrix>> Looks(const swftest::ParsedButton& button, uint8_t state)
{
  std::vector<std::pair<uint16_t, Matrix>> looks;
  for (const swftest::ButtonRecord& record : button.records)
    if (record.states & state)
      looks.emplace_back(record.character, record.matrix);
  return looks;
}

// Every look, hover and pressed, differs from the resting one.
void ExpectsReactsToTheMouse(const swftest::ParsedButton& button)
{
  const auto up = Looks(button, swf::kButtonUp);
  EXPECT_FALSE(up.empty());
  EXPECT_NE(up, Looks(button, swf::kButtonOver));
  EXPECT_NE(up, Looks(button, swf::kButtonDown));
  EXPECT_NE(Looks(button, swf::kButtonOver), Looks(button, swf::kButtonDown));
  EXPECT_FALSE(Looks(button, swf::kButtonHit).empty());
}

Bytes ReadFile(const char* path)
{
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

TEST(LoaderMovie, Is272BytesUncompressedWithTheStatedHeader)
{
  const Bytes file = moviegen::LoaderMovie().Save();
  EXPECT_EQ((Bytes{'C', 'W', 'S', 7, 0x10, 0x01, 0x00, 0x00}),
            Bytes(file.begin(), file.begin() + 8));
  const swftest::ParsedMovie movie = swftest::ReadMovie(file);
  EXPECT_EQ(272u, movie.uncompressed.size());
  // A frame of 0..11000 by 0..8000 twips in 15-bit fields, 12.0 frames a second, one frame.
  EXPECT_EQ((Bytes{0x78, 0x00, 0x05, 0x5F, 0x00, 0x00, 0x0F, 0xA0, 0x00, 0x00, 0x0C, 0x01, 0x00}),
            Bytes(movie.uncompressed.begin() + 8, movie.uncompressed.begin() + 21));
  EXPECT_EQ((std::vector<uint16_t>{swf::kTagSetBackgroundColor, swf::kTagDoAction,
                                   swf::kTagDefineVideoStream, swf::kTagPlaceObject2,
                                   swf::kTagShowFrame}),
            Codes(movie.tags));
  EXPECT_EQ((Bytes{0xFF, 0xFF, 0xFF}), movie.tags[0].body);
}

TEST(LoaderMovie, ScriptPlaysTheFileNameInTheVideoObject)
{
  const swftest::ParsedMovie movie = swftest::ReadMovie(moviegen::LoaderMovie().Save());
  swftest::BitReader in(movie.tags.at(1).body);
  const std::vector<Action> script = swftest::ReadActions(in);
  EXPECT_TRUE(in.AtEnd());

  const Bytes pool = Concat({{9, 0},
                             {'n', 'e', 't', 'C', 'o', 'n', 'n', 0},
                             {'N', 'e', 't', 'C', 'o', 'n', 'n', 'e', 'c', 't', 'i', 'o', 'n', 0},
                             {'c', 'o', 'n', 'n', 'e', 'c', 't', 0},
                             {'n', 'e', 't', 'S', 't', 'r', 'm', 0},
                             {'N', 'e', 't', 'S', 't', 'r', 'e', 'a', 'm', 0},
                             {'m', 'y', 'v', 'i', 'd', 'e', 'o', 0},
                             {'a', 't', 't', 'a', 'c', 'h', 'V', 'i', 'd', 'e', 'o', 0},
                             {'f', 'i', 'l', 'e', 'N', 'a', 'm', 'e', 0},
                             {'p', 'l', 'a', 'y', 0}});
  // Push values: constant n is {8, n}; the integers 0 and 1; null is {2}.
  const Bytes zero{7, 0, 0, 0, 0}, one{7, 1, 0, 0, 0}, null{2};
  const auto c = [](uint8_t index) { return Bytes{8, index}; };
  const auto push = [](Bytes payload) { return Action{0x96, std::move(payload)}; };
  const Action getVariable{0x1C, {}}, newObject{0x40, {}}, defineLocal{0x3C, {}},
    callMethod{0x52, {}}, pop{0x17, {}};
  const std::vector<Action> expected = {
    {0x88, pool},
    // var netConn = new NetConnection();
    push(Concat({c(0), zero, c(1)})),
    newObject,
    defineLocal,
    // netConn.connect(null);
    push(Concat({null, one, c(0)})),
    getVariable,
    push(c(2)),
    callMethod,
    pop,
    // var netStrm = new NetStream(netConn);
    push(Concat({c(3), c(0)})),
    getVariable,
    push(Concat({one, c(4)})),
    newObject,
    defineLocal,
    // myvideo.attachVideo(netStrm);
    push(c(3)),
    getVariable,
    push(Concat({one, c(5)})),
    getVariable,
    push(c(6)),
    callMethod,
    pop,
    // netStrm.play(fileName);
    push(c(7)),
    getVariable,
    push(Concat({one, c(3)})),
    getVariable,
    push(c(8)),
    callMethod,
    pop,
    {0x00, {}},
  };
  EXPECT_EQ(expected, script);
}

TEST(LoaderMovie, VideoObjectFillsTheStage)
{
  const swftest::ParsedMovie movie = swftest::ReadMovie(moviegen::LoaderMovie().Save());
  // Character 1, no frames, 160 by 120, no deblocking or smoothing, codec 0.
  EXPECT_EQ((Bytes{1, 0, 0, 0, 160, 0, 120, 0, 0, 0}), movie.tags.at(2).body);
  const swftest::ParsedPlacement placed = swftest::ReadPlaceObject2(movie.tags.at(3));
  EXPECT_EQ(0x26, placed.flags);  // name, matrix, character
  EXPECT_EQ(1, placed.placement.depth);
  EXPECT_EQ(1, placed.placement.character);
  EXPECT_EQ("myvideo", placed.placement.name);
  Matrix stretch = Matrix::Translate(-20, 0);
  stretch.scaleX = 225278;
  stretch.scaleY = 218451;
  EXPECT_EQ(stretch, placed.placement.matrix);
}

TEST(MenuMovie, TwoCaptionButtonsInTheRight106PixelsSendMinAndClose)
{
  const swftest::ParsedMovie movie = swftest::ReadMovie(moviegen::MenuMovie().Save());
  EXPECT_EQ(PxRect(0, 0, 746, 50), movie.frame);
  EXPECT_EQ(1, movie.frameCount);
  const Contents contents(movie);

  std::vector<std::string> commands;
  for (const Placement& placement : contents.placements) {
    ASSERT_TRUE(placement.character);
    const auto button = contents.buttons.find(*placement.character);
    if (button == contents.buttons.end())
      continue;
    ExpectsReactsToTheMouse(button->second);
    for (const auto& [character, matrix] : Looks(button->second, swf::kButtonHit)) {
      const Rect hit = Transformed(placement.matrix.value_or(Matrix{}),
                                   Transformed(matrix, contents.shapeBounds.at(character)));
      EXPECT_GE(hit.xMin, Px(640));
      EXPECT_LE(hit.xMax, Px(746));
      EXPECT_GE(hit.yMin, 0);
      EXPECT_LE(hit.yMax, Px(50));
    }
    ASSERT_EQ(1u, button->second.actions.size());
    const auto& [conditions, actions] = button->second.actions[0];
    EXPECT_EQ(swf::kOverDownToOverUp, conditions);
    ASSERT_EQ(2u, actions.size());
    EXPECT_EQ(0x83, actions[0].code);  // get URL: the URL, then an empty target
    const Bytes& payload = actions[0].payload;
    ASSERT_GE(payload.size(), 2u);
    EXPECT_EQ(0, payload.back());
    commands.emplace_back(payload.begin(), payload.end() - 2);
  }
  EXPECT_EQ((std::vector<std::string>{"FSCommand:Min", "FSCommand:Close"}), commands);
}

TEST(ZarinelleMovie, LoopsAnAnimatedSceneWithAButton)
{
  const swftest::ParsedMovie movie = swftest::ReadMovie(moviegen::ZarinelleMovie().Save());
  EXPECT_EQ(PxRect(0, 0, 740, 400), movie.frame);
  EXPECT_GE(movie.frameCount, 24);
  const Contents contents(movie);

  // It keeps moving: characters move with matrices, one fades with a colour transform, and a
  // sprite plays a timeline of its own.
  const auto moves = std::count_if(contents.placements.begin(), contents.placements.end(),
                                   [](const Placement& p) { return p.move && p.matrix; });
  EXPECT_GE(moves, 4 * (movie.frameCount - 1));
  EXPECT_TRUE(std::any_of(contents.placements.begin(), contents.placements.end(),
                          [](const Placement& p) { return p.move && p.colorTransform; }));
  EXPECT_TRUE(std::any_of(contents.spriteFrames.begin(), contents.spriteFrames.end(),
                          [](const auto& sprite) { return sprite.second > 1; }));
  // It loops: no action at the root stops it.
  for (const swftest::Tag& tag : movie.tags)
    if (tag.code == swf::kTagDoAction) {
      swftest::BitReader in(tag.body);
      for (const Action& action : swftest::ReadActions(in))
        EXPECT_NE(0x07, action.code);
    }

  ASSERT_EQ(1u, contents.buttons.size());
  const swftest::ParsedButton& button = contents.buttons.begin()->second;
  ExpectsReactsToTheMouse(button);
  ASSERT_EQ(1u, button.actions.size());
  EXPECT_EQ(swf::kOverDownToOverUp, button.actions[0].first);
}

TEST(GeneratedMovies, TheBuildWroteTheseMovies)
{
  EXPECT_EQ(moviegen::MenuMovie().Save(), ReadFile(QV_MENU_SWF));
  EXPECT_EQ(moviegen::ZarinelleMovie().Save(), ReadFile(QV_ZARINELLE_SWF));
  EXPECT_EQ(moviegen::LoaderMovie().Save(), ReadFile(QV_LOADER_SWF));
}
