// The movie engine of our Flash control drawing the game scene: one 740 x 400 frame of
// zarinelle.swf, made natively by the build's movie writer, as the control draws it at the movie's
// frame rate (opaque, and over transparent black as the windowless host asks for it), and one step
// of the timeline with the repaint area it reports.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "flash_control/swf/Player.h"
#include "tools/moviegen/Movies.h"

namespace {

constexpr int32_t FrameWidth = 740;
constexpr int32_t FrameHeight = 400;
// A frame in the middle of the loop, where most of the scene's actors are on stage.
constexpr int FramesIn = 40;

swf::Player& Scene()
{
  static swf::Player player = [] {
    swf::Player p;
    const auto bytes = moviegen::ZarinelleMovie().Save();
    if (!p.Load(0, bytes))
      std::abort();
    for (int i = 0; i < FramesIn; ++i)
      p.Advance();
    return p;
  }();
  return player;
}

void DrawFrame(benchmark::State& state, swf::Backdrop backdrop)
{
  const swf::Player& player = Scene();
  std::vector<uint8_t> pixels(size_t(FrameWidth) * FrameHeight * 4, 0);
  const swf::PixelView view{pixels.data(), FrameWidth, FrameHeight, FrameWidth * 4};
  for (auto _ : state) {
    if (backdrop == swf::Backdrop::Transparent)
      std::fill(pixels.begin(), pixels.end(), 0);
    player.Render(view, {}, {0, 0, FrameWidth, FrameHeight}, backdrop);
    benchmark::DoNotOptimize(pixels.data());
  }
  state.SetItemsProcessed(state.iterations() * FrameWidth * FrameHeight);
}

void AdvanceFrame(benchmark::State& state)
{
  swf::Player player;
  const auto bytes = moviegen::ZarinelleMovie().Save();
  if (!player.Load(0, bytes))
    std::abort();
  for (auto _ : state) {
    player.Advance();
    benchmark::DoNotOptimize(player.TakeDamage());
  }
}

}  // namespace

BENCHMARK_CAPTURE(DrawFrame, opaque, swf::Backdrop::Opaque)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DrawFrame, over transparent black, swf::Backdrop::Transparent)->Unit(benchmark::kMillisecond);
BENCHMARK(AdvanceFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
