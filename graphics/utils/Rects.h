// Rectangle arithmetic of Qv_utils. Pure: the pixel kernels use it too. Rectangles exclude their
// right and bottom edges.
#pragma once

#include <cstdint>

#include "platform/Types.h"

inline int32_t RectWidth(const TRect& R) { return R.Right - R.Left; }
inline int32_t RectHeight(const TRect& R) { return R.Bottom - R.Top; }

// True when the width or the height is 0 or less.
inline bool IsRectEmpty(const TRect& R) { return RectWidth(R) <= 0 || RectHeight(R) <= 0; }

// A positive Delta grows the rectangle on all four sides.
inline TRect RectOffset(const TRect& R, int32_t Delta)
{
  return {R.Left - Delta, R.Top - Delta, R.Right + Delta, R.Bottom + Delta};
}

// Touching edges count as inside.
inline bool RectInRect(const TRect& Inner, const TRect& Outer)
{
  return Inner.Left >= Outer.Left && Inner.Top >= Outer.Top && Inner.Right <= Outer.Right &&
         Inner.Bottom <= Outer.Bottom;
}

inline bool CompareRect(const TRect& A, const TRect& B) { return A == B; }

// Move R, keeping its size, to Bounds' top-left corner and then centre it horizontally, vertically
// or both within Bounds (the half of the size difference truncated towards zero). R is changed in
// place and returned.
TRect RectHCenter(TRect& R, const TRect& Bounds);
TRect RectVCenter(TRect& R, const TRect& Bounds);
TRect RectCenter(TRect& R, const TRect& Bounds);

// R shrunk by the four margins of Margins (Left, Top, Right, Bottom). When R is too narrow for the
// left and right margins they are scaled in proportion to fit; otherwise, when it is too low for the
// top and bottom ones, those are. Only one direction is ever scaled.
TRect MarginRect(const TRect& R, const TRect& Margins);
