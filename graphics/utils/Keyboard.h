// The keyboard's repeat timings, in Qv_utils.
#pragma once

#include <cstdint>

// The delay before a held key repeats, in milliseconds: 200, 400, 600 or 800.
int32_t GetKeyBoardDelayInterval();
// The time between repeats, in milliseconds: 435 at the slowest speed down to 14 at the fastest.
int32_t GetKeyBoardSpeedInterval();

// The same from the system's settings: delay 0..3 and speed 0..31.
int32_t KeyBoardDelayIntervalOf(uint32_t delaySetting);
int32_t KeyBoardSpeedIntervalOf(uint32_t speedSetting);
