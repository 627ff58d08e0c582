// The pixel kernels against pixman and memcpy on the same data: a 740 × 400 frame and a 4 MB buffer
// of random pixels whose alphas are a third 0, a third 255 and a third in between; and plain scaled
// copies of the frame against pixman's nearest-neighbour scaling. Prints the benchmark table, then
// the ratios, all from the one run.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "graphics/kernels/Compose.h"
#include "graphics/kernels/PixelRuns.h"

namespace {

constexpr int32_t FrameWidth = 740;
constexpr int32_t FrameHeight = 400;
// 4 MB of pixels, as a square image for pixman and as one run for the line blends.
constexpr int32_t BufferSide = 1024;

struct TPicture {
  int32_t Width, Height;
  std::vector<TqvColor> Src, Dst;

  size_t Pixels() const { return Src.size(); }
  size_t Bytes() const { return Src.size() * sizeof(TqvColor); }
};

TPicture RandomPicture(int32_t width, int32_t height, uint32_t seed)
{
  std::mt19937 random(seed);
  auto pixel = [&random]() -> TqvColor {
    const TqvColor rgb = random() & 0x00FFFFFF;
    switch (random() % 3) {
    case 0:
      return rgb;
    case 1:
      return rgb | 0xFF000000;
    default:
      return rgb | (1 + random() % 254) << 24;
    }
  };
  TPicture picture{width, height, std::vector<TqvColor>(size_t(width) * size_t(height)), {}};
  for (TqvColor& p : picture.Src)
    p = pixel();
  picture.Dst.resize(picture.Src.size());
  for (TqvColor& p : picture.Dst)
    p = pixel();
  return picture;
}

const TPicture& Frame()
{
  static const TPicture frame = RandomPicture(FrameWidth, FrameHeight, 1);
  return frame;
}

const TPicture& Buffer()
{
  static const TPicture buffer = RandomPicture(BufferSide, BufferSide, 2);
  return buffer;
}

pixman_image_t* PixmanImage(int32_t width, int32_t height, TqvColor* bits)
{
  return pixman_image_create_bits(PIXMAN_a8r8g8b8, width, height, bits,
                                  width * int32_t(sizeof(TqvColor)));
}

// Line blends: the frame row by row, as the blitters call them; the buffer as one run.
void LineBlend(benchmark::State& state, const TPicture& picture, TLineFunc line, bool byRow)
{
  std::vector<TqvColor> dst = picture.Dst;
  const int32_t runs = byRow ? picture.Height : 1;
  const int32_t count = byRow ? picture.Width : int32_t(picture.Pixels());
  for (auto _ : state) {
    for (int32_t r = 0; r < runs; ++r)
      line(picture.Src.data() + size_t(r) * size_t(count), dst.data() + size_t(r) * size_t(count),
           count);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(picture.Bytes()));
}

void PixmanOver(benchmark::State& state, const TPicture& picture)
{
  std::vector<TqvColor> src = picture.Src;
  std::vector<TqvColor> dst = picture.Dst;
  pixman_image_t* s = PixmanImage(picture.Width, picture.Height, src.data());
  pixman_image_t* d = PixmanImage(picture.Width, picture.Height, dst.data());
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, s, nullptr, d, 0, 0, 0, 0, 0, 0, picture.Width,
                             picture.Height);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(d);
  pixman_image_unref(s);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(picture.Bytes()));
}

void Memcpy(benchmark::State& state, const TPicture& picture)
{
  std::vector<TqvColor> dst = picture.Dst;
  for (auto _ : state) {
    std::memcpy(dst.data(), picture.Src.data(), picture.Bytes());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(picture.Bytes()));
}

void StretchOpaque(benchmark::State& state, int32_t width, int32_t height)
{
  std::vector<TqvColor> src = Frame().Src;
  std::vector<TqvColor> dst(size_t(width) * size_t(height));
  const TqvPixels target = TopDownPixels(dst.data(), width, height);
  const TqvPixels source = TopDownPixels(src.data(), FrameWidth, FrameHeight);
  for (auto _ : state) {
    DrawPixels(TqvDrawMode::Opaque, target, Rect(0, 0, width, height), Rect(0, 0, width, height),
               source, Rect(0, 0, FrameWidth, FrameHeight));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(dst.size() * sizeof(TqvColor)));
}

void PixmanNearest(benchmark::State& state, int32_t width, int32_t height)
{
  std::vector<TqvColor> src = Frame().Src;
  std::vector<TqvColor> dst(size_t(width) * size_t(height));
  pixman_image_t* s = PixmanImage(FrameWidth, FrameHeight, src.data());
  pixman_image_t* d = PixmanImage(width, height, dst.data());
  pixman_transform_t scale;
  pixman_transform_init_scale(&scale, pixman_double_to_fixed(double(FrameWidth) / width),
                              pixman_double_to_fixed(double(FrameHeight) / height));
  pixman_image_set_transform(s, &scale);
  pixman_image_set_filter(s, PIXMAN_FILTER_NEAREST, nullptr, 0);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_SRC, s, nullptr, d, 0, 0, 0, 0, 0, 0, width, height);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(d);
  pixman_image_unref(s);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(dst.size() * sizeof(TqvColor)));
}

// The console table as usual, keeping each benchmark's median processor time per iteration for the
// ratios. The machine is shared, so every benchmark is repeated and the median stands for it.
class TRecordingReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override
  {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
        Times[run.run_name.function_name] = run.GetAdjustedCPUTime();
  }

  std::map<std::string, double> Times;
};

struct TRatio {
  const char* label;
  const char* kernel;
  const char* other;
  double goal; // 0: no goal
};

const TRatio Ratios[] = {
    {"frame: SSE2 line blend vs pixman OVER", "frame/LineAlphaBlendMMX", "frame/pixman OVER", 1.25},
    {"frame: SSE2 line blend vs memcpy", "frame/LineAlphaBlendMMX", "frame/memcpy", 0.30},
    {"frame: SSE2 line blend vs scalar", "frame/LineAlphaBlendMMX", "frame/LineAlphaBlend", 0},
    {"frame: scalar line blend vs pixman OVER", "frame/LineAlphaBlend", "frame/pixman OVER", 0},
    {"4 MB: SSE2 line blend vs pixman OVER", "4MB/LineAlphaBlendMMX", "4MB/pixman OVER", 0},
    {"4 MB: SSE2 line blend vs memcpy", "4MB/LineAlphaBlendMMX", "4MB/memcpy", 0.55},
    {"4 MB: SSE2 line blend vs scalar", "4MB/LineAlphaBlendMMX", "4MB/LineAlphaBlend", 0},
    {"740x400 to 1480x800: StretchOpaque vs pixman nearest", "up/StretchOpaque",
     "up/pixman nearest", 1.0},
    {"740x400 to 370x200: StretchOpaque vs pixman nearest", "down/StretchOpaque",
     "down/pixman nearest", 1.0},
};

} // namespace

int main(int argc, char** argv)
{
  // Defaults that the command line may override.
  std::vector<char*> args(argv, argv + argc);

  using benchmark::RegisterBenchmark;
  const struct {
    const char* name;
    const TPicture& picture;
    bool byRow;
  } pictures[] = {{"frame", Frame(), true}, {"4MB", Buffer(), false}};
  for (const auto& p : pictures) {
    const std::string prefix = std::string(p.name) + "/";
    RegisterBenchmark((prefix + "LineAlphaBlendMMX").c_str(), LineBlend, p.picture,
                      LineAlphaBlendMMX, p.byRow);
    RegisterBenchmark((prefix + "LineAlphaBlend").c_str(), LineBlend, p.picture, LineAlphaBlend,
                      p.byRow);
    RegisterBenchmark((prefix + "pixman OVER").c_str(), PixmanOver, p.picture);
    RegisterBenchmark((prefix + "memcpy").c_str(), Memcpy, p.picture);
  }
  RegisterBenchmark("up/StretchOpaque", StretchOpaque, 2 * FrameWidth, 2 * FrameHeight);
  RegisterBenchmark("up/pixman nearest", PixmanNearest, 2 * FrameWidth, 2 * FrameHeight);
  RegisterBenchmark("down/StretchOpaque", StretchOpaque, FrameWidth / 2, FrameHeight / 2);
  RegisterBenchmark("down/pixman nearest", PixmanNearest, FrameWidth / 2, FrameHeight / 2);

  for (const char* setting :
       {"--benchmark_repetitions=7", "--benchmark_report_aggregates_only=true"})
    args.insert(args.begin() + 1, const_cast<char*>(setting));
  int count = int(args.size());
  benchmark::Initialize(&count, args.data());
  TRecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\nRatios (the other's time over the kernel's; above 1 the kernel is faster)\n");
  for (const TRatio& ratio : Ratios) {
    const auto kernel = reporter.Times.find(ratio.kernel);
    const auto other = reporter.Times.find(ratio.other);
    if (kernel == reporter.Times.end() || other == reporter.Times.end())
      continue;
    std::printf("  %-54s %6.2f", ratio.label, other->second / kernel->second);
    if (ratio.goal > 0)
      std::printf("   goal %.2f: %s", ratio.goal,
                  other->second / kernel->second >= ratio.goal ? "met" : "NOT met");
    std::printf("\n");
  }
  benchmark::Shutdown();
  return 0;
}
