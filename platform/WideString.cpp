#include "platform/WideString.h"

#include <cstring>
#include <new>
#include <utility>

namespace {

BSTR AllocOrThrow(const wchar_t* text, size_t length)
{
  if (length == 0) return nullptr;
  BSTR data = SysAllocStringLen(text, static_cast<UINT>(length));
  if (!data) throw std::bad_alloc();
  return data;
}

}  // namespace

WideString::WideString(const wchar_t* text)
  : WideString(std::wstring_view(text ? text : L""))
{
}

WideString::WideString(std::wstring_view text) : FData(AllocOrThrow(text.data(), text.size())) {}

// wchar_t is the 16-bit UTF-16 unit on Windows.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

WideString::WideString(std::u16string_view text)
  : FData(AllocOrThrow(nullptr, text.size()))
{
  if (FData) std::memcpy(FData, text.data(), text.size() * sizeof(char16_t));
}

WideString::WideString(std::string_view ansi) : WideString(AnsiToUtf16(ansi)) {}

WideString::WideString(const WideString& other) : FData(AllocOrThrow(other.c_str(), other.Length()))
{
}

WideString& WideString::operator=(const WideString& other)
{
  if (this != &other) {
    BSTR copy = AllocOrThrow(other.c_str(), other.Length());
    SysFreeString(FData);
    FData = copy;
  }
  return *this;
}

WideString& WideString::operator=(WideString&& other) noexcept
{
  if (this != &other) {
    SysFreeString(FData);
    FData = std::exchange(other.FData, nullptr);
  }
  return *this;
}

WideString WideString::Attach(BSTR data) noexcept
{
  WideString result;
  result.FData = data;
  return result;
}

BSTR WideString::Detach() noexcept
{
  return std::exchange(FData, nullptr);
}

BSTR* WideString::Out() noexcept
{
  SysFreeString(std::exchange(FData, nullptr));
  return &FData;
}

std::string WideString::ToAnsi() const
{
  return Utf16ToAnsi(ToU16());
}

std::u16string WideString::ToU16() const
{
  std::u16string text(static_cast<size_t>(Length()), u'\0');
  if (!text.empty()) std::memcpy(text.data(), FData, text.size() * sizeof(char16_t));
  return text;
}
