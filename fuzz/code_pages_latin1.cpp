// The code page conversions of SysUtils.h for native builds: Latin-1, which maps every byte to one
// character and back, so the round trips the fuzz targets check stay exact for 8-bit text.
#include "platform/SysUtils.h"

std::u16string AnsiToUtf16(std::string_view text)
{
  std::u16string result;
  for (char c : text) result += static_cast<char16_t>(static_cast<unsigned char>(c));
  return result;
}

AnsiString Utf16ToAnsi(std::u16string_view text)
{
  AnsiString result;
  for (char16_t c : text) result += c <= 0xFF ? static_cast<char>(c) : '?';
  return result;
}
