// Input: mouse messages drive the movie's buttons, WM_SETCURSOR shows the cursor they ask for, and
// the right button opens the context menu. Windowless messages and the control's own window share
// this path; coordinates are those of the rectangle the control draws in.
#include "flash_control/com/FlashControlWindows.h"

#include <windowsx.h>

#include "flash_control/com/ContextMenu.h"

namespace flash_control {

bool TFlashControl::HandleMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result)
{
  result = 0;
  switch (message) {
  case WM_MOUSEMOVE:
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
  case WM_LBUTTONUP: {
    // Capture follows the button, wherever the pointer is.
    SetCapture(message != WM_LBUTTONUP && (message != WM_MOUSEMOVE || FCaptured));
    const swf::StageTransform t = StageTransform(InputFrame());
    // A control without size shows no stage to point at.
    if (t.ScaleX <= 0 || t.ScaleY <= 0) return true;
    const double x = (GET_X_LPARAM(lParam) - t.OffsetX) / t.ScaleX;
    const double y = (GET_Y_LPARAM(lParam) - t.OffsetY) / t.ScaleY;
    if (message == WM_MOUSEMOVE)
      FPlayer->PointerMove(x, y);
    else if (message == WM_LBUTTONUP)
      FPlayer->PointerUp(x, y);
    else
      FPlayer->PointerDown(x, y);
    AfterPlayerCall();
    return true;
  }
  case WM_SETCURSOR:
    SetCursor(LoadCursorA(nullptr, FPlayer->OverButton() ? IDC_HAND : IDC_ARROW));
    result = TRUE;
    return true;
  case WM_RBUTTONDOWN:
    if (!FState.Boolean(TStateSlot::Menu)) return false;
    ShowMenu();
    return true;
  default:
    return false;
  }
}

void TFlashControl::ShowMenu()
{
  HWND owner = nullptr;
  if (FActivation == TActivation::Windowless) {
    if (FWindowlessSite->GetWindow(&owner) != S_OK) owner = nullptr;
  } else if (FActivation == TActivation::Windowed) {
    owner = FWindow->Handle();
  }
  if (!owner) return;
  POINT at{};
  GetCursorPos(&at);
  TMenuState state;
  state.HasMovie = FPlayer->HasMovie();
  state.Playing = FPlayer->IsPlaying().value_or(false);
  state.Looping = FState.Boolean(TStateSlot::Loop);
  RunMenuCommand(ShowContextMenu(owner, at, state));
}

void TFlashControl::RunMenuCommand(TMenuCommand command)
{
  switch (command) {
  case TMenuCommand::Play:
    if (FPlayer->IsPlaying().value_or(false))
      Stop();
    else
      Play();
    break;
  case TMenuCommand::Loop:
    put_Loop(FState.Boolean(TStateSlot::Loop) ? VARIANT_FALSE : VARIANT_TRUE);
    break;
  case TMenuCommand::Rewind:
    Rewind();
    break;
  case TMenuCommand::Forward:
    Forward();
    break;
  case TMenuCommand::Back:
    Back();
    break;
  case TMenuCommand::None:
    break;
  }
}

}  // namespace flash_control
