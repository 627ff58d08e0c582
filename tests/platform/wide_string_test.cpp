#include <gtest/gtest.h>

#include "platform/SysUtils.h"
#include "platform/WideString.h"

TEST(WideString, EmptyIsTheNullBstr)
{
  EXPECT_EQ(nullptr, WideString().c_bstr());
  EXPECT_EQ(nullptr, WideString(L"").c_bstr());
  EXPECT_EQ(nullptr, WideString(std::string_view("")).c_bstr());
  EXPECT_STREQ(L"", WideString().c_str());
}

TEST(WideString, WidensAndNarrowsTheSystemCodePage)
{
  const WideString wide(std::string_view("Zarinelle"));
  EXPECT_EQ(9, wide.Length());
  EXPECT_TRUE(wide == L"Zarinelle");
  EXPECT_EQ("Zarinelle", wide.ToAnsi());
}

TEST(WideString, CopiesOwnTheirTextAndOutReleasesTheOld)
{
  WideString a(L"movie");
  WideString b = a;
  EXPECT_NE(a.c_bstr(), b.c_bstr());
  EXPECT_TRUE(a == b);

  BSTR* slot = b.Out();
  EXPECT_EQ(nullptr, *slot);
  *slot = SysAllocString(L"replaced");
  EXPECT_TRUE(b == L"replaced");
  EXPECT_TRUE(a == L"movie");

  WideString c = std::move(a);
  EXPECT_EQ(nullptr, a.c_bstr());
  EXPECT_TRUE(c == L"movie");
}

TEST(Exceptions, MessageIsWhat)
{
  try {
    throw EReadError("Stream read error");
  } catch (const Exception& e) {
    EXPECT_EQ("Stream read error", e.Message);
    EXPECT_STREQ("Stream read error", e.what());
  }
}
