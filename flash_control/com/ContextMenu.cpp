#include "flash_control/com/ContextMenu.h"

#include <utility>

namespace flash_control {

namespace {

UINT TrackMenu(HMENU menu, HWND owner, POINT screenPoint)
{
  return static_cast<UINT>(TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON,
                                            screenPoint.x, screenPoint.y, owner, nullptr));
}

TMenuRunner& Runner()
{
  static TMenuRunner runner;
  return runner;
}

}  // namespace

void SetMenuRunner(TMenuRunner runner)
{
  Runner() = std::move(runner);
}

TMenuCommand ShowContextMenu(HWND owner, POINT screenPoint, const TMenuState& state)
{
  HMENU menu = CreatePopupMenu();
  if (!menu) return TMenuCommand::None;
  const UINT enabled = state.HasMovie ? MF_ENABLED : MF_GRAYED;
  AppendMenuW(menu, MF_STRING | enabled | (state.Playing ? MF_CHECKED : 0),
              UINT(TMenuCommand::Play), L"Play");
  AppendMenuW(menu, MF_STRING | enabled | (state.Looping ? MF_CHECKED : 0),
              UINT(TMenuCommand::Loop), L"Loop");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING | enabled, UINT(TMenuCommand::Rewind), L"Rewind");
  AppendMenuW(menu, MF_STRING | enabled, UINT(TMenuCommand::Forward), L"Forward");
  AppendMenuW(menu, MF_STRING | enabled, UINT(TMenuCommand::Back), L"Back");

  const UINT chosen =
    Runner() ? Runner()(menu, owner, screenPoint) : TrackMenu(menu, owner, screenPoint);
  DestroyMenu(menu);
  return chosen >= UINT(TMenuCommand::Play) && chosen <= UINT(TMenuCommand::Back)
           ? static_cast<TMenuCommand>(chosen)
           : TMenuCommand::None;
}

}  // namespace flash_control
