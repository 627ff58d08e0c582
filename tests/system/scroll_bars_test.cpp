#include <gtest/gtest.h>

#include <cstring>

#include "system/winapi/WinApiInternal.h"

using namespace Qv_winapi;

TEST(ScrollBars, WithoutTheSystemFunctionOnlyTheFirstStateIsMarkedInvisible)
{
  SCROLLBARINFO info;
  std::memset(&info, 0xAB, sizeof(info));
  SCROLLBARINFO expected = info;
  expected.rgstate[0] = STATE_SYSTEM_INVISIBLE;

  EXPECT_EQ(FALSE, ScrollBarInfoThrough(nullptr, GetDesktopWindow(), OBJID_VSCROLL, info));
  EXPECT_EQ(0, std::memcmp(&expected, &info, sizeof(info)));
}

TEST(ScrollBars, AsksTheSystemWhenItCan)
{
  const HWND wnd = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW | WS_VSCROLL, 0, 0, 200,
                                   200, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, wnd);
  SCROLLBARINFO info{};
  info.cbSize = sizeof(info);
  EXPECT_NE(FALSE, MyGetScrollBarInfo(wnd, OBJID_VSCROLL, info));
  EXPECT_GT(info.rcScrollBar.bottom, info.rcScrollBar.top);
  DestroyWindow(wnd);
}
