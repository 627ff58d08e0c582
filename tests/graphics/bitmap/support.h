// Small helpers shared by the bitmap tests.
#pragma once

#include <vector>

#include "graphics/Qv_bitmap.h"

// A bitmap of Width x Height whose pixels are Pixels, rows top first.
inline void Fill(TqvBitmap& Bitmap, int Width, int Height, const std::vector<TqvColor>& Pixels)
{
  Bitmap.SetSize(Width, Height);
  for (int i = 0; i < Width * Height; ++i) Bitmap.Bits[i] = Pixels[size_t(i)];
}

// Pixel value i + 1 with alpha 255 at index i: every pixel different and opaque.
inline void FillNumbered(TqvBitmap& Bitmap, int Width, int Height)
{
  Bitmap.SetSize(Width, Height);
  for (int i = 0; i < Width * Height; ++i) Bitmap.Bits[i] = 0xFF000000u | TqvColor(i + 1);
}

inline std::vector<TqvColor> PixelsOf(const TqvBitmap& Bitmap)
{
  return {Bitmap.Bits, Bitmap.Bits + Bitmap.Width * Bitmap.Height};
}

inline std::vector<TqvColor> Row(const TqvBitmap& Bitmap, int Y)
{
  return {Bitmap.GetScanLine(Y), Bitmap.GetScanLine(Y) + Bitmap.Width};
}

// A device-independent section of 32 bits, bottom-up, selected into its own memory context.
class TForeignDib {
public:
  TForeignDib(int Width, int Height) : Width(Width), Height(Height)
  {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = Width;
    info.bmiHeader.biHeight = Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    Section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    Bits = static_cast<TqvColor*>(bits);
    DC = CreateCompatibleDC(nullptr);
    Old = SelectObject(DC, Section);
  }
  ~TForeignDib()
  {
    SelectObject(DC, Old);
    DeleteDC(DC);
    DeleteObject(Section);
  }
  TForeignDib(const TForeignDib&) = delete;
  TForeignDib& operator=(const TForeignDib&) = delete;

  // Picture row Y (0 is the top) lies Height - 1 - Y rows into memory.
  TqvColor At(int X, int Y) const { return Bits[(Height - 1 - Y) * Width + X]; }

  int Width;
  int Height;
  HBITMAP Section;
  TqvColor* Bits;
  HDC DC;
  HGDIOBJ Old;
};
