#include "graphics/kernels/ColorModel.h"

#include <algorithm>
#include <cmath>

#include "graphics/kernels/Rounding.h"

// The hue, saturation and lightness conversions are exact to a bit: every named intermediate is
// stored as a 32-bit float, and the arithmetic between stores is carried out in long double (the
// 80-bit extended format on x86), then rounded to nearest with ties to even.

namespace {

using Extended = long double;

int32_t ClampByte(int64_t v)
{
  return int32_t(std::clamp<int64_t>(v, 0, 255));
}

TqvColor Pack(int32_t R, int32_t G, int32_t B, uint32_t A)
{
  return A << 24 | uint32_t(R) << 16 | uint32_t(G) << 8 | uint32_t(B);
}

int32_t Red(TqvColor c)
{
  return int32_t(c >> 16 & 0xFF);
}
int32_t Green(TqvColor c)
{
  return int32_t(c >> 8 & 0xFF);
}
int32_t Blue(TqvColor c)
{
  return int32_t(c & 0xFF);
}
uint32_t Alpha(TqvColor c)
{
  return c >> 24;
}

// A hue or saturation moved on the 0..255 scale, brought back once by 255 in each direction.
float ShiftComponent(float Component, int32_t Delta)
{
  int64_t v = RoundEven(Extended(Component) * 255) + Delta;
  if (v > 255)
    v -= 255;
  if (v < 0)
    v += 255;
  return StoreSingle(Extended(v) / 255);
}

// One channel of HSLtoRGB from its shifted hue h.
uint8_t HueChannel(float m1, float m2, float h)
{
  const Extended x = Extended(h) - std::floor(Extended(h));
  Extended v;
  if (6 * x < 1)
    v = m1 + (Extended(m2) - m1) * x * 6;
  else if (2 * x < 1)
    v = m2;
  else if (3 * x < 2)
    v = m1 + (Extended(m2) - m1) * (Extended(2) / 3 - x) * 6;
  else
    v = m1;
  const double held = StoreDouble(v);
  return uint8_t(RoundEven(255 * Extended(held)));
}

} // namespace

TqvColor FromRGB(TColor Color)
{
  const uint32_t c = uint32_t(Color);
  return 0xFF000000 | (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

TColor ToRGB(TqvColor Color)
{
  return TColor(uint32_t(Red(Color)) | uint32_t(Green(Color)) << 8 | uint32_t(Blue(Color)) << 16);
}

TqvColor qvColor(int16_t R, int16_t G, int16_t B, uint8_t A)
{
  return Pack(ClampByte(R), ClampByte(G), ClampByte(B), A);
}

TqvColor qvColor(const TqvColorRec& Rec)
{
  return Pack(Rec.B, Rec.G, Rec.R, 0);
}

TColor qvColorToColor(TqvColor Color)
{
  return ToRGB(Color);
}

uint16_t qvColorToColor16(TqvColor Color)
{
  return uint16_t(Red(Color) / 8 << 11 | Green(Color) / 4 << 5 | Blue(Color) / 8);
}

uint16_t qvColorToColor15(TqvColor Color)
{
  return uint16_t(Red(Color) / 8 << 10 | Green(Color) / 8 << 5 | Blue(Color) / 8);
}

void RGBtoHSL(TqvColor Color, float& H, float& S, float& L)
{
  const float r = StoreSingle(Extended(Red(Color)) / 255);
  const float g = StoreSingle(Extended(Green(Color)) / 255);
  const float b = StoreSingle(Extended(Blue(Color)) / 255);
  const float max = std::max(r, std::max(g, b));
  const float min = std::min(r, std::min(g, b));
  L = StoreSingle((Extended(max) + min) / 2);
  if (max == min) {
    H = 0;
    S = 0;
    return;
  }
  const float d = StoreSingle(Extended(max) - min);
  if (L < 0.5f)
    S = StoreSingle(d / (Extended(max) + min));
  else
    S = StoreSingle(d / (2 - Extended(max) - min));
  if (r == max)
    H = StoreSingle((Extended(g) - b) / d);
  else if (g == max)
    H = StoreSingle((Extended(b) - r) / d + 2);
  else
    H = StoreSingle((Extended(r) - g) / d + 4);
  H = StoreSingle(Extended(H) / 6);
  if (H < 0)
    H = StoreSingle(Extended(H) + 1);
}

TqvColor HSLtoRGB(float H, float S, float L)
{
  if (S == 0) {
    const auto v = int16_t(RoundEven(255 * Extended(L)));
    return qvColor(v, v, v, 255);
  }
  const float m2 = L > 0.5f ? StoreSingle((Extended(L) + S) - Extended(L) * S)
                            : StoreSingle((1 + Extended(S)) * L);
  const float m1 = StoreSingle(2 * Extended(L) - m2);
  const uint8_t r = HueChannel(m1, m2, StoreSingle(Extended(H) + Extended(1) / 3));
  const uint8_t g = HueChannel(m1, m2, H);
  const uint8_t b = HueChannel(m1, m2, StoreSingle(Extended(H) - Extended(1) / 3));
  return qvColor(r, g, b, 255);
}

TqvColor SetHue(TqvColor Color, int32_t Hue)
{
  float H, S, L;
  RGBtoHSL(Color, H, S, L);
  return HSLtoRGB(StoreSingle(Extended(std::clamp(Hue, 0, 255)) / 255), S, L);
}

TqvColor ChangeHue(TqvColor Color, int32_t Delta)
{
  float H, S, L;
  RGBtoHSL(Color, H, S, L);
  return HSLtoRGB(ShiftComponent(H, Delta), S, L);
}

TqvColor ChangeSat(TqvColor Color, int32_t Delta)
{
  float H, S, L;
  RGBtoHSL(Color, H, S, L);
  return HSLtoRGB(H, ShiftComponent(S, Delta), L);
}

TqvColor ChangeBrightness(TqvColor Color, int32_t Delta)
{
  return Pack(ClampByte(int64_t(Red(Color)) + Delta), ClampByte(int64_t(Green(Color)) + Delta),
              ClampByte(int64_t(Blue(Color)) + Delta), 255);
}

// The channels stop at 0 and 255; the alpha wraps modulo 256.
TqvColor ChangeColor(TqvColor Color, int16_t DeltaR, int16_t DeltaG, int16_t DeltaB, int16_t DeltaA)
{
  return Pack(ClampByte(Red(Color) + DeltaR), ClampByte(Green(Color) + DeltaG),
              ClampByte(Blue(Color) + DeltaB), uint8_t(Alpha(Color) + uint32_t(DeltaA)));
}

TqvColor ChangeColor(TqvColor Color, int16_t Delta)
{
  return ChangeColor(Color, Delta, Delta, Delta, 0);
}

TqvColor SunkenColor(TqvColor Color, int16_t DeltaR, int16_t DeltaG, int16_t DeltaB, int16_t DeltaA)
{
  return ChangeColor(Color, int16_t(-DeltaR), int16_t(-DeltaG), int16_t(-DeltaB), int16_t(-DeltaA));
}

TqvColor SunkenColor(TqvColor Color, int16_t Delta)
{
  return ChangeColor(Color, int16_t(-Delta));
}

TqvColor RaisedColor(TqvColor Color, int16_t DeltaR, int16_t DeltaG, int16_t DeltaB, int16_t DeltaA)
{
  return ChangeColor(Color, DeltaR, DeltaG, DeltaB, DeltaA);
}

TqvColor RaisedColor(TqvColor Color, int16_t Delta)
{
  return ChangeColor(Color, Delta);
}

// A divisor of 0 answers 0 rather than faulting.
uint16_t MulDiv16(uint16_t A, uint16_t B, uint16_t C)
{
  if (C == 0)
    return 0;
  return uint16_t(uint32_t(A) * B / C);
}
