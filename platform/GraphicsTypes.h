// Graphics enumerations shared by the platform's bitmap and the library. Pure: no Windows header.
#pragma once

// How a bitmap stores its pixels. pfDevice follows the screen; pfCustom is any layout the others do
// not name.
enum TPixelFormat {
  pfDevice,
  pf1bit,
  pf4bit,
  pf8bit,
  pf15bit,
  pf16bit,
  pf24bit,
  pf32bit,
  pfCustom
};
