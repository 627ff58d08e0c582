// Comparing names as movies do: labels, paths and the special names always without regard to ASCII
// case; script identifiers with regard to it from file version 7 on.
#pragma once

#include <string>
#include <string_view>

namespace swf {

inline char LowerAscii(char c)
{
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string LowerAscii(std::string_view text)
{
  std::string lower(text);
  for (char& c : lower)
    c = LowerAscii(c);
  return lower;
}

inline bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
  if (a.size() != b.size())
    return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i]))
      return false;
  }
  return true;
}

inline bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
  return text.size() >= prefix.size() && EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

inline bool CaseSensitiveNames(int version)
{
  return version >= 7;
}

// Whether two script identifiers are the same in a movie of `version`.
inline bool SameName(std::string_view a, std::string_view b, int version)
{
  return CaseSensitiveNames(version) ? a == b : EqualsIgnoringCase(a, b);
}

}  // namespace swf
