#include <gtest/gtest.h>

#include "graphics/Qv_utils.h"

namespace {

struct TokenCase {
  const char* Name;
  AnsiString Text;
  AnsiString Token;
  AnsiString Rest;
};

}  // namespace

TEST(GetToken, TakesOneTokenAndOneSeparator)
{
  const AnsiString longWord(300, 'a');
  const TokenCase cases[] = {
    {"comma and space", "abc, def", "abc", "def"},
    {"no separator", "abc", "abc", ""},
    {"leading space", " abc", "", "abc"},
    {"leading comma", ",abc", "", "abc"},
    {"runs are not merged", "a,,b", "a", ",b"},
    {"brackets, colon, semicolon and equals", "f(x)", "f", "x)"},
    {"equals", "key=value;next", "key", "value;next"},
    {"empty", "", "", ""},
    {"blanks trimmed, high characters kept", "\t\xE9t\xE9\x01:\x01\xA0 ", "\xE9t\xE9", "\xA0"},
    {"a token past 255 characters", longWord + longWord + ",rest", longWord + longWord, "rest"},
    {"a separator past 255 characters", longWord + ";x", longWord, "x"},
  };
  for (const TokenCase& c : cases) {
    AnsiString s = c.Text;
    EXPECT_EQ(c.Token, GetToken(s)) << c.Name;
    EXPECT_EQ(c.Rest, s) << c.Name;
  }
}

TEST(GetToken, SeparatorsFromATextOrASet)
{
  AnsiString s = "x/y|z w";
  EXPECT_EQ("x", GetToken(s, AnsiString("|/")));
  EXPECT_EQ("y", GetToken(s, AnsiString("|/")));
  EXPECT_EQ("z w", s);

  const TTokenSeparators set = TokenSeparators("\xB7-");
  s = "a\xB7" "b-c d";
  EXPECT_EQ("a", GetToken(s, set));
  EXPECT_EQ("b", GetToken(s, set));
  EXPECT_EQ("c d", GetToken(s, set));
  EXPECT_EQ("", s);
}

TEST(RectText, WritesParenthesisedAndReadsPlainLists)
{
  EXPECT_EQ("(-5,0,10,20)", RectToString(Rect(-5, 0, 10, 20)));

  struct Case {
    AnsiString Text;
    TRect Expected;
  };
  const Case cases[] = {
    {"1,2,3,4", Rect(1, 2, 3, 4)},
    {"1 2 3 4", Rect(1, 2, 3, 4)},
    {"1, 2, 3, 4", Rect(1, 2, 3, 4)},
    {"-5,0,+10,2147483647", Rect(-5, 0, 10, 2147483647)},
    {"1,2,3,4,5", Rect(1, 2, 3, 4)},
    {"1,2,3", TRect()},
    {"(1,2,3,4)", TRect()},
    {"1,,2,3,4", TRect()},
    {"1,2,3,x", TRect()},
    {"1,2,3,4x", TRect()},
    {"1,2,3,2147483648", TRect()},
    {"1,2,3,+-4", TRect()},
    {"", TRect()},
  };
  for (const Case& c : cases) EXPECT_EQ(c.Expected, StringToRect(c.Text)) << c.Text;
}
