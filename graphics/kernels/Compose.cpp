#include "graphics/kernels/Compose.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "graphics/kernels/PixelRuns.h"
#include "graphics/kernels/Rounding.h"

namespace {

TRect Intersect(const TRect& a, const TRect& b)
{
  return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
          std::min(a.Bottom, b.Bottom)};
}

// Width and height in 64 bits: rectangles from callers may span more than the 32-bit range.
int64_t WidthOf(const TRect& r)
{
  return int64_t(r.Right) - r.Left;
}
int64_t HeightOf(const TRect& r)
{
  return int64_t(r.Bottom) - r.Top;
}

bool IsEmpty(const TRect& r)
{
  return WidthOf(r) <= 0 || HeightOf(r) <= 0;
}

TLineFunc RunRoutine(TqvDrawMode Mode)
{
  switch (Mode) {
  case TqvDrawMode::AlphaBlend:
    return LineAlphaBlendFunc;
  case TqvDrawMode::Transparent:
    return LineTransparentFunc;
  case TqvDrawMode::Opaque:
    break;
  }
  return MoveLongwordFunc;
}

// Nearest-neighbour sampling of one axis with its end points aligned: target position t of a span
// of Size pixels takes source position Round(t × ratio + SrcStart), where ratio = (SrcSize − 1) ÷
// (Size − 1) is held as a 32-bit float; a span of one pixel takes the middle of the source span.
class TAxisMap {
public:
  TAxisMap(int64_t SrcStart, int64_t SrcEnd, int64_t Size)
      : FStart(SrcStart), FEnd(SrcEnd), FSize(Size),
        FRatio(Size >= 2 ? StoreSingle(static_cast<long double>(SrcEnd - SrcStart - 1) / (Size - 1))
                         : 0)
  {
  }

  // The source position of target position t (0 ≤ t < Size). The result is kept inside the source
  // span, which the float ratio could overshoot only for spans of millions of pixels.
  int32_t operator()(int64_t t) const
  {
    if (FSize == 1)
      return int32_t((FStart + FEnd - 1) / 2);
    const int64_t s = RoundEven(static_cast<long double>(t) * FRatio + FStart);
    return int32_t(std::clamp(s, FStart, FEnd - 1));
  }

private:
  int64_t FStart;
  int64_t FEnd;
  int64_t FSize;
  float FRatio;
};

// out[i] := in[map[i]], four at a time: the loop's own overhead matters at a pixel or so a step.
void Resample(const TqvColor* in, const int32_t* map, TqvColor* out, int32_t count)
{
  int32_t i = 0;
  for (; i + 4 <= count; i += 4) {
    out[i] = in[map[i]];
    out[i + 1] = in[map[i + 1]];
    out[i + 2] = in[map[i + 2]];
    out[i + 3] = in[map[i + 3]];
  }
  for (; i < count; ++i)
    out[i] = in[map[i]];
}

void StretchScaled(TqvDrawMode Mode, const TqvPixels& Dst, const TRect& DstRect, const TRect& Clip,
                   const TqvPixels& Src, const TRect& SrcRect)
{
  const int32_t cw = int32_t(WidthOf(Clip));
  const int32_t ch = int32_t(HeightOf(Clip));
  const TAxisMap columnOf(SrcRect.Left, SrcRect.Right, WidthOf(DstRect));
  const TAxisMap rowOf(SrcRect.Top, SrcRect.Bottom, HeightOf(DstRect));

  // Both maps are made before any run routine is called: a routine put in from outside may leave
  // MMX state behind, which spoils floating-point arithmetic until it is cleared.
  std::vector<int32_t> columns(static_cast<size_t>(cw));
  for (int32_t i = 0; i < cw; ++i)
    columns[size_t(i)] = columnOf(int64_t(i) + Clip.Left - DstRect.Left);
  const int32_t* map = columns.data();
  std::vector<int32_t> rows(static_cast<size_t>(ch));
  for (int32_t k = 0; k < ch; ++k)
    rows[size_t(k)] = rowOf(int64_t(k) + Clip.Top - DstRect.Top);

  int32_t previous = -1;
  if (Mode == TqvDrawMode::Opaque) {
    const TqvColor* above = nullptr;
    for (int32_t k = 0; k < ch; ++k) {
      const int32_t r = rows[size_t(k)];
      TqvColor* out = Dst.Row(Clip.Top + k) + Clip.Left;
      if (r == previous) {
        std::memcpy(out, above, size_t(cw) * sizeof(TqvColor));
      } else {
        Resample(Src.Row(r), map, out, cw);
      }
      previous = r;
      above = out;
    }
    return;
  }

  const TLineFunc run = RunRoutine(Mode);
  TArrayOfqvColor line(static_cast<size_t>(cw));
  for (int32_t k = 0; k < ch; ++k) {
    const int32_t r = rows[size_t(k)];
    if (r != previous) {
      Resample(Src.Row(r), map, line.data(), cw);
      previous = r;
    }
    run(line.data(), Dst.Row(Clip.Top + k) + Clip.Left, cw);
  }
}

} // namespace

TqvPixels TopDownPixels(void* Bits, int32_t Width, int32_t Height)
{
  if (Bits == nullptr || Width <= 0 || Height <= 0)
    return {};
  return {static_cast<TqvColor*>(Bits), Width, Height, Width};
}

TqvPixels BottomUpPixels(void* Bits, int32_t Width, int32_t Height)
{
  if (Bits == nullptr || Width <= 0 || Height <= 0)
    return {};
  return {static_cast<TqvColor*>(Bits) + ptrdiff_t(Height - 1) * Width, Width, Height, -Width};
}

void BltPixels(TqvDrawMode Mode, const TqvPixels& Dst, const TRect& DstRect, const TqvPixels& Src,
               int32_t SrcX, int32_t SrcY)
{
  if (Dst.Bits == nullptr || Src.Bits == nullptr)
    return;
  // Cut the target rectangle to the target, then to what the source holds at the matching place.
  const int64_t dx = int64_t(SrcX) - DstRect.Left;
  const int64_t dy = int64_t(SrcY) - DstRect.Top;
  const int64_t left = std::max<int64_t>({DstRect.Left, 0, -dx});
  const int64_t top = std::max<int64_t>({DstRect.Top, 0, -dy});
  const int64_t right = std::min<int64_t>({DstRect.Right, Dst.Width, Src.Width - dx});
  const int64_t bottom = std::min<int64_t>({DstRect.Bottom, Dst.Height, Src.Height - dy});
  if (right <= left || bottom <= top)
    return;

  const TLineFunc run = RunRoutine(Mode);
  const auto count = int32_t(right - left);
  for (int64_t y = top; y < bottom; ++y)
    run(Src.Row(int32_t(y + dy)) + (left + dx), Dst.Row(int32_t(y)) + left, count);
}

std::optional<TqvBltJob> StretchPixels(TqvDrawMode Mode, const TqvPixels& Dst, const TRect& DstRect,
                                       const TRect& ClipRect, const TqvPixels& Src,
                                       const TRect& SrcRect)
{
  if (Dst.Bits == nullptr || Src.Bits == nullptr || IsEmpty(SrcRect))
    return std::nullopt;
  const TRect clip = Intersect(Intersect(ClipRect, Rect(0, 0, Dst.Width, Dst.Height)), DstRect);
  if (IsEmpty(clip))
    return std::nullopt;
  if (SrcRect.Left < 0 || SrcRect.Top < 0 || SrcRect.Right > Src.Width ||
      SrcRect.Bottom > Src.Height)
    return std::nullopt;

  if (WidthOf(DstRect) == WidthOf(SrcRect) && HeightOf(DstRect) == HeightOf(SrcRect))
    return TqvBltJob{clip, int32_t(SrcRect.Left + (int64_t(clip.Left) - DstRect.Left)),
                     int32_t(SrcRect.Top + (int64_t(clip.Top) - DstRect.Top))};

  StretchScaled(Mode, Dst, DstRect, clip, Src, SrcRect);
  return std::nullopt;
}

void DrawPixels(TqvDrawMode Mode, const TqvPixels& Dst, const TRect& DstRect, const TRect& ClipRect,
                const TqvPixels& Src, const TRect& SrcRect)
{
  if (const auto job = StretchPixels(Mode, Dst, DstRect, ClipRect, Src, SrcRect))
    BltPixels(Mode, Dst, job->DstRect, Src, job->SrcX, job->SrcY);
}
