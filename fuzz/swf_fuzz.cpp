// Feeds arbitrary bytes to the movie engine as a movie file, then drives it the way the control
// does: frames, pointer events, variables, properties, damage, and drawing in both backdrops with
// a transform taken from the input. The caps are lowered so that every input runs quickly.
#include <cstdint>
#include <cstring>
#include <span>

#include "flash_control/swf/Player.h"

namespace {

class FuzzHost : public swf::Host {
public:
  void FSCommand(std::string_view, std::string_view) override {}
  void GetUrl(std::string_view, std::string_view) override {}
  std::optional<std::vector<uint8_t>> ReadFile(std::string_view path, size_t maxBytes) override
  {
    if (path.empty())
      return std::nullopt;
    std::vector<uint8_t> head{'F', 'L', 'V', 1};
    head.resize(std::min(maxBytes, head.size()));
    return head;
  }
};

// The last bytes of the input choose how the stage is drawn and where the pointer goes.
struct Controls {
  double scaleX = 1, scaleY = 1, offsetX = 0, offsetY = 0;
  double pointerX = 10, pointerY = 10;
};

Controls ReadControls(std::span<const uint8_t> data)
{
  Controls c;
  if (data.size() < 6)
    return c;
  const uint8_t* k = data.data() + data.size() - 6;
  c.scaleX = (k[0] - 128) / 32.0;
  c.scaleY = (k[1] - 128) / 32.0;
  c.offsetX = (k[2] - 128) * 2.0;
  c.offsetY = (k[3] - 128) * 2.0;
  c.pointerX = k[4] / 2.0;
  c.pointerY = k[5] / 2.0;
  return c;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  swf::Limits limits;
  limits.MaxMovieBytes = 4u << 20;
  limits.MaxEdges = 50'000;
  limits.MaxDisplayObjects = 2000;
  limits.MaxActionsPerFrame = 20'000;
  limits.MaxScriptMilliseconds = 200;
  limits.MaxObjects = 5000;
  limits.MaxStringLength = 1 << 16;
  limits.MaxStackDepth = 10'000;
  FuzzHost host;
  swf::Player player(&host, limits);
  const std::span<const uint8_t> movie(data, size);
  if (!player.Load(0, movie, {{"fileName", "clip.flv"}}))
    return 0;
  const Controls c = ReadControls(movie);

  constexpr int32_t kWidth = 96, kHeight = 64;
  std::vector<uint8_t> pixels(kWidth * kHeight * 4, 0x40);
  const swf::PixelView view{pixels.data(), kWidth, kHeight, kWidth * 4};
  const swf::StageTransform transform{c.scaleX, c.scaleY, c.offsetX, c.offsetY};
  for (int frame = 0; frame < 4; ++frame) {
    player.Render(view, transform, {0, 0, kWidth, kHeight}, frame % 2 ? swf::Backdrop::Transparent : swf::Backdrop::Opaque);
    player.TakeDamage();
    player.PointerMove(c.pointerX + frame, c.pointerY);
    if (frame == 1)
      player.PointerDown(c.pointerX, c.pointerY);
    if (frame == 2)
      player.PointerUp(c.pointerX, c.pointerY);
    player.Advance();
  }
  player.PointerLeave();
  player.GetVariable("fileName");
  player.GetVariable("/a:b");
  player.SetVariable("_level0.x.y", "1");
  for (int index = 0; index < 22; ++index)
    player.GetProperty("/", index);
  player.SetPropertyNumber("/", 2, 150);
  player.GotoFrame("/", 1);
  player.GotoLabel("/", "a");
  player.Back();
  player.Render(view, transform, {0, 0, kWidth, kHeight}, swf::Backdrop::Transparent);
  return 0;
}
