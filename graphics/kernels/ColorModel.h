// The library's colour: TqvColor, its companion records, the named colours and the free functions
// that build, convert and shade colours. Pure: no Windows header, except that the functions taking
// a TColor that may name a system colour are defined in ColorModelSys.cpp.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Colors.h"

// 0xAARRGGBB, straight alpha; in memory the bytes are blue, green, red, alpha.
using TqvColor = uint32_t;

// A colour read byte by byte, lowest address first.
struct TqvColorRec {
  uint8_t B;
  uint8_t G;
  uint8_t R;
  uint8_t A;
};

struct TqvColorRecBor {
  uint8_t Blue;
  uint8_t Green;
  uint8_t Red;
  uint8_t Alpha;
};

static_assert(sizeof(TqvColorRec) == sizeof(TqvColor) &&
              sizeof(TqvColorRecBor) == sizeof(TqvColor));

// Runs of pixels without a fixed bound; their pointer types point at the first element, so that
// p[i] reads pixel i.
using TqvColorArray = TqvColor[];
using TqvColorRecArray = TqvColorRec[];

using PqvColor = TqvColor*;
using PqvColorRec = TqvColorRec*;
using PqvColorRecBor = TqvColorRecBor*;
using PqvColorArray = TqvColor*;
using PqvColorRecArray = TqvColorRec*;
using TArrayOfqvColor = std::vector<TqvColor>;

// The transparent key: a pixel whose low 24 bits equal it is empty, whatever its alpha.
inline constexpr TqvColor qvTransparent = 0x007F007F;

inline bool IsTransparentKey(TqvColor c)
{
  return (c & 0x00FFFFFF) == qvTransparent;
}

// Named colours
inline TqvColor qvBlack = 0xFF000000;
inline TqvColor qvGray = 0xFF7F7F7F;
inline TqvColor qvWhite = 0xFFFFFFFF;
inline TqvColor qvMaroon = 0xFF7F0000;
inline TqvColor qvGreen = 0xFF007F00;
inline TqvColor qvOlive = 0xFF7F7F00;
inline TqvColor qvNavy = 0xFF00007F;
inline TqvColor qvPurple = 0xFF7F007F;
inline TqvColor qvTeal = 0xFF007F7F;
inline TqvColor qvRed = 0xFFFF0000;
inline TqvColor qvLime = 0xFF00FF00;
inline TqvColor qvYellow = 0xFFFFFF00;
inline TqvColor qvBlue = 0xFF0000FF;
inline TqvColor qvFuchsia = 0xFFFF00FF;
inline TqvColor qvAqua = 0xFF00FFFF;
inline TqvColor qvMenu = 0xFFEDEDEE;
inline TqvColor qvBorder = 0xFF003399;
inline TqvColor qvWindow = 0xFFEBEBEE;
inline TqvColor qvBtnFace = 0xFFD2D2D2;
inline TqvColor qvBtnShadow = 0xFFA8A8A8;
inline TqvColor qvHotHighlight = 0xFFF8C751;
inline TqvColor qvHighlight = 0xFF64A0FF;
inline TqvColor qvHintBack = 0xFFEBEBEE;
// Reserved: the bitmap link's mask test does not count it as masked.
inline TqvColor qvNone = 0x33333333;
inline TqvColor qvTransparentVar = qvTransparent;

// Byte order
TqvColor FromRGB(TColor Color);
TColor ToRGB(TqvColor Color);

// Construction
TqvColor qvColor(int16_t R, int16_t G, int16_t B, uint8_t A);
TqvColor qvColor(const TqvColorRec& Rec);

// Other formats
TColor qvColorToColor(TqvColor Color);
uint16_t qvColorToColor16(TqvColor Color);
uint16_t qvColorToColor15(TqvColor Color);

// Hue, saturation and lightness, each in 0..1
void RGBtoHSL(TqvColor Color, float& H, float& S, float& L);
TqvColor HSLtoRGB(float H, float S, float L);
TqvColor SetHue(TqvColor Color, int32_t Hue);
TqvColor ChangeHue(TqvColor Color, int32_t Delta);
TqvColor ChangeSat(TqvColor Color, int32_t Delta);

// Channel shifts
TqvColor ChangeBrightness(TqvColor Color, int32_t Delta);
TqvColor ChangeColor(TqvColor Color, int16_t DeltaR, int16_t DeltaG, int16_t DeltaB,
                     int16_t DeltaA);
TqvColor ChangeColor(TqvColor Color, int16_t Delta);
TqvColor SunkenColor(TqvColor Color, int16_t DeltaR, int16_t DeltaG, int16_t DeltaB,
                     int16_t DeltaA);
TqvColor SunkenColor(TqvColor Color, int16_t Delta);
TqvColor RaisedColor(TqvColor Color, int16_t DeltaR, int16_t DeltaG, int16_t DeltaB,
                     int16_t DeltaA);
TqvColor RaisedColor(TqvColor Color, int16_t Delta);

uint16_t MulDiv16(uint16_t A, uint16_t B, uint16_t C);

// Resolved through the system's colour table (ColorModelSys.cpp)
TqvColor qvColor(TColor Color, uint8_t Alpha);
TColor StdChangeColor(TColor Color, int16_t DeltaR, int16_t DeltaG, int16_t DeltaB, int16_t DeltaA);
TColor StdChangeColor(TColor Color, int16_t Delta);
