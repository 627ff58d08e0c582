#include "graphics/utils/Keyboard.h"

#include <windows.h>

#include <cmath>

namespace {

// A setting the system cannot read counts as 0.
uint32_t Setting(UINT action)
{
  DWORD value = 0;
  return SystemParametersInfoA(action, 0, &value, 0) ? value : 0;
}

}  // namespace

int32_t KeyBoardDelayIntervalOf(uint32_t delaySetting)
{
  return static_cast<int32_t>((delaySetting + 1) * 200);
}

int32_t KeyBoardSpeedIntervalOf(uint32_t speedSetting)
{
  return static_cast<int32_t>(std::lrint(1000.0L / ((speedSetting + 1.0L) * 2.3L)));
}

int32_t GetKeyBoardDelayInterval()
{
  return KeyBoardDelayIntervalOf(Setting(SPI_GETKEYBOARDDELAY));
}

int32_t GetKeyBoardSpeedInterval()
{
  return KeyBoardSpeedIntervalOf(Setting(SPI_GETKEYBOARDSPEED));
}
