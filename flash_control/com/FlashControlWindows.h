// The control's two windows: the hidden message window that runs loads and the frame timer, and
// the child window of an ordinary (not windowless) in-place activation.
#pragma once

#include "flash_control/com/FlashControl.h"
#include "flash_control/com/Window.h"

namespace flash_control {

class TFlashControl::TMessageWindow final : public TWindow {
public:
  explicit TMessageWindow(TFlashControl& owner) : FOwner(owner) {}

  bool Open();
  void PostLoad();
  void StartTimer(UINT interval);
  void StopTimer();

protected:
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  TFlashControl& FOwner;
};

class TFlashControl::TControlWindow final : public TWindow {
public:
  explicit TControlWindow(TFlashControl& owner) : FOwner(owner) {}

  bool Open(HWND parent, const RECT& bounds);
  TRect ClientRect() const;

protected:
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  TFlashControl& FOwner;
};

}  // namespace flash_control
