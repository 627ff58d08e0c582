#include "flash_control/com/DeviceTarget.h"

namespace flash_control {

namespace {

// The 32-bit DIB section selected into a memory context, if any.
bool SelectedDib(HDC dc, DIBSECTION& dib)
{
  if (GetObjectType(dc) != OBJ_MEMDC) return false;
  HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);
  if (!bitmap || GetObjectW(bitmap, sizeof dib, &dib) != sizeof dib) return false;
  if (dib.dsBm.bmBitsPixel != 32 || !dib.dsBm.bmBits) return false;
  if (dib.dsBmih.biCompression == BI_RGB) return true;
  return dib.dsBmih.biCompression == BI_BITFIELDS && dib.dsBitfields[0] == 0xFF0000 &&
         dib.dsBitfields[1] == 0xFF00 && dib.dsBitfields[2] == 0xFF;
}

// Makes logical coordinates device pixels until the returned state is restored.
int SaveDeviceMapping(HDC dc)
{
  const int saved = SaveDC(dc);
  if (GetGraphicsMode(dc) == GM_ADVANCED) ModifyWorldTransform(dc, nullptr, MWT_IDENTITY);
  SetMapMode(dc, MM_TEXT);
  SetWindowOrgEx(dc, 0, 0, nullptr);
  SetViewportOrgEx(dc, 0, 0, nullptr);
  return saved;
}

// Copies between the context and a plain memory context in device pixels, whatever mapping the
// caller set up.
void DeviceBlt(HDC target, int x, int y, int width, int height, HDC source, int sx, int sy,
               HDC deviceContext)
{
  const int saved = SaveDeviceMapping(deviceContext);
  BitBlt(target, x, y, width, height, source, sx, sy, SRCCOPY);
  RestoreDC(deviceContext, saved);
}

// Whether the first row in memory is the top row. The section's header does not say (its height
// reads positive either way), so one pixel is set through GDI at the top and looked for; the
// memory is put back as it was.
bool FirstRowIsTop(HDC dc, const DIBSECTION& dib)
{
  if (dib.dsBm.bmHeight < 2) return true;
  auto* first = static_cast<uint32_t*>(dib.dsBm.bmBits);
  auto* last =
    reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(dib.dsBm.bmBits) +
                                ptrdiff_t(dib.dsBm.bmHeight - 1) * dib.dsBm.bmWidthBytes);
  GdiFlush();
  const uint32_t savedFirst = *first;
  const uint32_t savedLast = *last;
  // 0x00RRGGBB as the pixel stores it; one of three differs from both pixels.
  uint32_t probe = 0x010203;
  while (probe == (savedFirst & 0xFFFFFF) || probe == (savedLast & 0xFFFFFF)) probe += 0x030303;

  const int saved = SaveDeviceMapping(dc);
  SelectClipRgn(dc, nullptr);
  // SetPixelV mixes with the context's mix mode like any pen.
  SetROP2(dc, R2_COPYPEN);
  SetPixelV(dc, 0, 0, RGB(probe >> 16, (probe >> 8) & 0xFF, probe & 0xFF));
  GdiFlush();
  const bool top = (*first & 0xFFFFFF) == probe;
  RestoreDC(dc, saved);
  *first = savedFirst;
  *last = savedLast;
  return top;
}

}  // namespace

TDeviceTarget::TDeviceTarget(HDC dc, const RECT& area, bool rectangularClip, bool readBack)
  : FDc(dc), FArea(area)
{
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;

  DIBSECTION dib{};
  const bool hasDib = SelectedDib(dc, dib);
  const RECT image{0, 0, dib.dsBm.bmWidth, dib.dsBm.bmHeight};
  const bool inside = hasDib && area.left >= image.left && area.top >= image.top &&
                      area.right <= image.right && area.bottom <= image.bottom;
  if (!(hasDib && rectangularClip && inside)) {
    OpenTemporary(readBack, hasDib);
    return;
  }
  auto* bits = static_cast<uint8_t*>(dib.dsBm.bmBits);
  const ptrdiff_t stride = dib.dsBm.bmWidthBytes;
  const bool topDown = FirstRowIsTop(dc, dib);
  const int row = topDown ? area.top : dib.dsBm.bmHeight - 1 - area.top;
  // Pending GDI drawing must reach the bits before they are written directly.
  GdiFlush();
  FPixels = {bits + row * stride + area.left * 4, width, height, topDown ? stride : -stride};
}

TDeviceTarget::~TDeviceTarget()
{
  if (FTempDc) {
    SelectObject(FTempDc, FOldBitmap);
    DeleteDC(FTempDc);
  }
  if (FTempBitmap) DeleteObject(FTempBitmap);
}

void TDeviceTarget::OpenTemporary(bool readBack, bool contextHasAlpha)
{
  const int width = FArea.right - FArea.left;
  const int height = FArea.bottom - FArea.top;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  FTempBitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  FTempDc = FTempBitmap ? CreateCompatibleDC(FDc) : nullptr;
  if (!FTempDc) return;
  FOldBitmap = SelectObject(FTempDc, FTempBitmap);
  FPixels = {static_cast<uint8_t*>(bits), width, height, ptrdiff_t(width) * 4};
  if (!readBack) return;

  DeviceBlt(FTempDc, 0, 0, width, height, FDc, FArea.left, FArea.top, FDc);
  GdiFlush();
  if (contextHasAlpha) return;
  // What lies under the control on a context without alpha is opaque.
  auto* pixel = static_cast<uint8_t*>(bits);
  for (int i = 0; i < width * height; ++i, pixel += 4) pixel[3] = 255;
}

void TDeviceTarget::Commit()
{
  if (!FTempDc) return;
  DeviceBlt(FDc, FArea.left, FArea.top, FPixels.Width, FPixels.Height, FTempDc, 0, 0, FDc);
}

}  // namespace flash_control
