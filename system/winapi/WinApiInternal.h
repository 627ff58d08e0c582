// Internal to Qv_winapi: the pieces its start-up and shut-down are built from, and the decisions it
// makes from what it found, each taking the findings as input so they can be examined with any.
#pragma once

#include <windows.h>

#include "platform/Types.h"
#include "system/Qv_winapi.h"

namespace Qv_winapi {

// Capabilities

struct TCapabilities {
  bool WinNT = false;
  bool WinNT4 = false;
  bool Win2k = false;
  bool WinXP = false;
  bool WinVista = false;
  bool MsImg = false;
};

// The unit's flags, read by IsWinNT and its siblings.
extern TCapabilities Capabilities;

// What GetVersionExA reported; Known is false when the call failed.
struct TOsVersion {
  bool Known = false;
  DWORD PlatformId = 0;
  DWORD MajorVersion = 0;
};

// Sets the NT and NT4 flags from the version; an unknown version sets neither.
void ApplyVersion(TCapabilities& caps, const TOsVersion& version);

// Whether "msimg32.dll" is worth loading: never on a major version 4, and otherwise only on NT or
// when layered windows or themes were found.
bool WantsMsImg(const TCapabilities& caps);

// Themes

// The theme library's lock, created first at start-up and destroyed last at shut-down.
void CreateThemeLock();
void DestroyThemeLock();

// Loads "uxtheme.dll" on first use and counts a reference; refreshes UseThemeVar. Returns whether
// the library is loaded.
bool AcquireThemeApi();
// Drops a reference; at zero unloads the library and clears the theme functions.
void ReleaseThemeApi();
// Drops every outstanding reference.
void ReleaseAllThemeApi();

// Themes are in use when the library is loaded and both the application and the system say so.
// IsThemeActive is not asked when IsAppThemed says no.
bool ThemesInUse(bool libraryLoaded, TIsAppThemed isAppThemed, TIsThemeActive isThemeActive);

// Monitors

using TMonitorFromRect = HMONITOR(WINAPI*)(const RECT* lprc, DWORD dwFlags);
using TMonitorFromPoint = HMONITOR(WINAPI*)(POINT pt, DWORD dwFlags);
using TMonitorFromWindow = HMONITOR(WINAPI*)(HWND hwnd, DWORD dwFlags);
using TGetMonitorInfoA = BOOL(WINAPI*)(HMONITOR hMonitor, MONITORINFO* lpmi);

struct TMonitorApi {
  TMonitorFromRect MonitorFromRect = nullptr;
  TMonitorFromPoint MonitorFromPoint = nullptr;
  TMonitorFromWindow MonitorFromWindow = nullptr;
  TGetMonitorInfoA GetMonitorInfoA = nullptr;
};

// Looks the four functions up in the loaded "user32.dll"; shut-down clears them.
void LoadMonitorApi();
void ClearMonitorApi();

// The monitor rectangles as they follow from the functions found and the number of monitors the
// system reports (GetSystemMetrics(SM_CMONITORS)).
TRect RectOfMonitorContainingRect(const TMonitorApi& api, int monitorCount, const TRect& R,
                                  bool WorkArea);
TRect RectOfMonitorContainingPoint(const TMonitorApi& api, int monitorCount, const TPoint& P,
                                   bool WorkArea);
TRect RectOfMonitorContainingWindow(const TMonitorApi& api, int monitorCount, HWND Wnd,
                                    bool WorkArea);

// Scroll bars

using TGetScrollBarInfo = BOOL(WINAPI*)(HWND hwnd, LONG idObject, SCROLLBARINFO* psbi);

// Looks "GetScrollBarInfo" up in the loaded "user32.dll"; shut-down clears it.
void LoadScrollBarApi();
void ClearScrollBarApi();

BOOL ScrollBarInfoThrough(TGetScrollBarInfo getScrollBarInfo, HWND Wnd, LONG idObject,
                          SCROLLBARINFO& Info);

// Lookup

// The address of an export as the pointer type of the variable that receives it; nullptr when the
// library lacks it.
template <class F>
void LookUp(HMODULE library, const char* name, F& function)
{
  function = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace Qv_winapi
