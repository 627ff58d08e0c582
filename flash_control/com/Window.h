// A window whose messages go to a C++ object. The class is registered for as long as a window of
// it lives, so the DLL that carries it can unload cleanly.
#pragma once

#include <windows.h>

namespace flash_control {

class TWindow {
public:
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;
  virtual ~TWindow();

  HWND Handle() const { return FHandle; }

protected:
  TWindow() = default;
  // A message-only window when `parent` is HWND_MESSAGE.
  bool Create(DWORD style, const RECT& bounds, HWND parent);
  void Destroy();
  virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
  static LRESULT CALLBACK Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND FHandle = nullptr;
};

}  // namespace flash_control
