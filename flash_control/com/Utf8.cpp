#include "flash_control/com/Utf8.h"

namespace flash_control {

namespace {

void Append(std::string& out, char32_t c)
{
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool IsHigh(char16_t c)
{
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLow(char16_t c)
{
  return c >= 0xDC00 && c <= 0xDFFF;
}

// Length of the sequence a lead byte starts, 0 for a byte that starts none.
int SequenceLength(unsigned char b)
{
  if (b < 0x80) return 1;
  if ((b >> 5) == 0x6) return 2;
  if ((b >> 4) == 0xE) return 3;
  if ((b >> 3) == 0x1E) return 4;
  return 0;
}

}  // namespace

std::string ToUtf8(std::u16string_view text)
{
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (IsHigh(c) && i + 1 < text.size() && IsLow(text[i + 1])) {
      Append(out, 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else {
      Append(out, IsHigh(c) || IsLow(c) ? 0xFFFD : c);
    }
  }
  return out;
}

std::u16string FromUtf8(std::string_view text)
{
  static constexpr char32_t Smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  std::u16string out;
  size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int length = SequenceLength(lead);
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    bool valid = length > 0 && i + length <= text.size();
    for (int k = 1; valid && k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      valid = (next & 0xC0) == 0x80;
      c = (c << 6) | (next & 0x3F);
    }
    valid = valid && c >= Smallest[length] && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
    if (!valid) {
      out += static_cast<char16_t>(lead);
      ++i;
    } else if (c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
      i += length;
    } else {
      out += static_cast<char16_t>(c);
      i += length;
    }
  }
  return out;
}

}  // namespace flash_control
