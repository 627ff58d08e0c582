// Run-time type information for published properties: what form data needs to know about a
// property's type, enumeration and set types with their value names, identifier maps for integer
// types (colours), and the property records of the per-class tables (Classes.h). Pure: no Windows
// header.
//
// Enumerations and integer types that appear as published properties declare their type once,
// next to their definition, in the platform's style (unscoped, values from 0):
//
//   enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
//   QV_ENUM_TYPE(TBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)
//
//   enum TColor : int32_t {};          // a distinct integer type, so it can have identifiers
//   QV_INTEGER_TYPE(TColor)
//   RegisterIntegerConsts(TypeInfoOf<TColor>(), ColorIdents);   // at start-up, {value, "clRed"}...
//
// A type that is only an alias of an integer (using TColor = int32_t) gets a type of its own with
// TTypeInfo::Integer("TColor", ...), and its properties name it with OfType (Classes.h).
//
// A set of an enumeration is TSet<TEnum>; it needs no declaration of its own.
#pragma once

#include "platform/Events.h"
#include "platform/SysUtils.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

class TObject;
class TComponent;
struct TClassInfo;

enum class TTypeKind { Integer, Int64, Enumeration, Set, Float, String, WString, Class, Method };
enum class TFloatType { Single, Double };

struct TTypeInfo {
  TTypeKind Kind = TTypeKind::Integer;
  AnsiString Name;
  // Integer: the range of the C++ type.
  int64_t MinValue = 0;
  int64_t MaxValue = 0;
  // Enumeration: the names of the values 0, 1, ...
  std::vector<AnsiString> Names;
  // Set: the enumeration of its elements.
  const TTypeInfo* ElementType = nullptr;
  TFloatType FloatType = TFloatType::Double;
  // Class: the declared class of the property.
  const TClassInfo& (*ClassType)() = nullptr;

  // The value of an enumeration name (the letters a to z match either case), or -1.
  int EnumValue(std::string_view name) const;
  bool IsBoolean() const;

  static TTypeInfo Integer(AnsiString name, int64_t minValue, int64_t maxValue);
  // `names` is the comma-separated list of the value names, as QV_ENUM_TYPE spells it.
  static TTypeInfo Enumeration(AnsiString name, std::string_view names);
};

template <class E>
constexpr bool EnumeratorsAreSequential(std::initializer_list<E> values)
{
  int expected = 0;
  for (E value : values)
    if (static_cast<int>(value) != expected++) return false;
  return expected <= 64;
}

#define QV_ENUM_TYPE(Enum, ...)                                                                   \
  inline const TTypeInfo& QvTypeInfo(Enum)                                                        \
  {                                                                                               \
    static_assert(EnumeratorsAreSequential<Enum>({__VA_ARGS__}),                                  \
                  "QV_ENUM_TYPE lists every value of the enumeration in order, from 0");          \
    static const TTypeInfo info = TTypeInfo::Enumeration(#Enum, #__VA_ARGS__);                    \
    return info;                                                                                  \
  }

#define QV_INTEGER_TYPE(Type)                                                                     \
  inline const TTypeInfo& QvTypeInfo(Type)                                                        \
  {                                                                                               \
    using TBase = std::underlying_type_t<Type>;                                                   \
    static const TTypeInfo info = TTypeInfo::Integer(#Type, std::numeric_limits<TBase>::min(),    \
                                                     std::numeric_limits<TBase>::max());          \
    return info;                                                                                  \
  }

// Identifier maps ---------------------------------------------------------------------------------

// Identifiers that stand for values of an integer type in form data ("clBtnFace" for a colour).
// The table must outlive its registration; registering a type again replaces its table.
struct TIdentMapEntry {
  int32_t Value;
  const char* Name;
};

void RegisterIntegerConsts(const TTypeInfo& type, std::span<const TIdentMapEntry> map);
// The value of `ident` for `type` (the letters a to z match either case); false when it has none.
bool IdentToInt(const TTypeInfo& type, std::string_view ident, int64_t& value);
// The identifier of `value` for `type`, or nullptr.
const char* IntToIdent(const TTypeInfo& type, int64_t value);

// Sets --------------------------------------------------------------------------------------------

// A set of values of an enumeration with at most 64 values.
template <class E>
class TSet {
  static_assert(std::is_enum_v<E>);

public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> elements)
  {
    for (E element : elements) FBits |= Bit(element);
  }
  static constexpr TSet FromBits(uint64_t bits)
  {
    TSet set;
    set.FBits = bits;
    return set;
  }

  constexpr uint64_t Bits() const { return FBits; }
  constexpr bool Contains(E element) const { return (FBits & Bit(element)) != 0; }
  constexpr bool Empty() const { return FBits == 0; }
  TSet& Include(E element)
  {
    FBits |= Bit(element);
    return *this;
  }
  TSet& Exclude(E element)
  {
    FBits &= ~Bit(element);
    return *this;
  }

  friend constexpr TSet operator+(TSet a, TSet b) { return FromBits(a.FBits | b.FBits); }
  friend constexpr TSet operator-(TSet a, TSet b) { return FromBits(a.FBits & ~b.FBits); }
  friend constexpr TSet operator*(TSet a, TSet b) { return FromBits(a.FBits & b.FBits); }
  friend constexpr bool operator==(TSet, TSet) = default;

private:
  static constexpr uint64_t Bit(E element) { return uint64_t(1) << static_cast<unsigned>(element); }

  uint64_t FBits = 0;
};

// Value traits ------------------------------------------------------------------------------------

// How a C++ property type is described and stored: TStored is the form in which form data handles
// its values (int64_t for integers, enumerations and sets, double, AnsiString, std::u16string,
// TObject*, TMethod). Other headers add types of their own (WideString.h).
template <class V>
struct TValueTraits;

const TTypeInfo& BooleanTypeInfo();

template <class V>
  requires std::is_integral_v<V> && (!std::is_same_v<V, bool>) &&
           (sizeof(V) <= 4 || std::is_signed_v<V>)
struct TValueTraits<V> {
  using TStored = int64_t;
  static const TTypeInfo& Info()
  {
    static const TTypeInfo info = [] {
      if constexpr (sizeof(V) == 8) {
        TTypeInfo int64 = TTypeInfo::Integer("Int64", std::numeric_limits<V>::min(),
                                             std::numeric_limits<V>::max());
        int64.Kind = TTypeKind::Int64;
        return int64;
      } else {
        static constexpr const char* SignedNames[] = {"ShortInt", "SmallInt", "", "Integer"};
        static constexpr const char* UnsignedNames[] = {"Byte", "Word", "", "Cardinal"};
        return TTypeInfo::Integer(
          (std::is_signed_v<V> ? SignedNames : UnsignedNames)[sizeof(V) - 1],
          std::numeric_limits<V>::min(), std::numeric_limits<V>::max());
      }
    }();
    return info;
  }
  static int64_t Store(V value) { return value; }
  static V Load(int64_t value) { return static_cast<V>(value); }
};

template <>
struct TValueTraits<bool> {
  using TStored = int64_t;
  static const TTypeInfo& Info() { return BooleanTypeInfo(); }
  static int64_t Store(bool value) { return value ? 1 : 0; }
  static bool Load(int64_t value) { return value != 0; }
};

// Enumerations and distinct integer types, declared with QV_ENUM_TYPE or QV_INTEGER_TYPE.
template <class V>
  requires std::is_enum_v<V>
struct TValueTraits<V> {
  using TStored = int64_t;
  static const TTypeInfo& Info() { return QvTypeInfo(V{}); }
  static int64_t Store(V value) { return static_cast<int64_t>(value); }
  static V Load(int64_t value) { return static_cast<V>(value); }
};

template <class E>
struct TValueTraits<TSet<E>> {
  using TStored = int64_t;
  static const TTypeInfo& Info()
  {
    static const TTypeInfo info = [] {
      const TTypeInfo& element = TValueTraits<E>::Info();
      TTypeInfo set;
      set.Kind = TTypeKind::Set;
      set.Name = "set of " + element.Name;
      set.ElementType = &element;
      return set;
    }();
    return info;
  }
  static int64_t Store(TSet<E> value) { return static_cast<int64_t>(value.Bits()); }
  static TSet<E> Load(int64_t value) { return TSet<E>::FromBits(static_cast<uint64_t>(value)); }
};

template <class V>
  requires std::is_floating_point_v<V>
struct TValueTraits<V> {
  using TStored = double;
  static const TTypeInfo& Info()
  {
    static const TTypeInfo info = [] {
      TTypeInfo real;
      real.Kind = TTypeKind::Float;
      real.Name = sizeof(V) == 4 ? "Single" : "Double";
      real.FloatType = sizeof(V) == 4 ? TFloatType::Single : TFloatType::Double;
      return real;
    }();
    return info;
  }
  static double Store(V value) { return value; }
  static V Load(double value) { return static_cast<V>(value); }
};

const TTypeInfo& StringTypeInfo();
const TTypeInfo& WideStringTypeInfo();

template <>
struct TValueTraits<AnsiString> {
  using TStored = AnsiString;
  static const TTypeInfo& Info() { return StringTypeInfo(); }
  static const AnsiString& Store(const AnsiString& value) { return value; }
  static const AnsiString& Load(const AnsiString& value) { return value; }
};

template <>
struct TValueTraits<std::u16string> {
  using TStored = std::u16string;
  static const TTypeInfo& Info() { return WideStringTypeInfo(); }
  static const std::u16string& Store(const std::u16string& value) { return value; }
  static const std::u16string& Load(const std::u16string& value) { return value; }
};

// Objects: nested persistent objects, collections and references to components.
template <class T>
struct TValueTraits<T*> {
  using TStored = TObject*;
  static const TTypeInfo& Info()
  {
    static const TTypeInfo info = [] {
      TTypeInfo object;
      object.Kind = TTypeKind::Class;
      object.ClassType = &T::StaticClass;
      return object;
    }();
    return info;
  }
  static TObject* Store(T* value) { return value; }
  static T* Load(TObject* value) { return dynamic_cast<T*>(value); }
};

// Events: each signature is a type of its own, so form data binds only a method of that signature.
template <class Signature>
struct TValueTraits<TEvent<Signature>> {
  using TStored = TMethod;
  static const TTypeInfo& Info()
  {
    static const TTypeInfo info = [] {
      TTypeInfo event;
      event.Kind = TTypeKind::Method;
      event.Name = "event";
      return event;
    }();
    return info;
  }
  static TMethod Store(const TEvent<Signature>& value) { return value.Method(); }
  static TEvent<Signature> Load(const TMethod& value)
  {
    return TEvent<Signature>::FromMethod(value);
  }
};

template <class V>
const TTypeInfo& TypeInfoOf()
{
  return TValueTraits<V>::Info();
}

// Property, method and field records --------------------------------------------------------------

template <class S>
struct TPropAccessors {
  std::function<S(TObject&)> Get;
  std::function<void(TObject&, const S&)> Set;  // empty for a read-only property
};

// One published property of a class.
struct TPropInfo {
  AnsiString Name;
  const TTypeInfo* Type = nullptr;
  std::variant<TPropAccessors<int64_t>, TPropAccessors<double>, TPropAccessors<AnsiString>,
               TPropAccessors<std::u16string>, TPropAccessors<TObject*>, TPropAccessors<TMethod>>
    Access;
  // Ordinal properties: the value that is not written. Without one the value is always written.
  std::optional<int64_t> Default;
  // Whether the property is written at all; unset means always.
  std::function<bool(TObject&)> Stored;

  template <class S>
  S Get(TObject& instance) const
  {
    return std::get<TPropAccessors<S>>(Access).Get(instance);
  }
  template <class S>
  void Set(TObject& instance, const S& value) const
  {
    std::get<TPropAccessors<S>>(Access).Set(instance, value);
  }
  bool IsWritable() const;
  bool IsStored(TObject& instance) const { return !Stored || Stored(instance); }
};

// A published method: a handler that form data can bind to an event of the same signature.
struct TMethodEntry {
  AnsiString Name;
  const TTypeInfo* Signature = nullptr;
  void (*Code)() = nullptr;
};

// A published component field of a form: it points at the owned component of the same name.
struct TFieldEntry {
  AnsiString Name;
  const TClassInfo& (*FieldClass)() = nullptr;
  std::function<void(TObject& owner, TComponent* component)> Set;
};
