#include "flash_control/swf/raster/Blend.h"

#include <algorithm>

namespace swf::raster {

namespace {

// x / 255, rounded, for 0 <= x <= 255 * 255.
inline uint32_t Div255(uint32_t x)
{
  x += 128;
  return (x + (x >> 8)) >> 8;
}

inline void Store(uint8_t* p, Rgba c)
{
  p[0] = c.B, p[1] = c.G, p[2] = c.R, p[3] = c.A;
}

}  // namespace

void BlendSpan(const PixelView& view, int32_t y, int32_t x, int32_t length, Rgba color, int32_t coverage)
{
  // sa = color.a * coverage / 256
  const uint32_t sa = (uint32_t{color.A} * static_cast<uint32_t>(coverage) + 128) >> 8;
  if (sa == 0)
    return;
  uint8_t* p = view.Row(y) + static_cast<ptrdiff_t>(x) * 4;
  uint8_t* const end = p + static_cast<ptrdiff_t>(length) * 4;
  if (sa == 255) {
    for (; p < end; p += 4)
      Store(p, {color.R, color.G, color.B, 255});
    return;
  }
  const uint32_t inv = 255 - sa;
  for (; p < end; p += 4) {
    const uint32_t da = p[3];
    if (da == 255) {
      // c = (sc * sa + dc * (255 - sa)) / 255, alpha stays opaque
      p[0] = static_cast<uint8_t>(Div255(color.B * sa + p[0] * inv));
      p[1] = static_cast<uint8_t>(Div255(color.G * sa + p[1] * inv));
      p[2] = static_cast<uint8_t>(Div255(color.R * sa + p[2] * inv));
    } else if (da == 0) {
      Store(p, {color.R, color.G, color.B, static_cast<uint8_t>(sa)});
    } else {
      // a = sa + da * (255 - sa) / 255; c = (sc * sa * 255 + dc * da * (255 - sa)) / (a * 255)
      const uint32_t dw = da * inv;
      const uint32_t sw = sa * 255;
      const uint32_t oa = sa + Div255(dw);
      const uint32_t den = oa * 255;
      auto mix = [&](uint32_t sc, uint32_t dc) {
        return static_cast<uint8_t>(std::min<uint32_t>((sc * sw + dc * dw + den / 2) / den, 255));
      };
      p[0] = mix(color.B, p[0]);
      p[1] = mix(color.G, p[1]);
      p[2] = mix(color.R, p[2]);
      p[3] = static_cast<uint8_t>(oa);
    }
  }
}

void FillRect(const PixelView& view, int32_t x0, int32_t y0, int32_t x1, int32_t y1, Rgba color)
{
  for (int32_t y = y0; y < y1; ++y) {
    uint8_t* p = view.Row(y) + static_cast<ptrdiff_t>(x0) * 4;
    for (int32_t x = x0; x < x1; ++x, p += 4)
      Store(p, color);
  }
}

}  // namespace swf::raster
