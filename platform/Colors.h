// The platform's colour value. Pure: no Windows header.
#pragma once

#include <cstdint>

// 0x00BBGGRR for a plain colour. A negative value names a system colour: its low byte is the index
// that the system's colour table is read with.
using TColor = int32_t;

inline constexpr TColor clSystemColor = TColor(0xFF000000);

// A system colour resolved to its current plain value; a plain colour passes through unchanged.
TColor ColorToRGB(TColor Color);
