#include "graphics/bitmap/BitmapKernels.h"

#include "graphics/bitmap/Bitmap.h"
#include "graphics/kernels/Compose.h"
#include "graphics/kernels/PixelRuns.h"
#include "graphics/bitmap/SimdState.h"
#include "graphics/utils/Processor.h"
#include "graphics/utils/Rects.h"
#include "system/Qv_winapi.h"

namespace {

[[noreturn]] void AssertionFailure(int Line)
{
  throw EAssertionFailed(Format("Assertion failure (qv_bitmap, line %d)", Line));
}

TqvPixels PixelsOf(const TqvBitmap* Bitmap)
{
  return Bitmap ? TopDownPixels(Bitmap->Bits, Bitmap->Width, Bitmap->Height) : TqvPixels{};
}

void Stretch(TqvDrawMode Mode, TBltFunc Blt, TqvBitmap* Dst, const TRect& DstRect, const TRect& ClipRect,
             TqvBitmap* Src, const TRect& SrcRect)
{
  TEmmsOnExit emms;
  if (const auto job = StretchPixels(Mode, PixelsOf(Dst), DstRect, ClipRect, PixelsOf(Src), SrcRect))
    Blt(Dst, job->DstRect, Src, job->SrcX, job->SrcY);
}

void Blt(TqvDrawMode Mode, TqvBitmap* Dst, const TRect& DstRect, TqvBitmap* Src, int32_t SrcX, int32_t SrcY)
{
  if (!Src || !Src->Bits || !Dst || !Dst->Bits) AssertionFailure(__LINE__);
  TEmmsOnExit emms;
  BltPixels(Mode, PixelsOf(Dst), DstRect, PixelsOf(Src), SrcX, SrcY);
}

using TBltToDibFunc = void (*)(void* Bits, int32_t X, int32_t Y, int32_t DibWidth, int32_t DibHeight, TqvBitmap* Src,
                               const TRect& SrcRect);

void StretchToDib(TqvDrawMode Mode, TBltToDibFunc BltToDib, void* Bits, const TRect& DstRect, const TRect& ClipRect,
                  int32_t DibWidth, int32_t DibHeight, TqvBitmap* Src, const TRect& SrcRect)
{
  TEmmsOnExit emms;
  const auto job =
      StretchPixels(Mode, BottomUpPixels(Bits, DibWidth, DibHeight), DstRect, ClipRect, PixelsOf(Src), SrcRect);
  if (job)
    BltToDib(Bits, job->DstRect.Left, job->DstRect.Top, DibWidth, DibHeight, Src,
             Bounds(job->SrcX, job->SrcY, RectWidth(job->DstRect), RectHeight(job->DstRect)));
}

void BltToDib(TqvDrawMode Mode, void* Bits, int32_t X, int32_t Y, int32_t DibWidth, int32_t DibHeight, TqvBitmap* Src,
              const TRect& SrcRect)
{
  if (!Src || !Src->Bits) return;
  TEmmsOnExit emms;
  BltPixels(Mode, BottomUpPixels(Bits, DibWidth, DibHeight), Bounds(X, Y, RectWidth(SrcRect), RectHeight(SrcRect)),
            PixelsOf(Src), SrcRect.Left, SrcRect.Top);
}

}  // namespace

// Bitmap to bitmap

void StretchOpaque(TqvBitmap* Dst, const TRect& DstRect, const TRect& ClipRect, TqvBitmap* Src, const TRect& SrcRect)
{
  Stretch(TqvDrawMode::Opaque, BltOpaqueFunc, Dst, DstRect, ClipRect, Src, SrcRect);
}

void StretchAlphaBlend(TqvBitmap* Dst, const TRect& DstRect, const TRect& ClipRect, TqvBitmap* Src,
                       const TRect& SrcRect)
{
  Stretch(TqvDrawMode::AlphaBlend, BltAlphaBlendFunc, Dst, DstRect, ClipRect, Src, SrcRect);
}

void StretchTransparent(TqvBitmap* Dst, const TRect& DstRect, const TRect& ClipRect, TqvBitmap* Src,
                        const TRect& SrcRect)
{
  Stretch(TqvDrawMode::Transparent, BltTransparentFunc, Dst, DstRect, ClipRect, Src, SrcRect);
}

void BltOpaque(TqvBitmap* Dst, const TRect& DstRect, TqvBitmap* Src, int32_t SrcX, int32_t SrcY)
{
  Blt(TqvDrawMode::Opaque, Dst, DstRect, Src, SrcX, SrcY);
}

void BltAlphaBlend(TqvBitmap* Dst, const TRect& DstRect, TqvBitmap* Src, int32_t SrcX, int32_t SrcY)
{
  Blt(TqvDrawMode::AlphaBlend, Dst, DstRect, Src, SrcX, SrcY);
}

void BltTransparent(TqvBitmap* Dst, const TRect& DstRect, TqvBitmap* Src, int32_t SrcX, int32_t SrcY)
{
  Blt(TqvDrawMode::Transparent, Dst, DstRect, Src, SrcX, SrcY);
}

// Into a foreign DIB

void StretchToDibOpaque(void* Bits, const TRect& DstRect, const TRect& ClipRect, int32_t DibWidth, int32_t DibHeight,
                        TqvBitmap* Src, const TRect& SrcRect)
{
  StretchToDib(TqvDrawMode::Opaque, BltToDibOpaque, Bits, DstRect, ClipRect, DibWidth, DibHeight, Src, SrcRect);
}

void StretchToDibAlphaBlend(void* Bits, const TRect& DstRect, const TRect& ClipRect, int32_t DibWidth,
                            int32_t DibHeight, TqvBitmap* Src, const TRect& SrcRect)
{
  StretchToDib(TqvDrawMode::AlphaBlend, BltToDibAlphaBlend, Bits, DstRect, ClipRect, DibWidth, DibHeight, Src,
               SrcRect);
}

void StretchToDibTransparent(void* Bits, const TRect& DstRect, const TRect& ClipRect, int32_t DibWidth,
                             int32_t DibHeight, TqvBitmap* Src, const TRect& SrcRect)
{
  StretchToDib(TqvDrawMode::Transparent, BltToDibTransparent, Bits, DstRect, ClipRect, DibWidth, DibHeight, Src,
               SrcRect);
}

void BltToDibOpaque(void* Bits, int32_t X, int32_t Y, int32_t DibWidth, int32_t DibHeight, TqvBitmap* Src,
                    const TRect& SrcRect)
{
  BltToDib(TqvDrawMode::Opaque, Bits, X, Y, DibWidth, DibHeight, Src, SrcRect);
}

void BltToDibAlphaBlend(void* Bits, int32_t X, int32_t Y, int32_t DibWidth, int32_t DibHeight, TqvBitmap* Src,
                        const TRect& SrcRect)
{
  BltToDib(TqvDrawMode::AlphaBlend, Bits, X, Y, DibWidth, DibHeight, Src, SrcRect);
}

void BltToDibTransparent(void* Bits, int32_t X, int32_t Y, int32_t DibWidth, int32_t DibHeight, TqvBitmap* Src,
                         const TRect& SrcRect)
{
  BltToDib(TqvDrawMode::Transparent, Bits, X, Y, DibWidth, DibHeight, Src, SrcRect);
}

// Onto a device context

void StretchToDCOpaque(HDC DC, int32_t DstX, int32_t DstY, int32_t DstW, int32_t DstH, TqvBitmap* Src, int32_t SrcX,
                       int32_t SrcY, int32_t SrcW, int32_t SrcH)
{
  SetStretchBltMode(DC, COLORONCOLOR);
  StretchBlt(DC, DstX, DstY, DstW, DstH, Src->DC, SrcX, SrcY, SrcW, SrcH, SRCCOPY);
}

void StretchToDCReadBack(HDC DC, int32_t DstX, int32_t DstY, int32_t DstW, int32_t DstH, TqvBitmap* Src,
                         int32_t SrcX, int32_t SrcY, int32_t SrcW, int32_t SrcH)
{
  if (DstW <= 0 || DstH <= 0) return;
  TqvBitmap area;
  area.SetSize(DstW, DstH);
  BitBlt(area.DC, 0, 0, DstW, DstH, DC, DstX, DstY, SRCCOPY);
  GdiFlush();
  Src->Draw(&area, Rect(0, 0, DstW, DstH), Rect(SrcX, SrcY, SrcX + SrcW, SrcY + SrcH));
  BitBlt(DC, DstX, DstY, DstW, DstH, area.DC, 0, 0, SRCCOPY);
}

void StretchToDCTransparentBlt(HDC DC, int32_t DstX, int32_t DstY, int32_t DstW, int32_t DstH, TqvBitmap* Src,
                               int32_t SrcX, int32_t SrcY, int32_t SrcW, int32_t SrcH)
{
  if (Qv_winapi::TransparentBltFunc)
    Qv_winapi::TransparentBltFunc(DC, DstX, DstY, DstW, DstH, Src->DC, SrcX, SrcY, SrcW, SrcH, RGB(0x7F, 0, 0x7F));
}

void* GetBitsFromDC(HDC DC, int32_t& Width, int32_t& Height, int32_t& BitCount)
{
  Width = Height = BitCount = 0;
  HGDIOBJ bitmap = GetCurrentObject(DC, OBJ_BITMAP);
  DIBSECTION section;
  if (!bitmap || GetObjectA(bitmap, sizeof section, &section) != int(sizeof section)) return nullptr;
  Width = section.dsBmih.biWidth;
  Height = section.dsBmih.biHeight;
  BitCount = section.dsBmih.biBitCount;
  return section.dsBm.bmBits;
}

// Selection

TStretchToDCFunc ChooseStretchToDCTransparent(bool HasTransparentBlt, int ScreenDepth)
{
  return HasTransparentBlt && ScreenDepth >= 24 ? StretchToDCTransparentBlt : StretchToDCReadBack;
}

void SelectBitmapKernels()
{
  SelectBlendKernels(HasMMX() && HasSSE2() && !ScalarKernelsForced());
  LineTransparentFunc = LineTransparent;
  MoveLongwordFunc = MoveLongword;
  FillLongwordFunc = FillLongword;
  FillLongwordRectFunc = FillLongwordRect;
  FillAlphaFunc = FillAlpha;
  FillAlphaRectFunc = FillAlphaRect;
  ClearAlphaFunc = ClearAlpha;

  StretchOpaqueFunc = StretchOpaque;
  StretchAlphaBlendFunc = StretchAlphaBlend;
  StretchTransparentFunc = StretchTransparent;
  BltOpaqueFunc = BltOpaque;
  BltAlphaBlendFunc = BltAlphaBlend;
  BltTransparentFunc = BltTransparent;
  StretchToDibOpaqueFunc = StretchToDibOpaque;
  StretchToDibAlphaBlendFunc = StretchToDibAlphaBlend;
  StretchToDibTransparentFunc = StretchToDibTransparent;
  StretchToDCOpaqueFunc = StretchToDCOpaque;
  StretchToDCAlphaBlendFunc = StretchToDCReadBack;
  GetBitsFromDCFunc = GetBitsFromDC;

  HDC screen = GetDC(nullptr);
  const int depth = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  StretchToDCTransparentFunc = ChooseStretchToDCTransparent(Qv_winapi::IsMsImg(), depth);
}
