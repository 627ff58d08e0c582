#include <gtest/gtest.h>

#include "platform/WinTypes.h"
#include "system/winapi/WinApiInternal.h"

using namespace Qv_winapi;

namespace {

// A second monitor to the right of the primary one, answered by stand-ins for the system functions.
const HMONITOR SecondMonitor = reinterpret_cast<HMONITOR>(0x5150);
const RECT SecondWhole = {1920, 0, 3200, 1024};
const RECT SecondWork = {1920, 0, 3200, 984};
DWORD LastFlags = 0;

HMONITOR WINAPI FromRect(const RECT*, DWORD flags) { LastFlags = flags; return SecondMonitor; }
HMONITOR WINAPI FromPoint(POINT, DWORD flags) { LastFlags = flags; return SecondMonitor; }
HMONITOR WINAPI FromWindow(HWND, DWORD flags) { LastFlags = flags; return SecondMonitor; }

BOOL WINAPI Info(HMONITOR monitor, MONITORINFO* info)
{
  if (monitor != SecondMonitor || info->cbSize != sizeof(MONITORINFO)) return FALSE;
  info->rcMonitor = SecondWhole;
  info->rcWork = SecondWork;
  return TRUE;
}

BOOL WINAPI NoInfo(HMONITOR, MONITORINFO*) { return FALSE; }

}  // namespace

TEST(Monitors, PrimaryMonitorIsTheScreen)
{
  const TRect screen = Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(screen, GetRectOfPrimaryMonitor(false));

  const TRect work = GetRectOfPrimaryMonitor(true);
  EXPECT_GE(work.Left, screen.Left);
  EXPECT_GE(work.Top, screen.Top);
  EXPECT_LE(work.Right, screen.Right);
  EXPECT_LE(work.Bottom, screen.Bottom);
  EXPECT_LT(work.Left, work.Right);
  EXPECT_LT(work.Top, work.Bottom);

  const TPoint centre = Point(screen.Right / 2, screen.Bottom / 2);
  EXPECT_EQ(screen, GetRectOfMonitorContainingPoint(centre, false));
  EXPECT_EQ(screen, GetRectOfMonitorContainingRect(Rect(10, 10, 20, 20), false));
}

TEST(Monitors, SecondMonitorOnlyWithSeveralMonitorsAndTheFunctionsToFindThem)
{
  const TMonitorApi all{FromRect, FromPoint, FromWindow, Info};
  TMonitorApi noPoint = all;
  noPoint.MonitorFromPoint = nullptr;
  TMonitorApi noWindow = all;
  noWindow.MonitorFromWindow = nullptr;
  TMonitorApi failingInfo = all;
  failingInfo.GetMonitorInfoA = NoInfo;

  struct Case {
    const char* Name;
    const TMonitorApi& Api;
    int Monitors;
    bool ByRect, ByPoint, ByWindow;  // found the second monitor
  };
  const Case cases[] = {
    {"two monitors", all, 2, true, true, true},
    {"one monitor", all, 1, false, false, false},
    {"monitor count unknown", all, 0, false, false, false},
    {"without MonitorFromPoint", noPoint, 2, false, false, false},
    {"without MonitorFromWindow", noWindow, 2, true, true, false},
    {"monitor information fails", failingInfo, 2, false, false, false},
  };
  // Far off every screen: only the nearest-monitor lookup finds a monitor for it.
  const TRect farRect = Rect(-50000, -50000, -49990, -49990);
  const TPoint farPoint = Point(50000, 50000);
  for (const Case& c : cases) {
    for (const bool workArea : {false, true}) {
      const TRect second = ToTRect(workArea ? SecondWork : SecondWhole);
      const TRect primary = GetRectOfPrimaryMonitor(workArea);
      SCOPED_TRACE(::testing::Message() << c.Name << (workArea ? ", work area" : ", whole"));
      EXPECT_EQ(c.ByRect ? second : primary,
                RectOfMonitorContainingRect(c.Api, c.Monitors, farRect, workArea));
      EXPECT_EQ(c.ByPoint ? second : primary,
                RectOfMonitorContainingPoint(c.Api, c.Monitors, farPoint, workArea));
      EXPECT_EQ(c.ByWindow ? second : primary,
                RectOfMonitorContainingWindow(c.Api, c.Monitors, GetDesktopWindow(), workArea));
    }
  }
  LastFlags = 0;
  RectOfMonitorContainingPoint(all, 2, farPoint, false);
  EXPECT_EQ(static_cast<DWORD>(MONITOR_DEFAULTTONEAREST), LastFlags);
}
