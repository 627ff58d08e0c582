#include "graphics/Qv_utils.h"

HWND CaptureHandle = nullptr;

namespace {

// Nesting depth of CaptureMouse.
int CaptureCount = 0;

constexpr int MaxWindowText = 1000;

template <class Query>
AnsiString WindowString(HWND Wnd, Query query)
{
  char buffer[MaxWindowText + 1] = {};
  const int length = query(Wnd, buffer, MaxWindowText);
  return length > 0 ? AnsiString(buffer) : AnsiString();
}

}  // namespace

AnsiString GetWndClassName(HWND Wnd) { return WindowString(Wnd, GetClassNameA); }
AnsiString GetWndText(HWND Wnd) { return WindowString(Wnd, GetWindowTextA); }

void CaptureMouse(HWND Wnd)
{
  if (CaptureCount == 0) {
    CaptureHandle = Wnd;
    SetCapture(Wnd);
  }
  ++CaptureCount;
}

void EndCapture()
{
  // An unmatched end would leave the count below zero and make the next CaptureMouse not capture.
  if (CaptureCount == 0) return;
  --CaptureCount;
  if (CaptureCount == 0) {
    if (GetCapture() == CaptureHandle) ReleaseCapture();
    CaptureHandle = nullptr;
  }
}
