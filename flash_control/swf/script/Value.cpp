#include "flash_control/swf/script/Value.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "flash_control/swf/runtime/DisplayObject.h"

namespace swf {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool IsSpace(char c)
{
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

}  // namespace

Object* Value::AsObject() const
{
  const auto* o = std::get_if<Object*>(&data_);
  return o ? *o : nullptr;
}

std::shared_ptr<DisplayObject> Value::AsClip() const
{
  const auto* clip = std::get_if<ClipRef>(&data_);
  return clip ? clip->lock() : nullptr;
}

double Value::ToNumber(int version) const
{
  return std::visit(
      [version](const auto& v) -> double {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, Undefined>)
          return version >= 7 ? kNaN : 0.0;
        else if constexpr (std::is_same_v<T, Null>)
          return version >= 7 ? kNaN : 0.0;
        else if constexpr (std::is_same_v<T, bool>)
          return v ? 1.0 : 0.0;
        else if constexpr (std::is_same_v<T, double>)
          return v;
        else if constexpr (std::is_same_v<T, Text>)
          return v->empty() && version < 7 ? 0.0 : ParseNumber(*v);
        else
          return kNaN;
      },
      data_);
}

bool Value::ToBoolean(int version) const
{
  return std::visit(
      [version](const auto& v) -> bool {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, Undefined> || std::is_same_v<T, Null>)
          return false;
        else if constexpr (std::is_same_v<T, bool>)
          return v;
        else if constexpr (std::is_same_v<T, double>)
          return v != 0 && !std::isnan(v);
        else if constexpr (std::is_same_v<T, Text>) {
          if (version >= 7)
            return !v->empty();
          const double n = ParseNumber(*v);
          return n != 0 && !std::isnan(n);
        } else if constexpr (std::is_same_v<T, ClipRef>)
          return !v.expired();
        else
          return true;
      },
      data_);
}

std::string Value::ToString(int version) const
{
  return std::visit(
      [version](const auto& v) -> std::string {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, Undefined>)
          return version >= 7 ? "undefined" : "";
        else if constexpr (std::is_same_v<T, Null>)
          return "null";
        else if constexpr (std::is_same_v<T, bool>)
          return v ? "true" : "false";
        else if constexpr (std::is_same_v<T, double>)
          return FormatNumber(v);
        else if constexpr (std::is_same_v<T, Text>)
          return *v;
        else if constexpr (std::is_same_v<T, ClipRef>) {
          const auto clip = v.lock();
          return clip ? TargetPath(*clip) : std::string();
        } else
          return "[object Object]";
      },
      data_);
}

bool Value::LooseEquals(const Value& other, int version) const
{
  const bool undefinedOrNull = IsUndefined() || IsNull();
  const bool otherUndefinedOrNull = other.IsUndefined() || other.IsNull();
  if (undefinedOrNull || otherUndefinedOrNull)
    return undefinedOrNull && otherUndefinedOrNull;
  if (IsString() && other.IsString())
    return *AsString() == *other.AsString();
  if (const auto* clip = std::get_if<ClipRef>(&data_)) {
    const auto* otherClip = std::get_if<ClipRef>(&other.data_);
    return otherClip && !clip->owner_before(*otherClip) && !otherClip->owner_before(*clip);
  }
  if (Object* o = AsObject())
    return o == other.AsObject();
  if (other.AsObject() || std::holds_alternative<ClipRef>(other.data_))
    return false;
  return ToNumber(version) == other.ToNumber(version);
}

std::string FormatNumber(double n)
{
  if (std::isnan(n))
    return "NaN";
  if (std::isinf(n))
    return n > 0 ? "Infinity" : "-Infinity";
  if (n == 0)
    return "0";
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, n, std::chars_format::general, 15);
  std::string text(buffer, result.ptr);
  // "1e-07" reads "1e-7", as scripts print it.
  const size_t e = text.find('e');
  if (e != std::string::npos) {
    size_t digits = e + 2;
    while (digits + 1 < text.size() && text[digits] == '0')
      text.erase(digits, 1);
  }
  return text;
}

double ParseNumber(std::string_view text)
{
  while (!text.empty() && IsSpace(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back()))
    text.remove_suffix(1);
  if (text.empty())
    return kNaN;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    uint64_t value = 0;
    const auto result = std::from_chars(text.data() + 2, text.data() + text.size(), value, 16);
    return result.ec == std::errc() && result.ptr == text.data() + text.size() ? static_cast<double>(value) : kNaN;
  }
  const char* begin = text.data();
  if (text.front() == '+')
    ++begin;
  double value = 0;
  const auto result = std::from_chars(begin, text.data() + text.size(), value, std::chars_format::general);
  if (result.ptr != text.data() + text.size())
    return kNaN;
  if (result.ec == std::errc::result_out_of_range)
    return value;
  return result.ec == std::errc() ? value : kNaN;
}

}  // namespace swf
