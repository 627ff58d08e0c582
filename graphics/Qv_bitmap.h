// Qv_bitmap: the library's 32-bit bitmap, its colour model, its kernel table and its drawing
// operations.
#pragma once

#include "graphics/bitmap/Bitmap.h"
#include "graphics/bitmap/BitmapKernels.h"
#include "graphics/kernels/ColorModel.h"
#include "graphics/kernels/PixelRuns.h"
