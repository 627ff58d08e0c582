#include "graphics/utils/Tokens.h"

#include <algorithm>

namespace {

template <class IsSeparator>
AnsiString TakeToken(AnsiString& S, IsSeparator isSeparator)
{
  size_t end = 0;
  while (end < S.size() && !isSeparator(static_cast<unsigned char>(S[end]))) ++end;
  AnsiString token = S.substr(0, end);
  S.erase(0, std::min(end + 1, S.size()));  // the separator goes with the token
  S = Trim(S);
  return Trim(token);
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
    text += IntToStr(value);
    text += ',';
  }
  text.back() = ')';
  return text;
}

TRect StringToRect(const AnsiString& Text)
{
  AnsiString rest = Text;
  int32_t values[4];
  try {
    for (int32_t& value : values) value = StrToInt(GetToken(rest));
  } catch (const EConvertError&) {
    return {};
  }
  return {values[0], values[1], values[2], values[3]};
}
