#include "tests/flash_control/com/TestMovies.h"

#include <windows.h>

#include "tools/swf/Movie.h"

using namespace swfwriter;

namespace flash_control_test {

namespace {

uint16_t Rectangle(Movie& movie, double left, double top, double right, double bottom, uint32_t rgb)
{
  Shape shape;
  shape.Rectangle(PxRect(left, top, right, bottom), shape.AddFill(Rgb(rgb)));
  return movie.DefineShape(shape);
}

}  // namespace

std::vector<uint8_t> ShapesMovie()
{
  Movie movie({.version = 8, .frame = PxRect(0, 0, 100, 100), .frameRate = 12});
  movie.SetBackgroundColor(Rgb(0x2040A0));
  movie.PlaceObject2({.depth = 1, .character = Rectangle(movie, 20, 20, 60, 60, 0xFF0000)});
  Shape disc;
  disc.Circle(Px(75), Px(75), Px(15), disc.AddFill(Rgb(0x00FF00)));
  movie.PlaceObject2({.depth = 2, .character = movie.DefineShape(disc)});
  movie.ShowFrame();
  return movie.Save();
}

std::vector<uint8_t> TimelineMovie()
{
  Movie movie({.version = 8, .frame = PxRect(0, 0, 100, 100), .frameRate = 50});
  movie.SetBackgroundColor(Rgb(0xFFFFFF));
  const uint16_t square = Rectangle(movie, 0, 0, 10, 10, 0x000000);

  Sprite clip;
  clip.DoAction(Actions().Push({"inner", "deep"}).SetVariable());
  for (int frame = 0; frame < 3; ++frame) clip.ShowFrame();
  const uint16_t clipId = movie.DefineSprite(clip);

  movie.DoAction(Actions().Push({"greeting", "hello"}).SetVariable());
  movie.PlaceObject2({.depth = 2, .character = clipId, .name = std::string("clip")});
  for (int frame = 0; frame < 5; ++frame) {
    if (frame == 0) movie.FrameLabel("start");
    if (frame == 2) movie.FrameLabel("middle");
    movie.PlaceObject2({.depth = 1,
                        .move = frame > 0,
                        .character = frame == 0 ? std::optional<uint16_t>(square) : std::nullopt,
                        .matrix = Matrix::Translate(Px(10 * frame), Px(45))});
    movie.ShowFrame();
  }
  return movie.Save();
}

std::vector<uint8_t> ButtonsMovie()
{
  Movie movie({.version = 8, .frame = PxRect(0, 0, 200, 50), .frameRate = 12});
  movie.SetBackgroundColor(Rgb(0xC76D6D));
  const struct {
    const char* command;
    double left;
  } buttons[] = {{"Min", 100}, {"Close", 150}};
  uint16_t depth = 1;
  for (const auto& b : buttons) {
    const uint16_t up = Rectangle(movie, b.left, 10, b.left + 40, 40, 0xFBA19E);
    const uint16_t over = Rectangle(movie, b.left, 10, b.left + 40, 40, 0xFBDFDD);
    Button button;
    button.Add(swf::kButtonUp, up, 1);
    button.Add(swf::kButtonOver | swf::kButtonDown | swf::kButtonHit, over, 2);
    button.On(swf::kOverDownToOverUp, Actions().GetURL(std::string("FSCommand:") + b.command, ""));
    movie.PlaceObject2({.depth = depth++, .character = movie.DefineButton2(button)});
  }
  movie.ShowFrame();
  return movie.Save();
}

std::vector<uint8_t> OverlayMovie()
{
  Movie movie({.version = 8, .frame = PxRect(0, 0, 100, 100), .frameRate = 12});
  movie.PlaceObject2({.depth = 1, .character = Rectangle(movie, 10, 10, 30, 30, 0x0000FF)});
  movie.ShowFrame();
  return movie.Save();
}

TTempFile::TTempFile(const std::wstring& name, const std::vector<uint8_t>& bytes)
{
  wchar_t full[MAX_PATH];
  GetFullPathNameW(name.c_str(), MAX_PATH, full, nullptr);
  FPath = full;
  HANDLE file = CreateFileW(FPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  if (!bytes.empty()) WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

TTempFile::~TTempFile()
{
  DeleteFileW(FPath.c_str());
}

}  // namespace flash_control_test
