// Helpers for the engine's tests: a pixel buffer to draw into, a host that records what the movie
// asks of it, and a few movie builders on top of the SWF writer.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "flash_control/swf/Host.h"
#include "flash_control/swf/Player.h"
#include "tools/swf/Movie.h"

namespace swftest {

// Pixels as 0xAARRGGBB, stored B, G, R, A like a 32-bit DIB.
class Canvas {
public:
  Canvas(int32_t width, int32_t height, uint32_t fill = 0) : width_(width), height_(height), bytes_(size_t(width) * height * 4)
  {
    Fill(fill);
  }

  swf::PixelView View() { return {bytes_.data(), width_, height_, width_ * 4}; }
  TRect Bounds() const { return {0, 0, width_, height_}; }
  void Fill(uint32_t argb)
  {
    for (int32_t y = 0; y < height_; ++y)
      for (int32_t x = 0; x < width_; ++x)
        Set(x, y, argb);
  }
  uint32_t At(int32_t x, int32_t y) const
  {
    const uint8_t* p = &bytes_[(size_t(y) * width_ + x) * 4];
    return uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
  }
  void Set(int32_t x, int32_t y, uint32_t argb)
  {
    uint8_t* p = &bytes_[(size_t(y) * width_ + x) * 4];
    p[0] = uint8_t(argb), p[1] = uint8_t(argb >> 8), p[2] = uint8_t(argb >> 16), p[3] = uint8_t(argb >> 24);
  }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }

private:
  int32_t width_, height_;
  std::vector<uint8_t> bytes_;
};

class RecordingHost : public swf::Host {
public:
  void FSCommand(std::string_view command, std::string_view args) override
  {
    Commands.emplace_back(command, args);
  }
  void GetUrl(std::string_view url, std::string_view target) override { Urls.emplace_back(url, target); }
  std::optional<std::vector<uint8_t>> ReadFile(std::string_view path, size_t maxBytes) override
  {
    Reads.emplace_back(path);
    const auto it = Files.find(std::string(path));
    if (it == Files.end())
      return std::nullopt;
    return std::vector<uint8_t>(it->second.begin(), it->second.begin() + std::min(maxBytes, it->second.size()));
  }

  std::vector<std::pair<std::string, std::string>> Commands;
  std::vector<std::pair<std::string, std::string>> Urls;
  std::vector<std::string> Reads;
  std::map<std::string, std::vector<uint8_t>> Files;
};

// Draws the player's stage 1:1 into a new canvas of the stage's size over `fill`.
inline Canvas Draw(const swf::Player& player, swf::Backdrop backdrop = swf::Backdrop::Opaque, uint32_t fill = 0)
{
  const auto info = player.Info();
  Canvas canvas(info ? info->Width : 1, info ? info->Height : 1, fill);
  player.Render(canvas.View(), {}, canvas.Bounds(), backdrop);
  return canvas;
}

// A movie of `width` by `height` pixels, uncompressed, version 8, 12 frames per second.
inline swfwriter::Movie NewMovie(int width = 40, int height = 30, uint8_t version = 8)
{
  return swfwriter::Movie({.version = version, .frame = swfwriter::PxRect(0, 0, width, height), .frameRate = 12.0});
}

// A shape with one rectangle filled with `rgb` (pixels).
inline swfwriter::Shape Box(double left, double top, double right, double bottom, uint32_t rgb, uint8_t alpha = 255)
{
  swfwriter::Shape shape;
  shape.Rectangle(swfwriter::PxRect(left, top, right, bottom), shape.AddFill(swfwriter::Rgba(rgb, alpha)));
  return shape;
}

inline bool Load(swf::Player& player, const swfwriter::Movie& movie, const swf::Variables& variables = {})
{
  const auto bytes = movie.Save();
  return player.Load(0, bytes, variables);
}

}  // namespace swftest
