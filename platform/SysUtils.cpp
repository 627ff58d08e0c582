#include "platform/SysUtils.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace {

bool IsBlank(char c)
{
  return static_cast<unsigned char>(c) <= ' ';
}

char ToUpperAscii(char c)
{
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

int HexDigit(char c)
{
  if (c >= '0' && c <= '9') return c - '0';
  c = ToUpperAscii(c);
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Parses the whole of `text` as an integer; false when it is not one or does not fit in 32 bits.
bool TryStrToInt(std::string_view text, int32_t& value)
{
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';

  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == text.size()) return false;

  // Hexadecimal covers the whole unsigned range, so $FFFFFFFF reads as -1.
  const uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    const int digit = base == 16 ? HexDigit(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
    if (digit < 0) return false;
    magnitude = magnitude * base + digit;
    if (magnitude > limit) return false;
  }
  const uint32_t bits = static_cast<uint32_t>(magnitude);
  value = static_cast<int32_t>(negative ? 0u - bits : bits);
  return true;
}

[[noreturn]] void FormatError(std::string_view format)
{
  throw EConvertError("Format '" + AnsiString(format) + "' invalid or incompatible with argument");
}

// Reads a run of decimal digits at `i`; -1 when there is none.
int ReadDigits(std::string_view text, size_t& i)
{
  if (i >= text.size() || text[i] < '0' || text[i] > '9') return -1;
  int value = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9' && value < 100000)
    value = value * 10 + (text[i++] - '0');
  return value;
}

AnsiString FormatInteger(const TVarRec& arg, char type, int precision)
{
  const int64_t value = arg.Integer();
  bool negative = false;
  uint64_t magnitude;
  if (type == 'D') {
    negative = value < 0;
    magnitude = negative ? 0ull - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  } else {
    // Negative numbers show their 32-bit two's complement, as the platform's integers are 32 bits.
    magnitude = value < 0 && value >= std::numeric_limits<int32_t>::min()
                  ? static_cast<uint32_t>(value) : static_cast<uint64_t>(value);
  }

  AnsiString digits;
  const unsigned base = type == 'X' ? 16 : 10;
  do {
    digits.insert(digits.begin(), "0123456789ABCDEF"[magnitude % base]);
    magnitude /= base;
  } while (magnitude != 0);
  if (precision > static_cast<int>(digits.size()))
    digits.insert(0, static_cast<size_t>(precision) - digits.size(), '0');
  return negative ? "-" + digits : digits;
}

}  // namespace

AnsiString IntToStr(int64_t value)
{
  return std::to_string(value);
}

int32_t StrToInt(std::string_view text)
{
  int32_t value = 0;
  if (!TryStrToInt(text, value))
    throw EConvertError("'" + AnsiString(text) + "' is not a valid integer value");
  return value;
}

AnsiString Trim(std::string_view text)
{
  size_t first = 0;
  size_t last = text.size();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  return AnsiString(text.substr(first, last - first));
}

int CompareText(std::string_view a, std::string_view b)
{
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    const auto x = static_cast<unsigned char>(ToUpperAscii(a[i]));
    const auto y = static_cast<unsigned char>(ToUpperAscii(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool SameText(std::string_view a, std::string_view b)
{
  return a.size() == b.size() && CompareText(a, b) == 0;
}

AnsiString ExtractFilePath(std::string_view fileName)
{
  const size_t delimiter = fileName.find_last_of("\\:");
  if (delimiter == std::string_view::npos) return {};
  return AnsiString(fileName.substr(0, delimiter + 1));
}

std::u16string Utf8ToUtf16(std::string_view text)
{
  std::u16string result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2
                     : lead >= 0xE0 && lead <= 0xEF ? 3 : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    bool valid = length > 0 && i + length <= text.size();
    for (int k = 1; valid && k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      valid = (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3F);
    }
    // No overlong forms, surrogates or code points beyond U+10FFFF.
    static constexpr char32_t Smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    valid = valid && code >= Smallest[length] && code <= 0x10FFFF &&
            (code < 0xD800 || code > 0xDFFF);
    if (!valid) {
      result += u'\uFFFD';
      ++i;
      continue;
    }
    if (code >= 0x10000) {
      code -= 0x10000;
      result += static_cast<char16_t>(0xD800 + (code >> 10));
      result += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
      result += static_cast<char16_t>(code);
    }
    i += length;
  }
  return result;
}

AnsiString FormatArgs(std::string_view format, std::span<const TVarRec> args)
{
  AnsiString result;
  size_t next = 0;
  size_t i = 0;
  while (i < format.size()) {
    const size_t percent = format.find('%', i);
    result.append(format.substr(i, percent - i));
    if (percent == std::string_view::npos) break;
    i = percent + 1;
    if (i < format.size() && format[i] == '%') {
      result += '%';
      ++i;
      continue;
    }

    size_t mark = i;
    const int index = ReadDigits(format, i);
    if (index >= 0 && i < format.size() && format[i] == ':') {
      next = static_cast<size_t>(index);
      ++i;
    } else {
      i = mark;
    }
    const bool leftAligned = i < format.size() && format[i] == '-';
    if (leftAligned) ++i;
    const int width = ReadDigits(format, i);
    int precision = -1;
    if (i < format.size() && format[i] == '.') {
      ++i;
      precision = ReadDigits(format, i);
      if (precision < 0) FormatError(format);
    }
    if (i >= format.size() || next >= args.size()) FormatError(format);
    const char type = ToUpperAscii(format[i++]);
    const TVarRec& arg = args[next++];

    AnsiString text;
    switch (type) {
    case 'D':
    case 'U':
    case 'X':
      if (arg.Kind() != TVarRec::TKind::Integer) FormatError(format);
      text = FormatInteger(arg, type, precision);
      break;
    case 'F': {
      if (arg.Kind() == TVarRec::TKind::String) FormatError(format);
      const double value =
        arg.Kind() == TVarRec::TKind::Float ? arg.Float() : static_cast<double>(arg.Integer());
      char buffer[400];
      std::snprintf(buffer, sizeof buffer, "%.*f", precision < 0 ? 2 : std::min(precision, 18),
                    value);
      text = buffer;
      break;
    }
    case 'S':
      if (arg.Kind() != TVarRec::TKind::String) FormatError(format);
      text = arg.String();
      if (precision >= 0 && text.size() > static_cast<size_t>(precision)) text.resize(precision);
      break;
    default:
      FormatError(format);
    }

    if (width > static_cast<int>(text.size())) {
      const AnsiString padding(static_cast<size_t>(width) - text.size(), ' ');
      text = leftAligned ? text + padding : padding + text;
    }
    result += text;
  }
  return result;
}

uint32_t RandSeed = 0;

int32_t Random(int32_t range)
{
  RandSeed = RandSeed * 134775813u + 1u;
  if (range <= 0) return 0;
  return static_cast<int32_t>((static_cast<uint64_t>(range) * RandSeed) >> 32);
}
