#include "flash_control/com/PropertyText.h"

#include <array>

namespace flash_control {

namespace {

char16_t Lower(char16_t c)
{
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

constexpr std::array<std::u16string_view, 6> QualityTexts = {u"Low",      u"High",   u"AutoLow",
                                                             u"AutoHigh", u"Medium", u"Best"};

int HexDigit(char16_t c)
{
  if (c >= u'0' && c <= u'9') return c - u'0';
  c = Lower(c);
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

}  // namespace

bool SameText(std::u16string_view a, std::u16string_view b)
{
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

std::optional<TWindowMode> WindowModeFromText(std::u16string_view text)
{
  if (SameText(text, u"Window")) return TWindowMode::Window;
  if (SameText(text, u"Opaque")) return TWindowMode::Opaque;
  if (SameText(text, u"Transparent")) return TWindowMode::Transparent;
  return std::nullopt;
}

std::optional<int> QualityFromText(std::u16string_view text)
{
  for (size_t i = 0; i < QualityTexts.size(); ++i)
    if (SameText(text, QualityTexts[i])) return static_cast<int>(i);
  return std::nullopt;
}

std::optional<std::u16string> QualityText(int quality)
{
  if (quality < 0 || quality >= static_cast<int>(QualityTexts.size())) return std::nullopt;
  return std::u16string(QualityTexts[quality]);
}

std::optional<int32_t> ColorFromText(std::u16string_view text)
{
  if (text.empty()) return MovieBackground;
  if (text.front() == u'#') text.remove_prefix(1);
  if (text.size() != 6) return std::nullopt;
  int32_t color = 0;
  for (char16_t c : text) {
    const int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    color = color * 16 + digit;
  }
  return color;
}

std::optional<std::u16string> ColorText(int32_t color)
{
  if (color == MovieBackground) return std::u16string();
  if (color < 0 || color > 0xFFFFFF) return std::nullopt;
  static constexpr char16_t Digits[] = u"0123456789ABCDEF";
  std::u16string text(7, u'#');
  for (int i = 6; i >= 1; --i, color >>= 4) text[i] = Digits[color & 15];
  return text;
}

}  // namespace flash_control
