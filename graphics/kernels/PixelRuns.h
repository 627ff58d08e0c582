// The run routines: blending, copying and filling runs of pixels. Every caller goes through the
// replaceable pointers below, which start out holding the scalar routines. Pure: no Windows header.
// Counts are in pixels; a count of 0 or less does nothing. Rectangles of the two rect fills are
// inclusive.
#pragma once

#include <cstdint>

#include "graphics/kernels/ColorModel.h"

using TPixelAlphaBlendFunc = TqvColor (*)(TqvColor Fg, TqvColor Bg);
using TLineFunc = void (*)(const TqvColor* Src, TqvColor* Dst, int32_t Count);
using TFillLongwordFunc = void (*)(TqvColor* Dst, int32_t Count, TqvColor Value);
using TFillLongwordRectFunc = void (*)(TqvColor* Dst, int32_t Width, int32_t Height, int32_t X1,
                                       int32_t Y1, int32_t X2, int32_t Y2, TqvColor Value);
using TFillAlphaFunc = void (*)(TqvColor* Dst, int32_t Count, uint8_t Alpha);
using TFillAlphaRectFunc = void (*)(TqvColor* Dst, int32_t Width, int32_t Height, int32_t X1,
                                    int32_t Y1, int32_t X2, int32_t Y2, uint8_t Alpha);
using TClearAlphaFunc = void (*)(TqvColor* Dst, int32_t Count, TqvColor Color);

// Scalar routines
TqvColor PixelAlphaBlend(TqvColor Fg, TqvColor Bg);
void LineAlphaBlend(const TqvColor* Src, TqvColor* Dst, int32_t Count);
void LineTransparent(const TqvColor* Src, TqvColor* Dst, int32_t Count);
void MoveLongword(const TqvColor* Src, TqvColor* Dst, int32_t Count);
void FillLongword(TqvColor* Dst, int32_t Count, TqvColor Value);
void FillLongwordRect(TqvColor* Dst, int32_t Width, int32_t Height, int32_t X1, int32_t Y1,
                      int32_t X2, int32_t Y2, TqvColor Value);
void FillAlpha(TqvColor* Dst, int32_t Count, uint8_t Alpha);
void FillAlphaRect(TqvColor* Dst, int32_t Width, int32_t Height, int32_t X1, int32_t Y1, int32_t X2,
                   int32_t Y2, uint8_t Alpha);
void ClearAlpha(TqvColor* Dst, int32_t Count, TqvColor Color);

// SIMD blends (SSE2, PixelRunsSse2.cpp): only for a processor that has SSE2.
TqvColor PixelAlphaBlendMMX(TqvColor Fg, TqvColor Bg);
void LineAlphaBlendMMX(const TqvColor* Src, TqvColor* Dst, int32_t Count);

// The kernel table's run routines
inline TPixelAlphaBlendFunc PixelAlphaBlendFunc = PixelAlphaBlend;
inline TLineFunc LineAlphaBlendFunc = LineAlphaBlend;
inline TLineFunc LineTransparentFunc = LineTransparent;
inline TLineFunc MoveLongwordFunc = MoveLongword;
inline TFillLongwordFunc FillLongwordFunc = FillLongword;
inline TFillLongwordRectFunc FillLongwordRectFunc = FillLongwordRect;
inline TFillAlphaFunc FillAlphaFunc = FillAlpha;
inline TFillAlphaRectFunc FillAlphaRectFunc = FillAlphaRect;
inline TClearAlphaFunc ClearAlphaFunc = ClearAlpha;

// Installs the SIMD blend pair into PixelAlphaBlendFunc and LineAlphaBlendFunc, or the scalar pair.
// The caller decides from the processor's features and ScalarKernelsForced.
void SelectBlendKernels(bool UseSimd);

// True when the environment variable QV_SCALAR_KERNELS is set to anything but "" or "0": the
// scalar routines are then to be used whatever the processor offers.
bool ScalarKernelsForced();
