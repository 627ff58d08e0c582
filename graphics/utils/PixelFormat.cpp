#include "graphics/utils/PixelFormat.h"

#include <windows.h>

TPixelFormat CPixelFormat = pfCustom;

namespace {

// The bits per pixel of a bitmap in the device's own format: a device-independent bitmap made with
// the screen's depth, selected into a memory device context as a canvas would hold it. 0 when any
// step fails.
int ScreenBitmapBitCount()
{
  const HDC screen = GetDC(nullptr);
  const int depth = screen ? GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES) : 0;
  if (screen) ReleaseDC(nullptr, screen);

  struct {
    BITMAPINFOHEADER Header;
    RGBQUAD Colors[256];
  } info{};
  info.Header.biSize = sizeof(info.Header);
  info.Header.biWidth = 4;
  info.Header.biHeight = 4;
  info.Header.biPlanes = 1;
  info.Header.biBitCount = static_cast<WORD>(depth);
  info.Header.biCompression = BI_RGB;
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info),
                                          DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return 0;

  int bitCount = 0;
  if (const HDC dc = CreateCompatibleDC(nullptr)) {
    const HGDIOBJ previous = SelectObject(dc, bitmap);
    DIBSECTION section{};
    const HGDIOBJ selected = GetCurrentObject(dc, OBJ_BITMAP);
    if (selected && GetObjectA(selected, sizeof(section), &section) == sizeof(section))
      bitCount = section.dsBmih.biBitCount;
    SelectObject(dc, previous);
    DeleteDC(dc);
  }
  DeleteObject(bitmap);
  return bitCount;
}

}  // namespace

TPixelFormat PixelFormatOfBitCount(int bitCount)
{
  switch (bitCount) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 15: return pf15bit;
    case 16: return pf16bit;
    case 24: return pf24bit;
    case 32: return pf32bit;
    default: return pfCustom;
  }
}

TPixelFormat GetPixelFormat()
{
  CPixelFormat = PixelFormatOfBitCount(ScreenBitmapBitCount());
  return CPixelFormat;
}
