#include "platform/Screen.h"

#include <windows.h>

int TScreen::GetWidth() const
{
  return GetSystemMetrics(SM_CXSCREEN);
}

int TScreen::GetHeight() const
{
  return GetSystemMetrics(SM_CYSCREEN);
}

TScreen* Screen()
{
  static TScreen screen;
  return &screen;
}
