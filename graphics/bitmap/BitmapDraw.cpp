// TqvBitmap: drawing onto device contexts, canvases and other bitmaps; tiling, merging, filling and
// rendering platform graphics.
#include <algorithm>
#include <vector>

#include "graphics/bitmap/Bitmap.h"
#include "graphics/bitmap/BitmapKernels.h"
#include "graphics/kernels/PixelRuns.h"
#include "graphics/bitmap/SimdState.h"
#include "graphics/utils/Rects.h"
#include "platform/Graphics.h"

namespace {

TRect Offset(const TRect& R, const POINT& By)
{
  return {R.Left - By.x, R.Top - By.y, R.Right - By.x, R.Bottom - By.y};
}

TRect Intersection(const TRect& A, const TRect& B)
{
  return {std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
          std::min(A.Bottom, B.Bottom)};
}

POINT WindowOrigin(HDC DC)
{
  POINT origin{};
  GetWindowOrgEx(DC, &origin);
  return origin;
}

TRect WholeOf(const TqvBitmap& Bitmap)
{
  return Rect(0, 0, Bitmap.Width, Bitmap.Height);
}

}  // namespace

// Draw

void TqvBitmap::DrawToBitmap(TqvBitmap* Dst, const TRect& DstRect, const TRect& SrcRect)
{
  const TStretchFunc stretch = AlphaBlend ? StretchAlphaBlendFunc : Transparent ? StretchTransparentFunc : StretchOpaqueFunc;
  stretch(Dst, DstRect, DstRect, this, SrcRect);
}

void TqvBitmap::Draw(HDC DC, const TRect& DstRect, const TRect& SrcRect)
{
  if (TqvBitmap* target = FindBitmapByDC(DC)) {
    DrawToBitmap(target, Offset(DstRect, WindowOrigin(DC)), SrcRect);
    return;
  }
  const TStretchToDCFunc stretch =
      AlphaBlend ? StretchToDCAlphaBlendFunc : Transparent ? StretchToDCTransparentFunc : StretchToDCOpaqueFunc;
  stretch(DC, DstRect.Left, DstRect.Top, RectWidth(DstRect), RectHeight(DstRect), this, SrcRect.Left, SrcRect.Top,
          RectWidth(SrcRect), RectHeight(SrcRect));
}

void TqvBitmap::Draw(HDC DC, int32_t X, int32_t Y)
{
  Draw(DC, Bounds(X, Y, Width, Height), WholeOf(*this));
}

void TqvBitmap::Draw(HDC DC, int32_t X, int32_t Y, const TRect& SrcRect)
{
  Draw(DC, Bounds(X, Y, RectWidth(SrcRect), RectHeight(SrcRect)), SrcRect);
}

void TqvBitmap::Draw(HDC DC, const TRect& DstRect)
{
  Draw(DC, DstRect, WholeOf(*this));
}

void TqvBitmap::Draw(TCanvas* Canvas, int32_t X, int32_t Y)
{
  Draw(Canvas->GetHandle(), X, Y);
}

void TqvBitmap::Draw(TCanvas* Canvas, int32_t X, int32_t Y, const TRect& SrcRect)
{
  Draw(Canvas->GetHandle(), X, Y, SrcRect);
}

void TqvBitmap::Draw(TCanvas* Canvas, const TRect& DstRect)
{
  Draw(Canvas->GetHandle(), DstRect);
}

void TqvBitmap::Draw(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect)
{
  Draw(Canvas->GetHandle(), DstRect, SrcRect);
}

void TqvBitmap::Draw(TqvBitmap* Dst, int32_t X, int32_t Y)
{
  DrawToBitmap(Dst, Bounds(X, Y, Width, Height), WholeOf(*this));
}

void TqvBitmap::Draw(TqvBitmap* Dst, int32_t X, int32_t Y, const TRect& SrcRect)
{
  DrawToBitmap(Dst, Bounds(X, Y, RectWidth(SrcRect), RectHeight(SrcRect)), SrcRect);
}

void TqvBitmap::Draw(TqvBitmap* Dst, const TRect& DstRect)
{
  DrawToBitmap(Dst, DstRect, WholeOf(*this));
}

void TqvBitmap::Draw(TqvBitmap* Dst, const TRect& DstRect, const TRect& SrcRect)
{
  DrawToBitmap(Dst, DstRect, SrcRect);
}

// Tiling

// Visits the cells of the grid over DstRect column by column, each top to bottom, with the cell cut
// to DstRect and the matching top-left part of SrcRect; the first empty cell ends its column.
template <class TCellDraw>
void TqvBitmap::ForEachTile(const TRect& DstRect, const TRect& SrcRect, TCellDraw DrawCell)
{
  const int32_t tileWidth = RectWidth(SrcRect);
  const int32_t tileHeight = RectHeight(SrcRect);
  // A tile of no size, or turned inside out, makes no cell that DstRect can hold.
  if (tileWidth <= 0 || tileHeight <= 0) return;
  const int32_t columns = RectWidth(DstRect) / tileWidth + (RectWidth(DstRect) % tileWidth != 0);
  const int32_t rows = RectHeight(DstRect) / tileHeight + (RectHeight(DstRect) % tileHeight != 0);
  for (int32_t i = 0; i < columns; ++i) {
    for (int32_t j = 0; j < rows; ++j) {
      const TRect cell = Intersection(
          Bounds(DstRect.Left + i * tileWidth, DstRect.Top + j * tileHeight, tileWidth, tileHeight), DstRect);
      if (IsRectEmpty(cell)) break;
      DrawCell(cell, Bounds(SrcRect.Left, SrcRect.Top, RectWidth(cell), RectHeight(cell)));
    }
  }
}

void TqvBitmap::Tile(HDC DC, const TRect& DstRect, const TRect& SrcRect)
{
  TqvBitmap* target = FindBitmapByDC(DC);
  int32_t dibWidth = 0;
  int32_t dibHeight = 0;
  int32_t bitCount = 0;
  void* dib = target ? nullptr : GetBitsFromDCFunc(DC, dibWidth, dibHeight, bitCount);
  const bool intoDib = EnableDibOperation && dib && bitCount == 32 && dibHeight > 0;
  const POINT origin = WindowOrigin(DC);

  ForEachTile(DstRect, SrcRect, [&](const TRect& Cell, const TRect& Part) {
    if (target) {
      DrawToBitmap(target, Offset(Cell, origin), Part);
    } else if (intoDib) {
      const TStretchToDibFunc stretch = AlphaBlend    ? StretchToDibAlphaBlendFunc
                                        : Transparent ? StretchToDibTransparentFunc
                                                      : StretchToDibOpaqueFunc;
      const TRect at = Offset(Cell, origin);
      stretch(dib, at, at, dibWidth, dibHeight, this, Part);
    } else {
      const TStretchToDCFunc stretch =
          AlphaBlend ? StretchToDCAlphaBlendFunc : Transparent ? StretchToDCTransparentFunc : StretchToDCOpaqueFunc;
      stretch(DC, Cell.Left, Cell.Top, RectWidth(Cell), RectHeight(Cell), this, Part.Left, Part.Top,
              RectWidth(Part), RectHeight(Part));
    }
  });
}

void TqvBitmap::Tile(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect)
{
  Tile(Canvas->GetHandle(), DstRect, SrcRect);
}

void TqvBitmap::Tile(TqvBitmap* Dst, const TRect& DstRect, const TRect& SrcRect)
{
  ForEachTile(DstRect, SrcRect, [&](const TRect& Cell, const TRect& Part) { DrawToBitmap(Dst, Cell, Part); });
}

namespace {

bool CellPassesClip(const TRect& Cell, const TRect& ClipRect)
{
  return IsRectEmpty(ClipRect) || !IsRectEmpty(Intersection(Cell, ClipRect));
}

}  // namespace

void TqvBitmap::TileClip(HDC DC, const TRect& DstRect, const TRect& ClipRect, const TRect& SrcRect)
{
  ForEachTile(DstRect, SrcRect, [&](const TRect& Cell, const TRect& Part) {
    if (CellPassesClip(Cell, ClipRect)) Draw(DC, Cell, Part);
  });
}

void TqvBitmap::TileClip(TCanvas* Canvas, const TRect& DstRect, const TRect& ClipRect, const TRect& SrcRect)
{
  TileClip(Canvas->GetHandle(), DstRect, ClipRect, SrcRect);
}

void TqvBitmap::TileClip(TqvBitmap* Dst, const TRect& DstRect, const TRect& ClipRect, const TRect& SrcRect)
{
  ForEachTile(DstRect, SrcRect, [&](const TRect& Cell, const TRect& Part) {
    if (CellPassesClip(Cell, ClipRect)) DrawToBitmap(Dst, Cell, Part);
  });
}

// Merging, filling and graphics

void TqvBitmap::MergeDraw(TqvBitmap* Src, int32_t X, int32_t Y, const TRect& SrcRect)
{
  if (!Src || !Src->Bits || !Bits) return;
  TEmmsOnExit emms;
  TRect r = SrcRect;
  if (r.Left < 0) {
    X -= r.Left;
    r.Left = 0;
  }
  if (r.Top < 0) {
    Y -= r.Top;
    r.Top = 0;
  }
  r.Right = std::min(r.Right, Src->Width);
  r.Bottom = std::min(r.Bottom, Src->Height);
  for (int32_t sx = r.Left; sx < r.Right; ++sx) {
    const int32_t dx = X + sx - r.Left;
    if (dx < 0 || dx >= Width) continue;
    for (int32_t sy = r.Top; sy < r.Bottom; ++sy) {
      const int32_t dy = Y + sy - r.Top;
      if (dy < 0 || dy >= Height) continue;
      TqvColor& d = *GetPixelPtr(dx, dy);
      const TqvColor s = *Src->GetPixelPtr(sx, sy);
      const uint32_t alpha = d >> 24;
      // This bitmap lies on top: its empty pixels show the source, partial ones are composed over it.
      if (alpha == 0)
        d = s;
      else if (alpha < 255)
        d = PixelAlphaBlendFunc(d, s);
    }
  }
}

void TqvBitmap::FillRect(const TRect& R, TqvColor Color)
{
  if (!Bits) return;
  const TRect cut = Intersection(R, WholeOf(*this));
  if (IsRectEmpty(cut)) return;
  if (!AlphaBlend) {
    FillLongwordRectFunc(Bits, Width, Height, cut.Left, cut.Top, cut.Right - 1, cut.Bottom - 1, Color);
    return;
  }
  TEmmsOnExit emms;
  TArrayOfqvColor line(static_cast<size_t>(RectWidth(cut)));
  FillLongwordFunc(line.data(), RectWidth(cut), Color);
  for (int32_t y = cut.Top; y < cut.Bottom; ++y)
    LineAlphaBlendFunc(line.data(), GetPixelPtr(cut.Left, y), RectWidth(cut));
}

void TqvBitmap::DrawGraphic(TGraphic* Graphic, const TRect& R)
{
  if (!Graphic || !Bits) return;
  TBitmap canvasBitmap;
  canvasBitmap.SetPixelFormat(pf32bit);
  canvasBitmap.SetSize(Width, Height);
  TCanvas* canvas = canvasBitmap.GetCanvas();
  // Magenta marks what the graphic leaves uncovered; the pen's border falls outside the image.
  canvas->GetBrush()->SetColor(0xFF00FF);
  canvas->Rectangle(-1, -1, Width + 1, Height + 1);
  canvas->StretchDraw(R, Graphic);
  GdiFlush();
  for (int32_t y = 0; y < Height; ++y) {
    const auto* row = static_cast<const TqvColor*>(canvasBitmap.GetScanLine(y));
    for (int32_t x = 0; x < Width; ++x)
      if ((row[x] & 0x00FFFFFF) != 0x00FF00FF) SetPixel(x, y, row[x]);
  }
}
