// WideString: an owned OLE string (BSTR). Empty is the null BSTR, as OLE expects, and the string
// can be handed to COM without copying (`c_bstr`) or filled by a COM call through `Out`.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>

class WideString {
public:
  WideString() noexcept = default;
  WideString(const wchar_t* text);
  WideString(std::wstring_view text);
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
