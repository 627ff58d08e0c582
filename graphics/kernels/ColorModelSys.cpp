// The colour functions that take a TColor which may name a system colour.
#include "graphics/kernels/ColorModel.h"

TqvColor qvColor(TColor Color, uint8_t Alpha)
{
  return (FromRGB(ColorToRGB(Color)) & 0x00FFFFFF) | TqvColor(Alpha) << 24;
}

// A TColor has no alpha, so the alpha delta has no effect.
TColor StdChangeColor(TColor Color, int16_t DeltaR, int16_t DeltaG, int16_t DeltaB, int16_t)
{
  return ToRGB(ChangeColor(FromRGB(ColorToRGB(Color)), DeltaR, DeltaG, DeltaB, 0));
}

TColor StdChangeColor(TColor Color, int16_t Delta)
{
  return StdChangeColor(Color, Delta, Delta, Delta, 0);
}
