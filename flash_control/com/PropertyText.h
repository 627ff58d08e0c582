// The texts of the control's text-valued properties and the values they stand for. Pure.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace flash_control {

// Compares ASCII letters without regard to case.
bool SameText(std::u16string_view a, std::u16string_view b);

// `WMode`: "Window", "Opaque" or "Transparent".
enum class TWindowMode { Window, Opaque, Transparent };
std::optional<TWindowMode> WindowModeFromText(std::u16string_view text);

// `Quality` numbers and `Quality2` texts: 0 "Low", 1 "High", 2 "AutoLow", 3 "AutoHigh",
// 4 "Medium", 5 "Best".
std::optional<int> QualityFromText(std::u16string_view text);
std::optional<std::u16string> QualityText(int quality);

// `BackgroundColor` is 0xRRGGBB, or -1 for the movie's own colour; `BGColor` is "#RRGGBB", or
// empty for the movie's own colour.
constexpr int32_t MovieBackground = -1;
std::optional<int32_t> ColorFromText(std::u16string_view text);
std::optional<std::u16string> ColorText(int32_t color);

}  // namespace flash_control
