// The pixels of a device-context area, for the control to draw into: the context's own 32-bit DIB
// section when it holds one and clips to a rectangle, otherwise a temporary 32-bit DIB that is
// read from the context first (when asked) and copied back by Commit.
#pragma once

#include <windows.h>

#include "flash_control/swf/raster/PixelView.h"

namespace flash_control {

class TDeviceTarget {
public:
  // `area` in device coordinates, already inside the context's clip box; `rectangularClip` tells
  // whether the clip region is that box. `readBack` copies the context's pixels into a temporary
  // DIB; pixels of a context without alpha read back opaque.
  TDeviceTarget(HDC dc, const RECT& area, bool rectangularClip, bool readBack);
  ~TDeviceTarget();
  TDeviceTarget(const TDeviceTarget&) = delete;
  TDeviceTarget& operator=(const TDeviceTarget&) = delete;

  bool Valid() const { return FPixels.FirstRow != nullptr; }
  // Pixel (0, 0) is the area's top-left corner.
  const swf::PixelView& Pixels() const { return FPixels; }
  bool Direct() const { return FTempBitmap == nullptr; }

  // Copies a temporary DIB back into the context; nothing to do when drawing went straight in.
  void Commit();

private:
  void OpenTemporary(bool readBack, bool contextHasAlpha);

  HDC FDc;
  RECT FArea;
  swf::PixelView FPixels;
  HDC FTempDc = nullptr;
  HBITMAP FTempBitmap = nullptr;
  HGDIOBJ FOldBitmap = nullptr;
};

}  // namespace flash_control
