// Script values: undefined, null, booleans, numbers, texts, objects of the script heap and
// references to display objects (which vanish when the object is removed). Texts are immutable and
// shared, so copying a value never copies its text.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

namespace swf {

class DisplayObject;
class Object;

struct Undefined {
  friend bool operator==(Undefined, Undefined) { return true; }
};
struct Null {
  friend bool operator==(Null, Null) { return true; }
};
using ClipRef = std::weak_ptr<DisplayObject>;

class Value {
public:
  Value() = default;
  Value(Null) : data_(Null{}) {}
  Value(bool b) : data_(b) {}
  Value(double n) : data_(n) {}
  Value(std::string s) : data_(std::make_shared<const std::string>(std::move(s))) {}
  Value(const char* s) : Value(std::string(s)) {}
  Value(Object* o)  // a null object is undefined
  {
    if (o)
      data_ = o;
  }
  Value(ClipRef clip) : data_(std::move(clip)) {}

  bool IsUndefined() const { return std::holds_alternative<Undefined>(data_); }
  bool IsNull() const { return std::holds_alternative<Null>(data_); }
  bool IsBoolean() const { return std::holds_alternative<bool>(data_); }
  bool IsNumber() const { return std::holds_alternative<double>(data_); }
  bool IsString() const { return std::holds_alternative<Text>(data_); }
  // Null for anything but a heap object.
  Object* AsObject() const;
  // Null for anything but a display object that still exists.
  std::shared_ptr<DisplayObject> AsClip() const;
  const std::string* AsString() const
  {
    const auto* text = std::get_if<Text>(&data_);
    return text ? text->get() : nullptr;
  }

  // Conversions as scripts see them; `version` is the movie's file version, which decides the
  // text of undefined and how texts become numbers and booleans.
  double ToNumber(int version) const;
  bool ToBoolean(int version) const;
  std::string ToString(int version) const;

  // Loose equality of the newer equality action, and strict sameness.
  bool LooseEquals(const Value& other, int version) const;

private:
  using Text = std::shared_ptr<const std::string>;
  std::variant<Undefined, Null, bool, double, Text, Object*, ClipRef> data_;
};

// Numbers as scripts print them: integers without a point, otherwise up to 15 significant digits.
std::string FormatNumber(double n);
// A text as a number: decimal, with optional sign, fraction and exponent, or "0x" hexadecimal;
// surrounding white space is allowed; anything else is NaN.
double ParseNumber(std::string_view text);

}  // namespace swf
