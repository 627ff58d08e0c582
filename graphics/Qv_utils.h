// Qv_utils: services the rest of the library shares.
#pragma once

#include <windows.h>

#include <span>

#include "graphics/utils/Keyboard.h"
#include "graphics/utils/PixelFormat.h"
#include "graphics/utils/Processor.h"
#include "graphics/utils/Rects.h"
#include "graphics/utils/StreamStrings.h"
#include "graphics/utils/Tokens.h"
#include "platform/SysUtils.h"
#include "platform/Types.h"
#include "platform/WideString.h"

// General utilities - windows

// The class name and the text of a window, up to 999 characters; empty when the system has none.
AnsiString GetWndClassName(HWND Wnd);
AnsiString GetWndText(HWND Wnd);

// The window that CaptureMouse gave the mouse capture to; 0 outside a capture.
extern HWND CaptureHandle;

// Nested mouse capture: the outermost CaptureMouse captures, the matching EndCapture releases,
// unless another window has taken the capture in between. Calls come in pairs; an EndCapture
// without a CaptureMouse does nothing.
void CaptureMouse(HWND Wnd);
void EndCapture();

// General utilities - text

// Text shortened to fit MaxWidth pixels on DC: the longest start that fits together with "...",
// followed by "...". Text that fits is returned unchanged.
WideString FormatStr(HDC DC, const WideString& Text, int MaxWidth);

// 8-bit text of a code page as wide text. A code page the system lacks converts with the system's
// ANSI code page; text that cannot be converted becomes one "?" per character.
WideString StringToWideString(UINT CodePage, const AnsiString& S);

// General utilities - geometry

// Whether P lies inside the polygon, filled with the winding rule.
bool PointInPolygon(const TPoint& P, std::span<const TPoint> Points);

// General utilities - unit

// The type of the unit's version text.
using TqvUtilsVersion = AnsiString;

// A line that names the unit and its version.
extern const char* volatile SigUtils;

// Unit start-up, once, before the library's bitmap kernels are chosen: finds the screen's pixel
// format and the processor's MMX support. Shut-down has nothing to release.
void UtilsStartup();
void UtilsShutdown();
