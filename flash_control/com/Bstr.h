// Conversions between the control's UTF-16 texts and OLE strings.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>

namespace flash_control {

// A new OLE string the caller owns; null for the empty text.
inline BSTR ToBstr(std::u16string_view text)
{
  if (text.empty()) return nullptr;
  const std::wstring wide(text.begin(), text.end());
  return SysAllocStringLen(wide.data(), UINT(wide.size()));
}

// Copies an OLE string; null reads as empty.
inline std::u16string FromBstr(BSTR text)
{
  return std::u16string(text, text + SysStringLen(text));
}

inline std::wstring ToWide(std::u16string_view text)
{
  return std::wstring(text.begin(), text.end());
}

// Answers an [out] text: E_POINTER without a slot, E_OUTOFMEMORY when the copy fails.
inline HRESULT ReturnText(std::u16string_view text, BSTR* result)
{
  if (!result) return E_POINTER;
  *result = ToBstr(text);
  return text.empty() || *result ? S_OK : E_OUTOFMEMORY;
}

}  // namespace flash_control
