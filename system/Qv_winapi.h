// Qv_winapi: system functions that only some Windows versions offer, looked up by name at
// start-up so that the program starts on every version, and the capability tests derived from what
// was found.
//
// The optional functions carry the names of the system exports they stand for. The namespace keeps
// them apart from the system headers' own declarations of the same names, so callers write
// Qv_winapi::SetLayeredWindowAttributes, and so on. A pointer that is nullptr means the running
// system lacks the function: test the pointer or the matching capability before calling.
#pragma once

#include <windows.h>
#include <uxtheme.h>

#include "platform/Types.h"

namespace Qv_winapi {

// Enumerations of the optional functions' arguments.

enum THEMESIZE { TS_MIN, TS_TRUE, TS_DRAW };

enum PROPERTYORIGIN { PO_STATE, PO_PART, PO_CLASS, PO_GLOBAL, PO_NOTFOUND };

enum DWMWINDOWATTRIBUTE {
  DWMWA_NULL,
  DWMWA_NCRENDERING_ENABLED,
  DWMWA_NCRENDERING_POLICY,
  DWMWA_TRANSITIONS_FORCEDISABLED,
  DWMWA_ALLOW_NCPAINT,
  DWMWA_CAPTION_BUTTON_BOUNDS,
  DWMWA_NONCLIENT_RTL_LAYOUT,
  DWMWA_FORCE_ICONIC_REPRESENTATION,
  DWMWA_FLIP3D_POLICY,
  DWMWA_LAST
};

// Signatures of the optional functions, as the system exports them.

using TSetLayeredWindowAttributes = BOOL(WINAPI*)(HWND hwnd, COLORREF crKey, BYTE bAlpha,
                                                  DWORD dwFlags);
using TUpdateLayeredWindow = BOOL(WINAPI*)(HWND hWnd, HDC hdcDst, POINT* pptDst, SIZE* psize,
                                           HDC hdcSrc, POINT* pptSrc, COLORREF crKey,
                                           BLENDFUNCTION* pblend, DWORD dwFlags);
using TTransparentBlt = BOOL(WINAPI*)(HDC hdcDest, int xDest, int yDest, int wDest, int hDest,
                                      HDC hdcSrc, int xSrc, int ySrc, int wSrc, int hSrc,
                                      UINT crTransparent);
using TDwmIsCompositionEnabled = HRESULT(WINAPI*)(BOOL* pfEnabled);
using TDwmSetWindowAttribute = HRESULT(WINAPI*)(HWND hwnd, DWORD dwAttribute,
                                                LPCVOID pvAttribute, DWORD cbAttribute);

using TOpenThemeData = HTHEME(WINAPI*)(HWND hwnd, LPCWSTR pszClassList);
using TCloseThemeData = HRESULT(WINAPI*)(HTHEME hTheme);
using TDrawThemeBackground = HRESULT(WINAPI*)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId,
                                              const RECT* pRect, const RECT* pClipRect);
using TDrawThemeText = HRESULT(WINAPI*)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId,
                                        LPCWSTR pszText, int cchText, DWORD dwTextFlags,
                                        DWORD dwTextFlags2, const RECT* pRect);
using TGetThemeBackgroundContentRect = HRESULT(WINAPI*)(HTHEME hTheme, HDC hdc, int iPartId,
                                                        int iStateId, const RECT* pBoundingRect,
                                                        RECT* pContentRect);
using TGetThemeBackgroundExtent = HRESULT(WINAPI*)(HTHEME hTheme, HDC hdc, int iPartId,
                                                   int iStateId, const RECT* pContentRect,
                                                   RECT* pExtentRect);
using TGetThemePartSize = HRESULT(WINAPI*)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId,
                                           const RECT* prc, THEMESIZE eSize, SIZE* psz);
using TGetThemeTextExtent = HRESULT(WINAPI*)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId,
                                             LPCWSTR pszText, int cchCharCount, DWORD dwTextFlags,
                                             const RECT* pBoundingRect, RECT* pExtentRect);
using TGetThemeTextMetrics = HRESULT(WINAPI*)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId,
                                              TEXTMETRICW* ptm);
using TGetThemeBackgroundRegion = HRESULT(WINAPI*)(HTHEME hTheme, HDC hdc, int iPartId,
                                                   int iStateId, const RECT* pRect,
                                                   HRGN* pRegion);
using THitTestThemeBackground = HRESULT(WINAPI*)(HTHEME hTheme, HDC hdc, int iPartId,
                                                 int iStateId, DWORD dwOptions, const RECT* pRect,
                                                 HRGN hrgn, POINT ptTest, WORD* pwHitTestCode);
using TDrawThemeEdge = HRESULT(WINAPI*)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId,
                                        const RECT* pDestRect, UINT uEdge, UINT uFlags,
                                        RECT* pContentRect);
using TDrawThemeIcon = HRESULT(WINAPI*)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId,
                                        const RECT* pRect, HIMAGELIST himl, int iImageIndex);
using TIsThemePartDefined = BOOL(WINAPI*)(HTHEME hTheme, int iPartId, int iStateId);
using TIsThemeBackgroundPartiallyTransparent = BOOL(WINAPI*)(HTHEME hTheme, int iPartId,
                                                             int iStateId);
using TGetThemeColor = HRESULT(WINAPI*)(HTHEME hTheme, int iPartId, int iStateId, int iPropId,
                                        COLORREF* pColor);
using TGetThemeMetric = HRESULT(WINAPI*)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId,
                                         int iPropId, int* piVal);
using TGetThemeString = HRESULT(WINAPI*)(HTHEME hTheme, int iPartId, int iStateId, int iPropId,
                                         LPWSTR pszBuff, int cchMaxBuffChars);
using TGetThemeBool = HRESULT(WINAPI*)(HTHEME hTheme, int iPartId, int iStateId, int iPropId,
                                       BOOL* pfVal);
using TGetThemeInt = HRESULT(WINAPI*)(HTHEME hTheme, int iPartId, int iStateId, int iPropId,
                                      int* piVal);
using TGetThemeEnumValue = HRESULT(WINAPI*)(HTHEME hTheme, int iPartId, int iStateId,
                                            int iPropId, int* piVal);
using TGetThemePosition = HRESULT(WINAPI*)(HTHEME hTheme, int iPartId, int iStateId, int iPropId,
                                           POINT* pPoint);
using TGetThemeFont = HRESULT(WINAPI*)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId,
                                       int iPropId, LOGFONTW* pFont);
using TGetThemeRect = HRESULT(WINAPI*)(HTHEME hTheme, int iPartId, int iStateId, int iPropId,
                                       RECT* pRect);
using TGetThemeMargins = HRESULT(WINAPI*)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId,
                                          int iPropId, const RECT* prc, MARGINS* pMargins);
using TGetThemeIntList = HRESULT(WINAPI*)(HTHEME hTheme, int iPartId, int iStateId, int iPropId,
                                          INTLIST* pIntList);
using TGetThemePropertyOrigin = HRESULT(WINAPI*)(HTHEME hTheme, int iPartId, int iStateId,
                                                 int iPropId, PROPERTYORIGIN* pOrigin);
using TSetWindowTheme = HRESULT(WINAPI*)(HWND hwnd, LPCWSTR pszSubAppName, LPCWSTR pszSubIdList);
using TGetThemeFilename = HRESULT(WINAPI*)(HTHEME hTheme, int iPartId, int iStateId, int iPropId,
                                           LPWSTR pszThemeFileName, int cchMaxBuffChars);
using TGetThemeSysColor = COLORREF(WINAPI*)(HTHEME hTheme, int iColorId);
using TGetThemeSysColorBrush = HBRUSH(WINAPI*)(HTHEME hTheme, int iColorId);
using TGetThemeSysBool = BOOL(WINAPI*)(HTHEME hTheme, int iBoolId);
using TGetThemeSysSize = int(WINAPI*)(HTHEME hTheme, int iSizeId);
using TGetThemeSysFont = HRESULT(WINAPI*)(HTHEME hTheme, int iFontId, LOGFONTW* plf);
using TGetThemeSysString = HRESULT(WINAPI*)(HTHEME hTheme, int iStringId, LPWSTR pszStringBuff,
                                            int cchMaxStringChars);
using TGetThemeSysInt = HRESULT(WINAPI*)(HTHEME hTheme, int iIntId, int* piValue);
using TIsThemeActive = BOOL(WINAPI*)();
using TIsAppThemed = BOOL(WINAPI*)();
using TGetWindowTheme = HTHEME(WINAPI*)(HWND hwnd);
using TEnableThemeDialogTexture = HRESULT(WINAPI*)(HWND hwnd, DWORD dwFlags);
using TIsThemeDialogTextureEnabled = BOOL(WINAPI*)(HWND hwnd);
using TGetThemeAppProperties = DWORD(WINAPI*)();
using TSetThemeAppProperties = void(WINAPI*)(DWORD dwFlags);
using TGetCurrentThemeName = HRESULT(WINAPI*)(LPWSTR pszThemeFileName, int cchMaxNameChars,
                                              LPWSTR pszColorBuff, int cchMaxColorChars,
                                              LPWSTR pszSizeBuff, int cchMaxSizeChars);
using TGetThemeDocumentationProperty = HRESULT(WINAPI*)(LPCWSTR pszThemeName,
                                                        LPCWSTR pszPropertyName,
                                                        LPWSTR pszValueBuff, int cchMaxValChars);
using TDrawThemeParentBackground = HRESULT(WINAPI*)(HWND hwnd, HDC hdc, const RECT* prc);
using TEnableTheming = HRESULT(WINAPI*)(BOOL fEnable);

// The theme functions of "uxtheme.dll", in the order in which they are looked up and cleared. Each
// variable's type is T followed by its name.
#define QV_THEME_FUNCTIONS(X)                                                                      \
  X(OpenThemeData) X(CloseThemeData) X(DrawThemeBackground) X(DrawThemeText)                      \
  X(GetThemeBackgroundContentRect) X(GetThemeBackgroundExtent) X(GetThemePartSize)                 \
  X(GetThemeTextExtent) X(GetThemeTextMetrics) X(GetThemeBackgroundRegion)                         \
  X(HitTestThemeBackground) X(DrawThemeEdge) X(DrawThemeIcon) X(IsThemePartDefined)               \
  X(IsThemeBackgroundPartiallyTransparent) X(GetThemeColor) X(GetThemeMetric) X(GetThemeString)    \
  X(GetThemeBool) X(GetThemeInt) X(GetThemeEnumValue) X(GetThemePosition) X(GetThemeFont)          \
  X(GetThemeRect) X(GetThemeMargins) X(GetThemeIntList) X(GetThemePropertyOrigin)                  \
  X(SetWindowTheme) X(GetThemeFilename) X(GetThemeSysColor) X(GetThemeSysColorBrush)               \
  X(GetThemeSysBool) X(GetThemeSysSize) X(GetThemeSysFont) X(GetThemeSysString)                    \
  X(GetThemeSysInt) X(IsThemeActive) X(IsAppThemed) X(GetWindowTheme) X(EnableThemeDialogTexture) \
  X(IsThemeDialogTextureEnabled) X(GetThemeAppProperties) X(SetThemeAppProperties)                 \
  X(GetCurrentThemeName) X(GetThemeDocumentationProperty) X(DrawThemeParentBackground)             \
  X(EnableTheming)

// The optional functions.

// "user32.dll"
extern TSetLayeredWindowAttributes SetLayeredWindowAttributes;
extern TUpdateLayeredWindow UpdateLayeredWindow;
// "msimg32.dll", export "TransparentBlt"
extern TTransparentBlt TransparentBltFunc;
// "dwmapi.dll"
extern TDwmIsCompositionEnabled DwmIsCompositionEnabled;
extern TDwmSetWindowAttribute DwmSetWindowAttribute;
// "uxtheme.dll": set while the theme library is loaded.
#define QV_DECLARE_THEME_FUNCTION(name) extern T##name name;
QV_THEME_FUNCTIONS(QV_DECLARE_THEME_FUNCTION)
#undef QV_DECLARE_THEME_FUNCTION

// Capability tests

bool IsWinNT();     // the platform is Windows NT
bool IsWinNT4();    // the major version is 4 (NT 4, and equally 95, 98 and Me)
bool IsWin2k();     // "user32.dll" exports "SetLayeredWindowAttributes"
bool IsWinXP();     // "uxtheme.dll" was loaded
bool IsWinVista();  // "dwmapi.dll" was loaded
bool IsMsImg();     // "msimg32.dll" was loaded

// Themes

// The cached answer of UseThemesSlow.
extern bool UseThemeVar;
// Asks the system now whether visual themes are in use, and caches the answer in UseThemeVar.
bool UseThemesSlow();
// The cached answer, without a system call.
bool UseThemes();

// Monitors
// Each returns a rectangle in screen coordinates: the monitor's work area (what the task bar and
// docked bars leave free) when WorkArea is true, else its whole rectangle. Without several monitors
// or the multi-monitor functions, the answer is the primary monitor's.

TRect GetRectOfPrimaryMonitor(bool WorkArea);
TRect GetRectOfMonitorContainingRect(const TRect& R, bool WorkArea);
TRect GetRectOfMonitorContainingPoint(const TPoint& P, bool WorkArea);
TRect GetRectOfMonitorContainingWindow(HWND Wnd, bool WorkArea);

// Scroll bars

// GetScrollBarInfo where the system has it. Without it: marks the scroll bar invisible (the first
// state only; the rest of Info is left alone) and returns FALSE.
BOOL MyGetScrollBarInfo(HWND Wnd, LONG idObject, SCROLLBARINFO& Info);

// A line that names the unit and its version.
extern const char* volatile SigWinApi;

// Unit start-up and shut-down, each called once, on the main thread: start-up before anything
// else of the unit is used, shut-down after its last use.
void Startup();
void Shutdown();

}  // namespace Qv_winapi
