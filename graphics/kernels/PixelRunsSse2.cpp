// The SIMD blends, built with SSE2 enabled for this file only. Each channel is a 16-bit lane
// (wrapping arithmetic, logical shift), so the results differ from the scalar blend: the alpha is
// blended too, and the divisor's complement is 256 − α rather than 255 − α.
#include <emmintrin.h>

#include "graphics/kernels/PixelRuns.h"

namespace {

// Per 16-bit lane: (Bg·256 + α·(Fg − Bg)) >> 8, for lanes that hold their channel in the low byte
__m128i BlendLowBytes(__m128i fg, __m128i bg, __m128i alpha)
{
  const __m128i sum = _mm_add_epi16(_mm_slli_epi16(bg, 8), _mm_mullo_epi16(alpha, _mm_sub_epi16(fg, bg)));
  return _mm_srli_epi16(sum, 8);
}

// The line form on up to four pixels. An α of 255 is raised to 256, which makes the lane formula
// yield Fg exactly; an α of 0 already yields Bg exactly. Those are the two early outs, per pixel.
__m128i BlendFour(__m128i src, __m128i dst)
{
  const __m128i lowBytes = _mm_set1_epi16(0x00FF);
  const __m128i highBytes = _mm_set1_epi16(int16_t(0xFF00));

  // Green and alpha moved down into the low byte of their lanes; the pixel's α in both of its lanes.
  const __m128i srcGA = _mm_srli_epi16(src, 8);
  const __m128i dstGA = _mm_srli_epi16(dst, 8);
  __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(srcGA, _MM_SHUFFLE(3, 3, 1, 1)), _MM_SHUFFLE(3, 3, 1, 1));
  alpha = _mm_add_epi16(alpha, _mm_srli_epi16(_mm_add_epi16(alpha, _mm_set1_epi16(1)), 8));

  const __m128i rb = BlendLowBytes(_mm_and_si128(src, lowBytes), _mm_and_si128(dst, lowBytes), alpha);
  // For green and alpha, (Bg·256 + α·(Fg − Bg)) masked to its high byte is the result already in place.
  const __m128i gaSum = _mm_add_epi16(_mm_and_si128(dst, highBytes), _mm_mullo_epi16(alpha, _mm_sub_epi16(srcGA, dstGA)));
  return _mm_or_si128(rb, _mm_and_si128(gaSum, highBytes));
}

} // namespace

// every channel, alpha included: (Fg·α + Bg·(256 − α)) div 256; no early outs
TqvColor PixelAlphaBlendMMX(TqvColor Fg, TqvColor Bg)
{
  const __m128i zero = _mm_setzero_si128();
  const __m128i fg = _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(Fg)), zero);
  const __m128i bg = _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(Bg)), zero);
  const __m128i alpha = _mm_shufflelo_epi16(fg, _MM_SHUFFLE(3, 3, 3, 3));
  const __m128i blended = BlendLowBytes(fg, bg, alpha);
  return TqvColor(_mm_cvtsi128_si32(_mm_packus_epi16(blended, blended)));
}

// α = 0: Dst stays; α = 255: Dst := Src; otherwise the lane formula of PixelAlphaBlendMMX
void LineAlphaBlendMMX(const TqvColor* Src, TqvColor* Dst, int32_t Count)
{
  const __m128i alphaMask = _mm_set1_epi32(int(0xFF000000));
  const __m128i zero = _mm_setzero_si128();
  int32_t i = 0;
  for (; i + 4 <= Count; i += 4) {
    const __m128i src = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Src + i));
    // Whole groups of four transparent or four opaque pixels skip the arithmetic.
    const __m128i srcAlpha = _mm_and_si128(src, alphaMask);
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(srcAlpha, zero)) == 0xFFFF)
      continue;
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(srcAlpha, alphaMask)) == 0xFFFF) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + i), src);
      continue;
    }
    const __m128i dst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Dst + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + i), BlendFour(src, dst));
  }
  for (; i < Count; ++i) {
    const __m128i blended = BlendFour(_mm_cvtsi32_si128(int(Src[i])), _mm_cvtsi32_si128(int(Dst[i])));
    Dst[i] = TqvColor(_mm_cvtsi128_si32(blended));
  }
}
