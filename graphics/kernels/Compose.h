// Drawing one block of pixels into another, unscaled or scaled by nearest neighbour, in one of the
// three modes. These are the pixel loops under the bitmap-to-bitmap and into-DIB routines; they
// work on plain views of memory, so a bitmap and a foreign bottom-up DIB are both just TqvPixels.
// The run routines are reached through their pointers (PixelRuns.h). Nothing here throws. Pure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "graphics/kernels/ColorModel.h"
#include "platform/Types.h"

// Pixels addressed by picture row: row Y starts Y × Stride pixels after Bits, so a bottom-up image
// has a negative Stride and Bits at its top row, which is the last row in memory.
struct TqvPixels {
  TqvColor* Bits = nullptr;
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t Stride = 0;

  TqvColor* Row(int32_t Y) const { return Bits + ptrdiff_t(Y) * Stride; }
};

// A top-down image whose rows are exactly Width pixels long (a TqvBitmap's Bits).
TqvPixels TopDownPixels(void* Bits, int32_t Width, int32_t Height);
// A bottom-up 32-bit DIB: Bits is its first pixel in memory, the start of its bottom row.
TqvPixels BottomUpPixels(void* Bits, int32_t Width, int32_t Height);

enum class TqvDrawMode {
  Opaque,      // plain copy
  AlphaBlend,  // LineAlphaBlendFunc
  Transparent, // LineTransparentFunc: key pixels skipped, the rest written opaque
};

// Unscaled copy of the source pixels at (SrcX, SrcY) onto DstRect, row after row top to bottom,
// each row with the mode's run routine (MoveLongwordFunc for Opaque). Callers pass a rectangle that
// fits both images; any part that does not is cut off rather than written out of bounds.
void BltPixels(TqvDrawMode Mode, const TqvPixels& Dst, const TRect& DstRect, const TqvPixels& Src,
               int32_t SrcX, int32_t SrcY);

// An unscaled drawing left to the caller: the target rectangle, already clipped, and its source
// origin.
struct TqvBltJob {
  TRect DstRect;
  int32_t SrcX = 0;
  int32_t SrcY = 0;
};

// Draws SrcRect of Src into DstRect of Dst, showing only what lies inside ClipRect and the target.
// Nothing is drawn when SrcRect is empty or not wholly inside Src, or the clipped area is empty.
// A scaled drawing (sizes differ) is done here: nearest neighbour with corners aligned, the column
// and row maps built once, a source row resampled only when it changes, a repeated plain row copied
// from the target row above. An unscaled drawing is returned instead, so that a caller can route it
// through its own replaceable routine; DrawPixels does it with BltPixels.
std::optional<TqvBltJob> StretchPixels(TqvDrawMode Mode, const TqvPixels& Dst, const TRect& DstRect,
                                       const TRect& ClipRect, const TqvPixels& Src,
                                       const TRect& SrcRect);

// StretchPixels, then BltPixels for an unscaled drawing.
void DrawPixels(TqvDrawMode Mode, const TqvPixels& Dst, const TRect& DstRect, const TRect& ClipRect,
                const TqvPixels& Src, const TRect& SrcRect);
