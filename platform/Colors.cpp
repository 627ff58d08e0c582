#include "platform/Colors.h"

#include <windows.h>

TColor ColorToRGB(TColor Color)
{
  if (Color < 0)
    return TColor(GetSysColor(Color & 0xFF));
  return Color;
}
