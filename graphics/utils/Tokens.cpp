#include "graphics/utils/Tokens.h"

#include <charconv>

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

void Trim(AnsiString& s)
{
  size_t end = s.size();
  while (end > 0 && IsBlank(s[end - 1])) --end;
  size_t begin = 0;
  while (begin < end && IsBlank(s[begin])) ++begin;
  s = s.substr(begin, end - begin);
}

template <class IsSeparator>
AnsiString TakeToken(AnsiString& S, IsSeparator isSeparator)
{
  size_t end = 0;
  while (end < S.size() && !isSeparator(static_cast<unsigned char>(S[end]))) ++end;
  AnsiString token = S.substr(0, end);
  S.erase(0, end < S.size() ? end + 1 : end);
  Trim(token);
  Trim(S);
  return token;
}

// A decimal integer with an optional sign, filling the whole text.
bool TryDecimal(const AnsiString& text, int32_t& value)
{
  const char* first = text.data();
  const char* const last = first + text.size();
  if (first != last && *first == '+') {
    ++first;
    if (first != last && *first == '-') return false;
  }
  const auto [end, error] = std::from_chars(first, last, value);
  return error == std::errc() && end == last;
}

}  // namespace

TTokenSeparators TokenSeparators(std::string_view members)
{
  TTokenSeparators set;
  for (const char c : members) set.set(static_cast<unsigned char>(c));
  return set;
}

AnsiString GetToken(AnsiString& S)
{
  static const TTokenSeparators separators = TokenSeparators(" (),:;=");
  return GetToken(S, separators);
}

AnsiString GetToken(AnsiString& S, const AnsiString& Separators)
{
  return TakeToken(S, [&](unsigned char c) { return Separators.find(static_cast<char>(c)) !=
                                                    AnsiString::npos; });
}

AnsiString GetToken(AnsiString& S, const TTokenSeparators& Separators)
{
  return TakeToken(S, [&](unsigned char c) { return Separators.test(c); });
}

AnsiString RectToString(const TRect& R)
{
  AnsiString text = "(";
  for (const int32_t value : {R.Left, R.Top, R.Right, R.Bottom}) {
    text += std::to_string(value);
    text += ',';
  }
  text.back() = ')';
  return text;
}

TRect StringToRect(const AnsiString& Text)
{
  AnsiString rest = Text;
  int32_t values[4];
  for (int32_t& value : values)
    if (!TryDecimal(GetToken(rest), value)) return {};
  return {values[0], values[1], values[2], values[3]};
}
