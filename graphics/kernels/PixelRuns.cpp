#include "graphics/kernels/PixelRuns.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace {

// The pixels of an image whose rows are Width long, cut to the image: an inclusive rectangle that
// reaches outside is written only where it overlaps the image.
template <class Visit>
void ForEachRectRun(TqvColor* Dst, int32_t Width, int32_t Height, int32_t X1, int32_t Y1,
                    int32_t X2, int32_t Y2, Visit visit)
{
  if (Dst == nullptr || Width <= 0 || Height <= 0)
    return;
  X1 = std::max(X1, 0);
  Y1 = std::max(Y1, 0);
  X2 = std::min(X2, Width - 1);
  Y2 = std::min(Y2, Height - 1);
  if (X2 < X1 || Y2 < Y1)
    return;
  for (int32_t y = Y1; y <= Y2; ++y)
    visit(Dst + ptrdiff_t(y) * Width + X1, X2 - X1 + 1);
}

// Each colour = (Fg·α + Bg·(255 − α)) div 256, alpha 255. Red and blue share one multiply: each
// lane's sum stays below 2^16, so no carry crosses lanes.
TqvColor BlendChannels(TqvColor Fg, TqvColor Bg, uint32_t a)
{
  const uint32_t na = 255 - a;
  const uint32_t rb = ((Fg & 0x00FF00FF) * a + (Bg & 0x00FF00FF) * na) >> 8 & 0x00FF00FF;
  const uint32_t g = ((Fg & 0x0000FF00) * a + (Bg & 0x0000FF00) * na) >> 8 & 0x0000FF00;
  return 0xFF000000 | rb | g;
}

} // namespace

// α = 255: Fg; α = 0: Bg; otherwise each colour = (Fg·α + Bg·(255 − α)) div 256, alpha 255
TqvColor PixelAlphaBlend(TqvColor Fg, TqvColor Bg)
{
  const uint32_t a = Fg >> 24;
  if (a == 255)
    return Fg;
  if (a == 0)
    return Bg;
  return BlendChannels(Fg, Bg, a);
}

// The blend is formed for every pixel and the early outs chosen after it, without branches that
// mixed alphas would mispredict.
void LineAlphaBlend(const TqvColor* Src, TqvColor* Dst, int32_t Count)
{
  for (int32_t i = 0; i < Count; ++i) {
    const TqvColor s = Src[i];
    const TqvColor d = Dst[i];
    const uint32_t a = s >> 24;
    const TqvColor blended = BlendChannels(s, d, a);
    Dst[i] = a == 255 ? s : a == 0 ? d : blended;
  }
}

// Dst := Src with alpha 255, except under key pixels
void LineTransparent(const TqvColor* Src, TqvColor* Dst, int32_t Count)
{
  for (int32_t i = 0; i < Count; ++i)
    if (!IsTransparentKey(Src[i]))
      Dst[i] = Src[i] | 0xFF000000;
}

// Copies in ascending order, one pixel after the other: when Dst lies inside the source run, the
// pixels already copied are copied again, as an overlapping row-by-row blit expects.
void MoveLongword(const TqvColor* Src, TqvColor* Dst, int32_t Count)
{
  if (Count <= 0 || Src == Dst)
    return;
  const auto s = reinterpret_cast<uintptr_t>(Src);
  const auto d = reinterpret_cast<uintptr_t>(Dst);
  if (d < s || d >= s + uintptr_t(Count) * sizeof(TqvColor)) {
    std::memmove(Dst, Src, size_t(Count) * sizeof(TqvColor));
    return;
  }
  for (int32_t i = 0; i < Count; ++i)
    Dst[i] = Src[i];
}

void FillLongword(TqvColor* Dst, int32_t Count, TqvColor Value)
{
  if (Count > 0)
    std::fill_n(Dst, Count, Value);
}

void FillLongwordRect(TqvColor* Dst, int32_t Width, int32_t Height, int32_t X1, int32_t Y1,
                      int32_t X2, int32_t Y2, TqvColor Value)
{
  ForEachRectRun(Dst, Width, Height, X1, Y1, X2, Y2,
                 [Value](TqvColor* run, int32_t count) { FillLongword(run, count, Value); });
}

// Only the alpha byte of each pixel is written.
void FillAlpha(TqvColor* Dst, int32_t Count, uint8_t Alpha)
{
  const TqvColor a = TqvColor(Alpha) << 24;
  for (int32_t i = 0; i < Count; ++i)
    Dst[i] = (Dst[i] & 0x00FFFFFF) | a;
}

void FillAlphaRect(TqvColor* Dst, int32_t Width, int32_t Height, int32_t X1, int32_t Y1, int32_t X2,
                   int32_t Y2, uint8_t Alpha)
{
  ForEachRectRun(Dst, Width, Height, X1, Y1, X2, Y2,
                 [Alpha](TqvColor* run, int32_t count) { FillAlpha(run, count, Alpha); });
}

// Alpha := 0 where the low 24 bits equal those of Color
void ClearAlpha(TqvColor* Dst, int32_t Count, TqvColor Color)
{
  const TqvColor rgb = Color & 0x00FFFFFF;
  for (int32_t i = 0; i < Count; ++i)
    if ((Dst[i] & 0x00FFFFFF) == rgb)
      Dst[i] = rgb;
}

void SelectBlendKernels(bool UseSimd)
{
  PixelAlphaBlendFunc = UseSimd ? PixelAlphaBlendMMX : PixelAlphaBlend;
  LineAlphaBlendFunc = UseSimd ? LineAlphaBlendMMX : LineAlphaBlend;
}

bool ScalarKernelsForced()
{
  const char* value = std::getenv("QV_SCALAR_KERNELS");
  return value != nullptr && *value != '\0' && std::strcmp(value, "0") != 0;
}
