// Qv_winapi - scroll bar state.
#include "system/winapi/WinApiInternal.h"

namespace Qv_winapi {

namespace {

TGetScrollBarInfo GetScrollBarInfoFunc = nullptr;

}  // namespace

void LoadScrollBarApi()
{
  if (const HMODULE user32 = GetModuleHandleA("user32.dll"))
    LookUp(user32, "GetScrollBarInfo", GetScrollBarInfoFunc);
}

void ClearScrollBarApi() { GetScrollBarInfoFunc = nullptr; }

BOOL ScrollBarInfoThrough(TGetScrollBarInfo getScrollBarInfo, HWND Wnd, LONG idObject,
                          SCROLLBARINFO& Info)
{
  if (getScrollBarInfo) return getScrollBarInfo(Wnd, idObject, &Info);
  Info.rgstate[0] = STATE_SYSTEM_INVISIBLE;
  return FALSE;
}

BOOL MyGetScrollBarInfo(HWND Wnd, LONG idObject, SCROLLBARINFO& Info)
{
  return ScrollBarInfoThrough(GetScrollBarInfoFunc, Wnd, idObject, Info);
}

}  // namespace Qv_winapi
