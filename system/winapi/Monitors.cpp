// Qv_winapi - monitor rectangles.
#include "platform/WinTypes.h"
#include "system/winapi/WinApiInternal.h"

namespace Qv_winapi {

namespace {

TMonitorApi MonitorApi;

// Several monitors and the functions to tell them apart. MonitorFromWindow is not part of this
// test; the window variant checks it on its own.
bool MultiMonitorUsable(const TMonitorApi& api, int monitorCount)
{
  return monitorCount != 0 && monitorCount != 1 && api.MonitorFromRect && api.MonitorFromPoint &&
         api.GetMonitorInfoA;
}

TRect RectOfMonitor(const TMonitorApi& api, HMONITOR monitor, bool WorkArea)
{
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!api.GetMonitorInfoA(monitor, &info)) return GetRectOfPrimaryMonitor(WorkArea);
  return ToTRect(WorkArea ? info.rcWork : info.rcMonitor);
}

}  // namespace

void LoadMonitorApi()
{
  const HMODULE user32 = GetModuleHandleA("user32.dll");
  if (!user32) return;
  LookUp(user32, "MonitorFromRect", MonitorApi.MonitorFromRect);
  LookUp(user32, "MonitorFromPoint", MonitorApi.MonitorFromPoint);
  LookUp(user32, "MonitorFromWindow", MonitorApi.MonitorFromWindow);
  LookUp(user32, "GetMonitorInfoA", MonitorApi.GetMonitorInfoA);
}

void ClearMonitorApi() { MonitorApi = {}; }

TRect RectOfMonitorContainingRect(const TMonitorApi& api, int monitorCount, const TRect& R,
                                  bool WorkArea)
{
  if (!MultiMonitorUsable(api, monitorCount)) return GetRectOfPrimaryMonitor(WorkArea);
  const RECT r = ToRECT(R);
  return RectOfMonitor(api, api.MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), WorkArea);
}

TRect RectOfMonitorContainingPoint(const TMonitorApi& api, int monitorCount, const TPoint& P,
                                   bool WorkArea)
{
  if (!MultiMonitorUsable(api, monitorCount)) return GetRectOfPrimaryMonitor(WorkArea);
  return RectOfMonitor(api, api.MonitorFromPoint(ToPOINT(P), MONITOR_DEFAULTTONEAREST), WorkArea);
}

TRect RectOfMonitorContainingWindow(const TMonitorApi& api, int monitorCount, HWND Wnd,
                                    bool WorkArea)
{
  if (!MultiMonitorUsable(api, monitorCount) || !api.MonitorFromWindow)
    return GetRectOfPrimaryMonitor(WorkArea);
  return RectOfMonitor(api, api.MonitorFromWindow(Wnd, MONITOR_DEFAULTTONEAREST), WorkArea);
}

TRect GetRectOfPrimaryMonitor(bool WorkArea)
{
  RECT workArea{};
  if (WorkArea && SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0)) return ToTRect(workArea);
  return Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

TRect GetRectOfMonitorContainingRect(const TRect& R, bool WorkArea)
{
  return RectOfMonitorContainingRect(MonitorApi, GetSystemMetrics(SM_CMONITORS), R, WorkArea);
}

TRect GetRectOfMonitorContainingPoint(const TPoint& P, bool WorkArea)
{
  return RectOfMonitorContainingPoint(MonitorApi, GetSystemMetrics(SM_CMONITORS), P, WorkArea);
}

TRect GetRectOfMonitorContainingWindow(HWND Wnd, bool WorkArea)
{
  return RectOfMonitorContainingWindow(MonitorApi, GetSystemMetrics(SM_CMONITORS), Wnd, WorkArea);
}

}  // namespace Qv_winapi
