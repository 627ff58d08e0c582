// The kernel table's bitmap and device routines: drawing a TqvBitmap into another bitmap, into a
// foreign bottom-up 32-bit DIB or onto a device context, in the three modes, through replaceable
// pointers. The pixel loops themselves are the pure ones of Compose.h; the run routines and their
// pointers are in PixelRuns.h.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/Types.h"

class TqvBitmap;

using TStretchFunc = void (*)(TqvBitmap* Dst, const TRect& DstRect, const TRect& ClipRect, TqvBitmap* Src,
                              const TRect& SrcRect);
using TBltFunc = void (*)(TqvBitmap* Dst, const TRect& DstRect, TqvBitmap* Src, int32_t SrcX, int32_t SrcY);
using TStretchToDibFunc = void (*)(void* Bits, const TRect& DstRect, const TRect& ClipRect, int32_t DibWidth,
                                   int32_t DibHeight, TqvBitmap* Src, const TRect& SrcRect);
using TStretchToDCFunc = void (*)(HDC DC, int32_t DstX, int32_t DstY, int32_t DstW, int32_t DstH, TqvBitmap* Src,
                                  int32_t SrcX, int32_t SrcY, int32_t SrcW, int32_t SrcH);
using TGetBitsFromDCFunc = void* (*)(HDC DC, int32_t& Width, int32_t& Height, int32_t& BitCount);

// Bitmap to bitmap. The Stretch routines clip to ClipRect and the target, draw nothing for a source
// rectangle that leaves the source, and hand an unscaled drawing to the matching Blt pointer.
void StretchOpaque(TqvBitmap* Dst, const TRect& DstRect, const TRect& ClipRect, TqvBitmap* Src, const TRect& SrcRect);
void StretchAlphaBlend(TqvBitmap* Dst, const TRect& DstRect, const TRect& ClipRect, TqvBitmap* Src,
                       const TRect& SrcRect);
void StretchTransparent(TqvBitmap* Dst, const TRect& DstRect, const TRect& ClipRect, TqvBitmap* Src,
                        const TRect& SrcRect);
// Unscaled, rows top to bottom, for a rectangle already clipped. Raise EAssertionFailed "Assertion
// failure" when either bitmap has no pixels.
void BltOpaque(TqvBitmap* Dst, const TRect& DstRect, TqvBitmap* Src, int32_t SrcX, int32_t SrcY);
void BltAlphaBlend(TqvBitmap* Dst, const TRect& DstRect, TqvBitmap* Src, int32_t SrcX, int32_t SrcY);
void BltTransparent(TqvBitmap* Dst, const TRect& DstRect, TqvBitmap* Src, int32_t SrcX, int32_t SrcY);

// Into a foreign bottom-up 32-bit DIB whose first pixel in memory is Bits (rectangles in picture
// coordinates, row 0 at the top).
void StretchToDibOpaque(void* Bits, const TRect& DstRect, const TRect& ClipRect, int32_t DibWidth, int32_t DibHeight,
                        TqvBitmap* Src, const TRect& SrcRect);
void StretchToDibAlphaBlend(void* Bits, const TRect& DstRect, const TRect& ClipRect, int32_t DibWidth,
                            int32_t DibHeight, TqvBitmap* Src, const TRect& SrcRect);
void StretchToDibTransparent(void* Bits, const TRect& DstRect, const TRect& ClipRect, int32_t DibWidth,
                             int32_t DibHeight, TqvBitmap* Src, const TRect& SrcRect);
// Unscaled: SrcRect of Src to the picture area whose top-left is (X, Y). Nothing happens without a
// source.
void BltToDibOpaque(void* Bits, int32_t X, int32_t Y, int32_t DibWidth, int32_t DibHeight, TqvBitmap* Src,
                    const TRect& SrcRect);
void BltToDibAlphaBlend(void* Bits, int32_t X, int32_t Y, int32_t DibWidth, int32_t DibHeight, TqvBitmap* Src,
                        const TRect& SrcRect);
void BltToDibTransparent(void* Bits, int32_t X, int32_t Y, int32_t DibWidth, int32_t DibHeight, TqvBitmap* Src,
                         const TRect& SrcRect);

// Onto any device context.
// StretchBlt in COLORONCOLOR mode.
void StretchToDCOpaque(HDC DC, int32_t DstX, int32_t DstY, int32_t DstW, int32_t DstH, TqvBitmap* Src, int32_t SrcX,
                       int32_t SrcY, int32_t SrcW, int32_t SrcH);
// Reads the target area back into a temporary bitmap, draws Src there by its own mode and copies
// the result back: blending and colour keys for any device.
void StretchToDCReadBack(HDC DC, int32_t DstX, int32_t DstY, int32_t DstW, int32_t DstH, TqvBitmap* Src, int32_t SrcX,
                         int32_t SrcY, int32_t SrcW, int32_t SrcH);
// The system's TransparentBlt with the transparent key's colour.
void StretchToDCTransparentBlt(HDC DC, int32_t DstX, int32_t DstY, int32_t DstW, int32_t DstH, TqvBitmap* Src,
                               int32_t SrcX, int32_t SrcY, int32_t SrcW, int32_t SrcH);

// The DIB section selected into DC: its first pixel, and its header's width, signed height
// (positive for bottom-up) and bit count; null and zeros when DC holds no section.
void* GetBitsFromDC(HDC DC, int32_t& Width, int32_t& Height, int32_t& BitCount);

// The pointers
inline TStretchFunc StretchOpaqueFunc = StretchOpaque;
inline TStretchFunc StretchAlphaBlendFunc = StretchAlphaBlend;
inline TStretchFunc StretchTransparentFunc = StretchTransparent;
inline TBltFunc BltOpaqueFunc = BltOpaque;
inline TBltFunc BltAlphaBlendFunc = BltAlphaBlend;
inline TBltFunc BltTransparentFunc = BltTransparent;
inline TStretchToDibFunc StretchToDibOpaqueFunc = StretchToDibOpaque;
inline TStretchToDibFunc StretchToDibAlphaBlendFunc = StretchToDibAlphaBlend;
inline TStretchToDibFunc StretchToDibTransparentFunc = StretchToDibTransparent;
inline TStretchToDCFunc StretchToDCOpaqueFunc = StretchToDCOpaque;
inline TStretchToDCFunc StretchToDCAlphaBlendFunc = StretchToDCReadBack;
inline TStretchToDCFunc StretchToDCTransparentFunc = StretchToDCReadBack;
inline TGetBitsFromDCFunc GetBitsFromDCFunc = GetBitsFromDC;

// When false, tiling onto a device context never writes into the context's DIB section directly.
inline bool EnableDibOperation = true;

// The colour-keyed device routine for a system with or without TransparentBlt and a screen of
// ScreenDepth bits per pixel: TransparentBlt needs 24 bits or more to keep the key exact.
TStretchToDCFunc ChooseStretchToDCTransparent(bool HasTransparentBlt, int ScreenDepth);

// Fills the whole table: the SIMD blends when the processor has them (unless the scalar switch is
// set), the fixed routines, and the colour-keyed device routine for this system and screen. Runs
// after the system adapters and the utilities have started.
void SelectBitmapKernels();
