// The SIMD blends, built with SSE2 enabled for this file only. Each channel is a 16-bit lane
// (wrapping arithmetic, logical shift), so the results differ from the scalar blend: the alpha is
// blended too, and the divisor's complement is 256 − α rather than 255 − α.
// Call no inline function of a shared header here: the linker may keep this file's SSE2 build of it
// for every caller, on processors without SSE2 too.
#include <emmintrin.h>

#include <cstdint>

#include "graphics/kernels/PixelRuns.h"

namespace {

// Each pixel's α in both of its 16-bit lanes; srcGA is the source shifted right by 8 within its
// lanes, which holds green and alpha in the low bytes.
__m128i AlphaLanes(__m128i srcGA)
{
  return _mm_shufflehi_epi16(_mm_shufflelo_epi16(srcGA, _MM_SHUFFLE(3, 3, 1, 1)),
                             _MM_SHUFFLE(3, 3, 1, 1));
}

// (Bg·256 + α·(Fg − Bg)) >> 8 per channel, on up to four pixels. That equals Bg + ⌊α·(Fg −
// Bg)/256⌋: the destination byte plus the high byte of the wrapped 16-bit product, added modulo
// 256, which is exact because the result lies in 0..255.
__m128i BlendLanes(__m128i src, __m128i srcGA, __m128i dst, __m128i alpha)
{
  const __m128i lowBytes = _mm_set1_epi16(0x00FF);
  const __m128i highBytes = _mm_set1_epi16(int16_t(0xFF00));
  const __m128i rb = _mm_mullo_epi16(
      alpha, _mm_sub_epi16(_mm_and_si128(src, lowBytes), _mm_and_si128(dst, lowBytes)));
  const __m128i ga = _mm_mullo_epi16(alpha, _mm_sub_epi16(srcGA, _mm_srli_epi16(dst, 8)));
  return _mm_add_epi8(dst, _mm_or_si128(_mm_srli_epi16(rb, 8), _mm_and_si128(ga, highBytes)));
}

// The line form on the pixels of one register. An α of 255 is raised to 256, which makes the lane
// formula yield Fg exactly, and an α of 0 yields Bg exactly: the two early outs, pixel by pixel.
__m128i BlendLine(__m128i src, __m128i dst)
{
  const __m128i srcGA = _mm_srli_epi16(src, 8);
  const __m128i alpha = AlphaLanes(srcGA);
  const __m128i opaque = _mm_cmpeq_epi16(alpha, _mm_set1_epi16(0x00FF));
  return BlendLanes(src, srcGA, dst, _mm_sub_epi16(alpha, opaque));
}

// Asks for the cache line 512 bytes ahead: long runs that come from memory rather than the cache
// then keep the arithmetic busy. A prefetch never faults, also past the end of a run.
void PrefetchAhead(const TqvColor* p)
{
  _mm_prefetch(reinterpret_cast<const char*>(reinterpret_cast<uintptr_t>(p) + 512), _MM_HINT_T0);
}

} // namespace

// every channel, alpha included: (Fg·α + Bg·(256 − α)) div 256; no early outs
TqvColor PixelAlphaBlendMMX(TqvColor Fg, TqvColor Bg)
{
  const __m128i fg = _mm_cvtsi32_si128(int(Fg));
  const __m128i fgGA = _mm_srli_epi16(fg, 8);
  const __m128i blended = BlendLanes(fg, fgGA, _mm_cvtsi32_si128(int(Bg)), AlphaLanes(fgGA));
  return TqvColor(_mm_cvtsi128_si32(blended));
}

// α = 0: Dst stays; α = 255: Dst := Src; otherwise the lane formula of PixelAlphaBlendMMX
void LineAlphaBlendMMX(const TqvColor* Src, TqvColor* Dst, int32_t Count)
{
  int32_t i = 0;
  // A destination that starts inside the source run must see the pixels already blended, as a
  // left-to-right pass does: such a run goes pixel by pixel.
  const auto s = reinterpret_cast<uintptr_t>(Src);
  const auto d = reinterpret_cast<uintptr_t>(Dst);
  const bool overlapsAhead = Count > 0 && d > s && d < s + uintptr_t(Count) * sizeof(TqvColor);
  if (!overlapsAhead) {
    for (; i + 8 <= Count; i += 8) {
      PrefetchAhead(Src + i);
      PrefetchAhead(Dst + i);
      const __m128i src0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Src + i));
      const __m128i src1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Src + i + 4));
      const __m128i dst0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Dst + i));
      const __m128i dst1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Dst + i + 4));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + i), BlendLine(src0, dst0));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + i + 4), BlendLine(src1, dst1));
    }
    for (; i + 4 <= Count; i += 4) {
      const __m128i src = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Src + i));
      const __m128i dst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Dst + i));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + i), BlendLine(src, dst));
    }
  }
  for (; i < Count; ++i)
    Dst[i] = TqvColor(_mm_cvtsi128_si32(
        BlendLine(_mm_cvtsi32_si128(int(Src[i])), _mm_cvtsi32_si128(int(Dst[i])))));
}
