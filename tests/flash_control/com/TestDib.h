// A DIB section selected into a memory DC, for drawing tests.
#pragma once

#include <windows.h>

#include <cstdint>

namespace flash_control_test {

// A DIB section selected into a memory DC. Pixels read as 0xAARRGGBB.
class TDib {
public:
  TDib(int width, int height, int bits = 32, bool topDown = true, uint32_t fill = 0)
    : FWidth(width), FHeight(height), FBitCount(bits), FTopDown(topDown)
  {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = topDown ? -height : height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = WORD(bits);
    info.bmiHeader.biCompression = BI_RGB;
    FBitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &FBits, nullptr, 0);
    FDc = CreateCompatibleDC(nullptr);
    FOld = SelectObject(FDc, FBitmap);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) Set(x, y, fill);
  }

  ~TDib()
  {
    SelectObject(FDc, FOld);
    DeleteDC(FDc);
    DeleteObject(FBitmap);
  }

  HDC Dc() const { return FDc; }

  uint32_t Pixel(int x, int y) const
  {
    GdiFlush();
    const uint8_t* p = Address(x, y);
    return FBitCount == 32 ? uint32_t(p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24)
                           : uint32_t(p[0] | p[1] << 8 | p[2] << 16);
  }

  void Set(int x, int y, uint32_t value)
  {
    uint8_t* p = Address(x, y);
    for (int i = 0; i < FBitCount / 8; ++i) p[i] = uint8_t(value >> (8 * i));
  }

private:
  uint8_t* Address(int x, int y) const
  {
    const int stride = (FWidth * FBitCount / 8 + 3) & ~3;
    const int row = FTopDown ? y : FHeight - 1 - y;
    return static_cast<uint8_t*>(FBits) + row * stride + x * FBitCount / 8;
  }

  int FWidth, FHeight, FBitCount;
  bool FTopDown;
  void* FBits = nullptr;
  HBITMAP FBitmap;
  HDC FDc;
  HGDIOBJ FOld;
};

}  // namespace flash_control_test
