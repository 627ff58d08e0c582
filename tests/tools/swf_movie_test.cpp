#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "tests/tools/swf_reader.h"
#include "tools/swf/Movie.h"

using namespace swfwriter;

TEST(SwfMovie, UncompressedFileIsBitExact)
{
  Movie movie({.version = 6, .frame = PxRect(0, 0, 550, 400), .frameRate = 12.5});
  movie.ShowFrame();
  movie.ShowFrame();
  EXPECT_EQ((Bytes{'F',  'W',  'S',  6,    27,   0,    0,    0,           // signature, length
                   0x78, 0x00, 0x05, 0x5F, 0x00, 0x00, 0x0F, 0xA0, 0x00,  // frame
                   0x80, 0x0C, 0x02, 0x00,                                // 12.5 fps, 2 frames
                   0x40, 0x00, 0x40, 0x00, 0x00, 0x00}),                  // show, show, end
            movie.Save());
}

TEST(SwfMovie, CompressedFileStatesTheUncompressedLength)
{
  MovieHeader header{.version = 7, .frame = PxRect(0, 0, 20, 10)};
  Movie plain(header);
  header.compressed = true;
  Movie packed(header);
  for (Movie* movie : {&plain, &packed}) {
    movie->SetBackgroundColor(Rgb(0xFFFFFF));
    movie->FrameLabel(std::string(500, 'z'));  // something worth compressing
    movie->ShowFrame();
  }
  const Bytes fws = plain.Save();
  const Bytes cws = packed.Save();
  EXPECT_EQ((Bytes{'C', 'W', 'S', 7}), Bytes(cws.begin(), cws.begin() + 4));
  EXPECT_EQ(Bytes(fws.begin() + 4, fws.begin() + 8), Bytes(cws.begin() + 4, cws.begin() + 8));
  EXPECT_LT(cws.size(), fws.size());
  const swftest::ParsedMovie read = swftest::ReadMovie(cws);
  EXPECT_EQ(Bytes(fws.begin() + 8, fws.end()),
            Bytes(read.uncompressed.begin() + 8, read.uncompressed.end()));
  EXPECT_EQ(1, read.frameCount);
  EXPECT_EQ(swftest::ReadMovie(fws).tags.size(), read.tags.size());
}

TEST(SwfMovie, TagHeadersAreShortUnlessTheBodyOrTheSwitchNeedsLong)
{
  Movie movie({});
  movie.Tag(777, Bytes(62, 0xAA));
  movie.Tag(778, Bytes(63, 0xBB));
  movie.SetLongHeaders(true);
  movie.Tag(779, Bytes(1, 0xCC));
  movie.ShowFrame();
  const Bytes file = movie.Save();
  // The first tag's header follows the 21-byte header: code 777, length 62.
  EXPECT_EQ(777 << 6 | 62, file[21] | file[22] << 8);
  const swftest::ParsedMovie read = swftest::ReadMovie(file);
  ASSERT_EQ(4u, read.tags.size());
  EXPECT_FALSE(read.tags[0].longHeader);
  EXPECT_TRUE(read.tags[1].longHeader);
  EXPECT_EQ(Bytes(63, 0xBB), read.tags[1].body);
  EXPECT_TRUE(read.tags[2].longHeader);
  EXPECT_EQ(779, read.tags[2].code);
  EXPECT_FALSE(read.tags[3].longHeader);  // no body: nothing to make long
}

TEST(SwfMovie, TimelineTagsReadBack)
{
  Movie movie({});
  ColorTransform faded = ColorTransform::Alpha(0.25);
  faded.addR = 10;
  const Placement full{.depth = 3,
                       .character = 7,
                       .matrix = Matrix::Transform(Px(10), Px(-5), 2, 0.5, 45),
                       .colorTransform = faded,
                       .ratio = 9,
                       .name = "hero",
                       .clipDepth = 12};
  movie.PlaceObject(2, 1, Matrix::Translate(5, 6), faded);
  movie.PlaceObject2(full);
  movie.ShowFrame();
  movie.PlaceObject2({.depth = 3, .move = true, .matrix = Matrix::Translate(1, 2)});
  movie.FrameLabel("dusk");
  movie.RemoveObject(2, 1);
  movie.RemoveObject2(3);
  movie.DoAction(Actions().Stop());
  movie.ShowFrame();

  const swftest::ParsedMovie read = swftest::ReadMovie(movie.Save());
  EXPECT_EQ(2, read.frameCount);
  ASSERT_EQ(9u, read.tags.size());
  const auto& t = read.tags;

  EXPECT_EQ(swf::kTagPlaceObject, t[0].code);
  swftest::BitReader place(t[0].body);
  EXPECT_EQ(2, place.U16());
  EXPECT_EQ(1, place.U16());
  EXPECT_EQ(Matrix::Translate(5, 6), swftest::ReadMatrix(place));
  ColorTransform withoutAlpha = faded;
  withoutAlpha.multA = 256;
  EXPECT_EQ(withoutAlpha, swftest::ReadColorTransform(place, false));
  EXPECT_TRUE(place.AtEnd());

  const swftest::ParsedPlacement all = swftest::ReadPlaceObject2(t[1]);
  EXPECT_EQ(0x7E, all.flags);
  EXPECT_EQ(full.character, all.placement.character);
  EXPECT_EQ(full.matrix, all.placement.matrix);
  EXPECT_EQ(full.colorTransform, all.placement.colorTransform);
  EXPECT_EQ(full.ratio, all.placement.ratio);
  EXPECT_EQ(full.name, all.placement.name);
  EXPECT_EQ(full.clipDepth, all.placement.clipDepth);

  EXPECT_EQ(swf::kTagShowFrame, t[2].code);
  const swftest::ParsedPlacement moved = swftest::ReadPlaceObject2(t[3]);
  EXPECT_EQ(0x05, moved.flags);
  EXPECT_EQ(3, moved.placement.depth);
  EXPECT_EQ(swf::kTagFrameLabel, t[4].code);
  EXPECT_EQ((Bytes{'d', 'u', 's', 'k', 0}), t[4].body);
  EXPECT_EQ(swf::kTagRemoveObject, t[5].code);
  EXPECT_EQ((Bytes{2, 0, 1, 0}), t[5].body);
  EXPECT_EQ(swf::kTagRemoveObject2, t[6].code);
  EXPECT_EQ((Bytes{3, 0}), t[6].body);
  EXPECT_EQ(swf::kTagDoAction, t[7].code);
  EXPECT_EQ((Bytes{0x07, 0x00}), t[7].body);
}

TEST(SwfMovie, DefinitionsTakeCharacterIdsInOrder)
{
  Movie movie({});
  Shape dot;
  dot.Circle(0, 0, 40, dot.AddFill(Rgb(0)));
  EXPECT_EQ(1, movie.DefineShape(dot));

  Sprite spinner;
  spinner.PlaceObject2({.depth = 1, .character = 1});
  spinner.ShowFrame();
  spinner.PlaceObject2({.depth = 1, .move = true, .matrix = Matrix::Transform(0, 0, 1, 1, 90)});
  spinner.ShowFrame();
  EXPECT_EQ(2, movie.DefineSprite(spinner));
  EXPECT_EQ(
    3,
    movie.DefineVideoStream(
      {.frames = 4, .width = 160, .height = 120, .deblocking = 2, .smoothing = true, .codec = 2}));

  const swftest::ParsedMovie read = swftest::ReadMovie(movie.Save());
  ASSERT_EQ(3u, read.tags.size());
  EXPECT_EQ(1, swftest::ReadShape(read.tags[0]).id);

  EXPECT_EQ(swf::kTagDefineSprite, read.tags[1].code);
  swftest::BitReader sprite(read.tags[1].body);
  EXPECT_EQ(2, sprite.U16());
  EXPECT_EQ(2, sprite.U16());  // frames of the sprite's own timeline
  const std::vector<swftest::Tag> inner = swftest::ReadTags(sprite);
  EXPECT_TRUE(sprite.AtEnd());
  ASSERT_EQ(4u, inner.size());
  EXPECT_EQ(swf::kTagPlaceObject2, inner[0].code);
  EXPECT_EQ(swf::kTagShowFrame, inner[3].code);

  EXPECT_EQ(swf::kTagDefineVideoStream, read.tags[2].code);
  EXPECT_EQ((Bytes{3, 0, 4, 0, 160, 0, 120, 0, 0x05, 2}), read.tags[2].body);
}

TEST(SwfMovie, ButtonRecordsAndConditionActionsReadBack)
{
  Movie movie({});
  Button button;
  button.Add(swf::kButtonUp | swf::kButtonOver, 1, 1);
  button.Add(swf::kButtonDown, 2, 1, Matrix::Translate(20, 20), ColorTransform::Alpha(0.5));
  button.Add(swf::kButtonHit, 3, 2);
  button.On(swf::kOverDownToOverUp, Actions().GetURL("FSCommand:Close", ""));
  button.On(swf::kIdleToOverUp | swf::kOutDownToOverDown, Actions().Play());
  movie.DefineButton2(button);

  Button plain;
  plain.Add(swf::kButtonUp | swf::kButtonHit, 1, 1).TrackAsMenu();
  movie.DefineButton2(plain);

  const swftest::ParsedMovie read = swftest::ReadMovie(movie.Save());
  const swftest::ParsedButton b = swftest::ReadButton2(read.tags.at(0));
  EXPECT_EQ(1, b.id);
  EXPECT_FALSE(b.trackAsMenu);
  ASSERT_EQ(3u, b.records.size());
  EXPECT_EQ(0x03, b.records[0].states);
  EXPECT_EQ(0x04, b.records[1].states);
  EXPECT_EQ(2, b.records[1].character);
  EXPECT_EQ(Matrix::Translate(20, 20), b.records[1].matrix);
  EXPECT_EQ(ColorTransform::Alpha(0.5), b.records[1].transform);
  EXPECT_EQ(0x08, b.records[2].states);
  EXPECT_EQ(2, b.records[2].depth);
  ASSERT_EQ(2u, b.actions.size());
  EXPECT_EQ(0x0008, b.actions[0].first);
  EXPECT_EQ(0x83, b.actions[0].second.at(0).code);
  EXPECT_EQ(0x0021, b.actions[1].first);
  EXPECT_EQ((std::vector<swftest::Action>{{0x06, {}}, {0x00, {}}}), b.actions[1].second);

  const swftest::ParsedButton p = swftest::ReadButton2(read.tags.at(1));
  EXPECT_TRUE(p.trackAsMenu);
  EXPECT_TRUE(p.actions.empty());

  EXPECT_THROW(Button().Add(0, 1, 1), std::invalid_argument);
  EXPECT_THROW(Button().Add(0x10, 1, 1), std::invalid_argument);
}

TEST(SwfMovie, SavesToAFileAndReportsOneItCannotWrite)
{
  Movie movie({});
  movie.ShowFrame();
  const std::string path = "swf_movie_test.swf";
  movie.SaveToFile(path);
  std::ifstream in(path, std::ios::binary);
  const Bytes written{std::istreambuf_iterator<char>(in), {}};
  in.close();
  std::remove(path.c_str());
  EXPECT_EQ(movie.Save(), written);
  EXPECT_THROW(movie.SaveToFile("no such folder/movie.swf"), std::runtime_error);
}
