// WideString: an owned OLE string (BSTR). Empty is the null BSTR, as OLE expects, and the string
// can be handed to COM without copying (`c_bstr`) or filled by a COM call through `Out`.
#pragma once

#include <windows.h>
#include <oleauto.h>
#undef RegisterClass  // the platform's own, see Classes.h

#include <string>
#include <string_view>

#include "platform/TypInfo.h"

class WideString {
public:
  WideString() noexcept = default;
  WideString(const wchar_t* text);
  WideString(std::wstring_view text);
  WideString(std::u16string_view text);
  // Widens 8-bit text of the system code page.
  explicit WideString(std::string_view ansi);
  WideString(const WideString& other);
  WideString(WideString&& other) noexcept : FData(other.FData) { other.FData = nullptr; }
  ~WideString() { SysFreeString(FData); }

  WideString& operator=(const WideString& other);
  WideString& operator=(WideString&& other) noexcept;

  // Takes ownership of a BSTR that a COM call returned.
  static WideString Attach(BSTR data) noexcept;
  BSTR Detach() noexcept;

  // Frees the current text and returns the slot for a COM call's [out] BSTR.
  BSTR* Out() noexcept;

  BSTR c_bstr() const noexcept { return FData; }
  const wchar_t* c_str() const noexcept { return FData ? FData : L""; }
  int Length() const noexcept { return FData ? static_cast<int>(SysStringLen(FData)) : 0; }
  bool IsEmpty() const noexcept { return Length() == 0; }
  std::wstring_view View() const noexcept { return {c_str(), static_cast<size_t>(Length())}; }

  // Narrows to 8-bit text of the system code page.
  std::string ToAnsi() const;
  std::u16string ToU16() const;

  friend bool operator==(const WideString& a, const WideString& b) noexcept
  {
    return a.View() == b.View();
  }
  friend bool operator==(const WideString& a, const wchar_t* b) noexcept
  {
    return a.View() == std::wstring_view(b ? b : L"");
  }

private:
  BSTR FData = nullptr;
};

// Published WideString properties travel through form data as UTF-16 text.
template <>
struct TValueTraits<WideString> {
  using TStored = std::u16string;
  static const TTypeInfo& Info() { return WideStringTypeInfo(); }
  static std::u16string Store(const WideString& value) { return value.ToU16(); }
  static WideString Load(const std::u16string& value) { return WideString(value); }
};
