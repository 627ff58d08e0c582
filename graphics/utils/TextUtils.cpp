#include "graphics/Qv_utils.h"

#include <string>

namespace {

int TextWidth(HDC DC, std::wstring_view text)
{
  SIZE size{};
  GetTextExtentPoint32W(DC, text.data(), static_cast<int>(text.size()), &size);
  return size.cx;
}

// The length of the conversion of S from codePage, 0 when the code page cannot convert it.
int ConvertedLength(UINT codePage, DWORD flags, const AnsiString& S)
{
  return MultiByteToWideChar(codePage, flags, S.data(), static_cast<int>(S.size()), nullptr, 0);
}

}  // namespace

WideString FormatStr(HDC DC, const WideString& Text, int MaxWidth)
{
  const std::wstring_view text = Text.View();
  if (TextWidth(DC, text) <= MaxWidth) return Text;
  std::wstring result;
  for (const wchar_t c : text) {
    if (TextWidth(DC, result + c + L"...") > MaxWidth) break;
    result += c;
  }
  return WideString(result + L"...");
}

WideString StringToWideString(UINT CodePage, const AnsiString& S)
{
  if (S.empty()) return {};
  DWORD flags = MB_PRECOMPOSED | MB_USEGLYPHCHARS;
  int length = ConvertedLength(CodePage, flags, S);
  // Some code pages (UTF-7 and UTF-8 among them) take no flags: ask them again without, rather than
  // let their text be converted wrongly with the ANSI code page.
  if (length == 0 && GetLastError() == ERROR_INVALID_FLAGS) {
    flags = 0;
    length = ConvertedLength(CodePage, flags, S);
  }
  if (length == 0 && CodePage != CP_ACP) {
    CodePage = CP_ACP;
    flags = MB_PRECOMPOSED | MB_USEGLYPHCHARS;
    length = ConvertedLength(CodePage, flags, S);
  }
  if (length == 0) return WideString(std::wstring(S.size(), L'?'));
  std::wstring result(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CodePage, flags, S.data(), static_cast<int>(S.size()), result.data(), length);
  return WideString(result);
}
