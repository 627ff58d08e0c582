// The system code page conversions declared in SysUtils.h.
#include <windows.h>

#include "platform/SysUtils.h"

std::u16string AnsiToUtf16(std::string_view text)
{
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  std::u16string result(length > 0 ? length : 0, u'\0');
  auto* wide = reinterpret_cast<wchar_t*>(result.data());
  MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide, length);
  return result;
}

AnsiString Utf16ToAnsi(std::u16string_view text)
{
  if (text.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int size = static_cast<int>(text.size());
  const int length = WideCharToMultiByte(CP_ACP, 0, wide, size, nullptr, 0, nullptr, nullptr);
  AnsiString result(length > 0 ? length : 0, '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, size, result.data(), length, nullptr, nullptr);
  return result;
}
