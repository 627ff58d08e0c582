// The screen's pixel format, in Qv_utils.
#pragma once

#include "platform/GraphicsTypes.h"

// The answer of the last GetPixelFormat; start-up sets it.
extern TPixelFormat CPixelFormat;

// The pixel format of a bitmap made in the screen's default format, stored in CPixelFormat;
// pfCustom when it cannot be examined.
TPixelFormat GetPixelFormat();

// The pixel format of a bit count; pfCustom for counts without one.
TPixelFormat PixelFormatOfBitCount(int bitCount);
