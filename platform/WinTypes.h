// Conversions between the platform's geometry records and the system's RECT and POINT. They copy by
// value: the field types differ (int32_t against LONG), so pointer casts would break type aliasing.
#pragma once

#include <windows.h>

#include "platform/Types.h"

inline RECT ToRECT(const TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }
inline TRect ToTRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
inline POINT ToPOINT(const TPoint& p) { return {p.X, p.Y}; }
inline TPoint ToTPoint(const POINT& p) { return {p.x, p.y}; }
