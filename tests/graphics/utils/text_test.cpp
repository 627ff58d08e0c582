#include <gtest/gtest.h>

#include <string>

#include "graphics/Qv_utils.h"

namespace {

// A memory device context with the system's default font.
class FormatStrTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_NE(nullptr, DC); }
  void TearDown() override { DeleteDC(DC); }

  int Width(const std::wstring& text) const
  {
    SIZE size{};
    GetTextExtentPoint32W(DC, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
  }

  const HDC DC = CreateCompatibleDC(nullptr);
};

}  // namespace

TEST_F(FormatStrTest, KeepsTextThatFits)
{
  const WideString text(L"Zarinelle");
  EXPECT_TRUE(FormatStr(DC, text, Width(L"Zarinelle")) == L"Zarinelle");
  EXPECT_TRUE(FormatStr(DC, WideString(), 0) == L"");
}

TEST_F(FormatStrTest, CutsToTheLongestStartThatFitsWithTheDots)
{
  const std::wstring text = L"The quick brown fox jumps over the lazy dog";
  const int maxWidth = Width(L"The quick brown...");
  const std::wstring result(FormatStr(DC, WideString(text), maxWidth).View());

  ASSERT_GE(result.size(), 3u);
  const std::wstring start = result.substr(0, result.size() - 3);
  EXPECT_EQ(L"...", result.substr(start.size()));
  EXPECT_EQ(0u, text.find(start));
  EXPECT_LE(Width(result), maxWidth);
  EXPECT_GT(Width(text.substr(0, start.size() + 1) + L"..."), maxWidth);

  EXPECT_TRUE(FormatStr(DC, WideString(text), 0) == L"...");
}

TEST(StringToWideString, ConvertsFromTheCodePage)
{
  struct Case {
    const char* Name;
    UINT CodePage;
    AnsiString Text;
    std::wstring Expected;
  };
  const Case cases[] = {
    {"western", 1252, "caf\xE9", L"caf\u00E9"},
    {"cyrillic", 1251, "\xC4\xE0", L"\u0414\u0430"},
    {"OEM control codes as glyphs", 437, "\x01\x02", L"\u263A\u263B"},
    {"UTF-8, which takes no flags", CP_UTF8, "caf\xC3\xA9", L"caf\u00E9"},
    {"UTF-7, which takes no flags", CP_UTF7, "caf+AOk-", L"caf\u00E9"},
    {"empty", 1252, "", L""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.Expected, std::wstring(StringToWideString(c.CodePage, c.Text).View())) << c.Name;
}

TEST(StringToWideString, UnknownCodePageConvertsWithTheSystemAnsiCodePage)
{
  const AnsiString text = "na\xEFve";
  EXPECT_TRUE(StringToWideString(12345, text) == WideString(std::string_view(text)));
}
