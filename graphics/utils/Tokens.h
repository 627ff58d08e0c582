// Tokens and the text form of rectangles, in Qv_utils. Pure.
#pragma once

#include <bitset>
#include <string_view>

#include "platform/SysUtils.h"
#include "platform/Types.h"

// A set of 8-bit characters, indexed by the character's unsigned code.
using TTokenSeparators = std::bitset<256>;

// The set of the characters of `members`.
TTokenSeparators TokenSeparators(std::string_view members);

// Takes the first token off S: the characters before the first separator. The separator is
// consumed with the token, so a text that begins with a separator gives an empty token; runs of
// separators are not merged. The token and the rest of S are trimmed of characters with codes of 32 or less.
// The separators are space ( ) , : ; = for the first form, the characters of Separators for the
// second and the members of Separators for the third.
AnsiString GetToken(AnsiString& S);
AnsiString GetToken(AnsiString& S, const AnsiString& Separators);
AnsiString GetToken(AnsiString& S, const TTokenSeparators& Separators);

// "(Left,Top,Right,Bottom)" in decimal, without spaces.
AnsiString RectToString(const TRect& R);

// Four integers (StrToInt) taken with the first GetToken: separated by single commas, single spaces
// or a comma and a space each. Any other text, RectToString's parenthesised form included, gives
// (0, 0, 0, 0).
TRect StringToRect(const AnsiString& Text);
