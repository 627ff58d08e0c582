// Loading movies: what the header says, compressed bodies, and damaged files that must fail cleanly.
#include <gtest/gtest.h>

#include <zlib.h>

#include "Fixtures.h"

using namespace swftest;

namespace {

std::vector<uint8_t> Compress(std::vector<uint8_t> file)
{
  std::vector<uint8_t> body(file.begin() + 8, file.end());
  uLongf size = compressBound(body.size());
  std::vector<uint8_t> packed(size);
  compress(packed.data(), &size, body.data(), body.size());
  file.resize(8);
  file[0] = 'C';
  file.insert(file.end(), packed.begin(), packed.begin() + size);
  return file;
}

std::vector<uint8_t> SimpleMovie()
{
  auto movie = NewMovie(550, 400, 7);
  movie.SetBackgroundColor(swfwriter::Rgb(0x336699));
  movie.PlaceObject2({.depth = 1, .character = movie.DefineShape(Box(0, 0, 10, 10, 0xFF0000))});
  movie.ShowFrame();
  movie.ShowFrame();
  return movie.Save();
}

}  // namespace

TEST(MovieLoading, ReportsTheHeaderOfPlainAndCompressedFiles)
{
  for (const bool compressed : {false, true}) {
    swf::Player player;
    const auto file = compressed ? Compress(SimpleMovie()) : SimpleMovie();
    ASSERT_TRUE(player.Load(0, file)) << player.LastError();
    const auto info = player.Info();
    ASSERT_TRUE(info);
    EXPECT_EQ(compressed, info->Compressed);
    EXPECT_EQ(7, info->Version);
    EXPECT_EQ(550, info->Width);
    EXPECT_EQ(400, info->Height);
    EXPECT_EQ((swf::TwipsRect{0, 11000, 0, 8000}), info->Frame);
    EXPECT_DOUBLE_EQ(12.0, info->FrameRate);
    EXPECT_EQ(2u, info->FrameCount);
    EXPECT_EQ(2u, info->FramesLoaded);
    EXPECT_EQ((swf::Rgba{0x33, 0x66, 0x99, 255}), info->Background);
  }
}

TEST(MovieLoading, UnknownTagsAreSkipped)
{
  auto movie = NewMovie();
  const uint8_t junk[] = {1, 2, 3, 4, 5};
  movie.Tag(777, junk);
  movie.Tag(83, junk);  // a shape form the engine does not read
  movie.PlaceObject2({.depth = 1, .character = movie.DefineShape(Box(0, 0, 40, 30, 0x00FF00))});
  movie.ShowFrame();
  swf::Player player;
  ASSERT_TRUE(Load(player, movie)) << player.LastError();
  EXPECT_EQ(0xFF00FF00u, Draw(player).At(20, 15));
}

TEST(MovieLoading, DamagedFilesLeaveAnEmptyStageWithAReason)
{
  const auto good = SimpleMovie();
  auto withLength = [&](uint32_t length) {
    auto file = good;
    file[4] = uint8_t(length), file[5] = uint8_t(length >> 8), file[6] = uint8_t(length >> 16), file[7] = uint8_t(length >> 24);
    return file;
  };
  auto corruptZlib = Compress(good);
  for (size_t i = 12; i < corruptZlib.size(); ++i)
    corruptZlib[i] ^= 0x5A;
  auto longTag = good;
  // The first tag after the 17-byte header (frame rectangle, rate, count) claims 63+ bytes.
  longTag[8 + 9 + 4] = 0xFF, longTag[8 + 9 + 5] = 0xFF;
  auto badFill = NewMovie();
  {
    swfwriter::ByteWriter body;
    body.U16(1);
    swfwriter::WriteRect(body, swfwriter::PxRect(0, 0, 1, 1));
    body.U8(1);     // one fill style
    body.U8(0x77);  // of a kind that does not exist
    badFill.Tag(swf::kTagDefineShape, body.Data());
  }

  const struct {
    const char* name;
    std::vector<uint8_t> file;
  } cases[] = {
      {"empty", {}},
      {"shorter than a header", {'F', 'W', 'S', 8}},
      {"unknown signature", [&] { auto f = good; f[0] = 'Z'; return f; }()},
      {"length below the header", withLength(4)},
      {"cut inside the frame rectangle", std::vector<uint8_t>(good.begin(), good.begin() + 10)},
      {"tag longer than the file", longTag},
      {"corrupt compressed body", corruptZlib},
      {"compressed body cut short", [&] { auto f = Compress(good); f.resize(12); return f; }()},
      {"unknown fill style", badFill.Save()},
  };
  for (const auto& c : cases) {
    swf::Player player;
    ASSERT_TRUE(player.Load(0, good));
    EXPECT_FALSE(player.Load(0, c.file)) << c.name;
    EXPECT_FALSE(player.LastError().empty()) << c.name;
    EXPECT_FALSE(player.HasMovie()) << c.name;
    EXPECT_FALSE(player.Info()) << c.name;
    EXPECT_EQ(0xFFFFFFFFu, Draw(player).At(0, 0)) << c.name;  // an empty white stage
    EXPECT_TRUE(player.TakeDamage().Everything) << c.name;
  }
}

TEST(MovieLoading, CapsRejectHostileSizes)
{
  // A movie larger than the limit.
  {
    swfwriter::Movie big = NewMovie();
    big.Tag(777, std::vector<uint8_t>(4096, 0));
    auto bigFile = Compress(big.Save());
    swf::Limits limits;
    limits.MaxMovieBytes = 1024;
    swf::Player player(nullptr, limits);
    EXPECT_FALSE(player.Load(0, bigFile));
    // The stated length is checked before anything is inflated.
    EXPECT_NE(std::string::npos, player.LastError().find("limit"));
  }
  // A body that inflates past what its header states.
  {
    swfwriter::Movie big = NewMovie();
    big.Tag(777, std::vector<uint8_t>(4096, 0));
    auto file = Compress(big.Save());
    file[4] = 100, file[5] = 0, file[6] = 0, file[7] = 0;
    swf::Player player;
    EXPECT_FALSE(player.Load(0, file));
  }
  // More edges than the movie may hold.
  {
    auto movie = NewMovie();
    swfwriter::Shape many;
    const int fill = many.AddFill(swfwriter::Rgb(0));
    for (int i = 0; i < 50; ++i)
      many.Rectangle(swfwriter::PxRect(i, 0, i + 1, 1), fill);
    movie.DefineShape(many);
    swf::Limits limits;
    limits.MaxEdges = 100;
    swf::Player player(nullptr, limits);
    EXPECT_FALSE(Load(player, movie));
    EXPECT_NE(std::string::npos, player.LastError().find("edges"));
  }
}

TEST(MovieLoading, HigherLayersPlayAboveAndLayerZeroReplacesAll)
{
  swf::Player player;
  auto below = NewMovie();
  below.PlaceObject2({.depth = 1, .character = below.DefineShape(Box(0, 0, 40, 30, 0x0000FF))});
  below.ShowFrame();
  auto above = NewMovie();
  above.PlaceObject2({.depth = 1, .character = above.DefineShape(Box(0, 0, 20, 30, 0xFF0000))});
  above.ShowFrame();
  ASSERT_TRUE(Load(player, below));
  ASSERT_TRUE(player.Load(1, above.Save()));
  Canvas canvas = Draw(player);
  EXPECT_EQ(0xFFFF0000u, canvas.At(5, 5));
  EXPECT_EQ(0xFF0000FFu, canvas.At(30, 5));
  EXPECT_TRUE(player.HasMovie(1));

  player.Unload(1);
  EXPECT_EQ(0xFF0000FFu, Draw(player).At(5, 5));
  ASSERT_TRUE(player.Load(1, above.Save()));
  ASSERT_TRUE(Load(player, below));
  EXPECT_FALSE(player.HasMovie(1));
}
