// TqvBitmap: the pixel store, the live-bitmap list, scans, pixel access and colour adjustments.
#include "graphics/bitmap/Bitmap.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "graphics/kernels/PixelRuns.h"
#include "platform/Graphics.h"
#include "platform/Lists.h"

// Live bitmaps

TList* LiveBitmaps = nullptr;

void RegisterBitmap(TqvBitmap* Bitmap)
{
  if (!LiveBitmaps) LiveBitmaps = new TList;
  if (LiveBitmaps->IndexOf(Bitmap) < 0) LiveBitmaps->Add(Bitmap);
}

void UnregisterBitmap(TqvBitmap* Bitmap)
{
  if (LiveBitmaps) LiveBitmaps->Remove(Bitmap);
}

TqvBitmap* FindBitmapByDC(HDC DC)
{
  if (!LiveBitmaps) return nullptr;
  for (int i = 0; i < LiveBitmaps->Count(); ++i) {
    auto* bitmap = static_cast<TqvBitmap*>(LiveBitmaps->Get(i));
    if (bitmap->DC == DC) return bitmap;
  }
  return nullptr;
}

void FreeLiveBitmaps()
{
  delete LiveBitmaps;
  LiveBitmaps = nullptr;
}

// Lifetime and the pixel store

TqvBitmap::TqvBitmap()
{
  BitmapInfo.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  BitmapInfo.bmiHeader.biPlanes = 1;
  BitmapInfo.bmiHeader.biBitCount = 32;
  BitmapInfo.bmiHeader.biCompression = BI_RGB;
}

TqvBitmap::~TqvBitmap()
{
  UnregisterBitmap(this);
  if (Canvas) Canvas->SetHandle(nullptr);
  delete Canvas;
  Canvas = nullptr;
  if (DC) DeleteDC(DC);
  if (Handle) DeleteObject(Handle);
  DC = nullptr;
  Handle = nullptr;
  Bits = nullptr;
}

void TqvBitmap::ReleaseStore()
{
  if (DC) {
    UnregisterBitmap(this);
    // The canvas must not go on drawing on a context that no longer exists.
    if (Canvas) Canvas->SetHandle(nullptr);
    DeleteDC(DC);
    DC = nullptr;
  }
  if (Handle) DeleteObject(Handle);
  Handle = nullptr;
  Bits = nullptr;
}

void TqvBitmap::SetSize(int32_t NewWidth, int32_t NewHeight)
{
  const int64_t w = std::llabs(NewWidth);
  const int64_t h = std::llabs(NewHeight);
  if (w == 0 || h == 0) return;
  // A bitmap that lost its store to a failed resize gets a new one even at its old size.
  if (w == Width && h == Height && Handle) return;

  ReleaseStore();
  // Pixel offsets are formed in 32 bits, so the whole image must stay below 2 GB. The pixel count
  // of two 32-bit sizes fits 64 bits; its byte count may not.
  if (w * h > INT32_MAX / int64_t(sizeof(TqvColor))) throw Exception("Can't allocate the DIB handle");

  BitmapInfo.bmiHeader.biWidth = int32_t(w);
  BitmapInfo.bmiHeader.biHeight = -int32_t(h);
  void* bits = nullptr;
  Handle = CreateDIBSection(nullptr, &BitmapInfo, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bits) {
    if (Handle) DeleteObject(Handle);
    Handle = nullptr;
    throw Exception("Can't allocate the DIB handle");
  }
  Bits = static_cast<TqvColor*>(bits);

  DC = CreateCompatibleDC(nullptr);
  if (!DC) {
    ReleaseStore();
    throw Exception("Can't create compatible DC");
  }
  if (!SelectObject(DC, Handle)) {
    ReleaseStore();
    throw Exception("Can't select an object into DC");
  }

  RegisterBitmap(this);
  if (Canvas) Canvas->SetHandle(DC);
  Width = int32_t(w);
  Height = int32_t(h);
}

void TqvBitmap::Clear(TqvColor Color)
{
  if (Bits) FillLongwordFunc(Bits, Width * Height, Color);
}

TCanvas* TqvBitmap::GetCanvas()
{
  if (!Canvas) {
    Canvas = new TCanvas;
    Canvas->SetHandle(DC);
  }
  return Canvas;
}

// Scans

void TqvBitmap::CheckingAlphaBlend()
{
  AlphaBlend = false;
  if (!Bits) return;
  for (const TqvColor* p = Bits, *end = Bits + Width * Height; p != end; ++p) {
    const uint32_t alpha = *p >> 24;
    if (alpha != 0 && alpha != 255) {
      AlphaBlend = true;
      return;
    }
  }
}

void TqvBitmap::CheckingAlphaBlend(const TRect&)
{
  CheckingAlphaBlend();
}

void TqvBitmap::CheckingTransparent(TqvColor Color)
{
  Transparent = false;
  if (!Bits) return;
  auto within5 = [](TqvColor a, TqvColor b, int shift) {
    return std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) < 6;
  };
  for (TqvColor* p = Bits, *end = Bits + Width * Height; p != end; ++p) {
    if (within5(*p, Color, 16) && within5(*p, Color, 8) && within5(*p, Color, 0)) {
      *p = qvTransparent;
      Transparent = true;
    }
  }
}

void TqvBitmap::CheckingTransparent(const TRect&, TqvColor Color)
{
  CheckingTransparent(Color);
}

// Alpha and pixels

void TqvBitmap::SetAlpha(uint8_t Alpha)
{
  if (Bits) FillAlphaFunc(Bits, Width * Height, Alpha);
}

void TqvBitmap::SetAlpha(uint8_t Alpha, const TRect& R)
{
  if (!Bits || R.Right == R.Left || R.Bottom == R.Top) return;
  const int32_t left = std::max(R.Left, 0);
  const int32_t top = std::max(R.Top, 0);
  const int32_t right = std::min(R.Right, Width);
  const int32_t bottom = std::min(R.Bottom, Height);
  if (right <= left || bottom <= top) return;
  FillAlphaRectFunc(Bits, Width, Height, left, top, right - 1, bottom - 1, Alpha);
}

TqvColor TqvBitmap::GetPixel(int32_t X, int32_t Y) const
{
  if (Bits && X >= 0 && X < Width && Y >= 0 && Y < Height) return *GetPixelPtr(X, Y);
  return 0;
}

void TqvBitmap::SetPixel(int32_t X, int32_t Y, TqvColor Color)
{
  if (Bits && X >= 0 && X < Width && Y >= 0 && Y < Height) *GetPixelPtr(X, Y) = Color;
}

// Colour adjustments

template <class TAdjust>
void TqvBitmap::AdjustColors(TAdjust Adjust)
{
  if (!Bits) return;
  for (TqvColor* p = Bits, *end = Bits + Width * Height; p != end; ++p) {
    const TqvColor alpha = *p & 0xFF000000;
    if (alpha != 0) *p = (Adjust(*p) & 0x00FFFFFF) | alpha;
  }
}

void TqvBitmap::ChangeBitmapBrightness(int32_t Amount)
{
  if (Amount != 0) AdjustColors([Amount](TqvColor c) { return ChangeBrightness(c, Amount); });
}

void TqvBitmap::ChangeBitmapSat(int32_t Amount)
{
  if (Amount != 0) AdjustColors([Amount](TqvColor c) { return ChangeSat(c, Amount); });
}

void TqvBitmap::ChangeBitmapHue(int32_t Amount)
{
  if (Amount != 0) AdjustColors([Amount](TqvColor c) { return ChangeHue(c, Amount); });
}

void TqvBitmap::SetBitmapHue(int32_t Hue)
{
  AdjustColors([Hue](TqvColor c) { return SetHue(c, Hue); });
}

void TqvBitmap::FlipHorz()
{
  if (!Bits) return;
  std::vector<TqvColor> row(static_cast<size_t>(Width));
  const size_t bytes = row.size() * sizeof(TqvColor);
  for (int32_t i = 0; i < Height / 2; ++i) {
    std::memcpy(row.data(), GetScanLine(i), bytes);
    std::memcpy(GetScanLine(i), GetScanLine(Height - 1 - i), bytes);
    std::memcpy(GetScanLine(Height - 1 - i), row.data(), bytes);
  }
}
