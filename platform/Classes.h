// The object model: TObject with its class information, the class registry and TPersistent.
// Pure: no Windows header.
//
// Every class that the platform must know by name opens its body with QV_CLASS, which gives it
// `inherited`, `StaticClass()` and `ClassType()`. A concrete component (constructible from its
// owner) or collection item (constructible from its collection) can then be created by the form
// reader from its class name. A class with published properties, methods or component fields
// declares its own in a static `Publish` function; those of its ancestors are inherited:
//
//   class TqvFlashStream : public TCollectionItem {
//     QV_CLASS(TqvFlashStream, TCollectionItem)
//   public:
//     explicit TqvFlashStream(TCollection* collection);
//     int32_t GetTag() const;
//     void SetTag(int32_t value);
//     ...
//   private:
//     static void Publish(TPublisher<TqvFlashStream>& p);
//   };
//
//   void TqvFlashStream::Publish(TPublisher<TqvFlashStream>& p)
//   {
//     p.Property("FlashStore", &TqvFlashStream::GetFlashStore, &TqvFlashStream::SetFlashStore);
//     p.Property("Tag", &TqvFlashStream::GetTag, &TqvFlashStream::SetTag).Default(0);
//   }
//
// Properties are read and written through member functions or fields, in any mix; `Default`
// (ordinal properties) names the value that is not written, `Stored` a constant or a predicate,
// `OfType` a type of the same kind declared elsewhere (a colour type for an int32_t alias).
// A form publishes its component fields and event handlers the same way:
//
//   p.Field("Flash", &TMainForm::Flash);
//   p.Method<&TMainForm::FormCreate>("FormCreate");
#pragma once

#include "platform/SysUtils.h"
#include "platform/TypInfo.h"

#include <functional>
#include <string_view>
#include <type_traits>
#include <vector>

// <windows.h> makes RegisterClass a macro for RegisterClassA. Here the name is the platform's class
// registration; the window class function is called by its A or W name, as every system function
// is in this project. Our headers that include <windows.h> repeat this after it.
#undef RegisterClass

class TObject;
class TPersistent;
class TComponent;
class TCollection;
class TCollectionItem;
class TFiler;

// What the platform knows about a class at run time.
struct TClassInfo {
  const char* ClassName = "";
  const TClassInfo* Parent = nullptr;
  // Set for concrete components and collection items, so form data can create them by class.
  TComponent* (*CreateComponent)(TComponent* owner) = nullptr;
  TCollectionItem* (*CreateItem)(TCollection* collection) = nullptr;
  // What the class itself publishes, in declaration order.
  std::vector<TPropInfo> Properties;
  std::vector<TMethodEntry> Methods;
  std::vector<TFieldEntry> Fields;

  bool InheritsFrom(const TClassInfo& ancestor) const;
  // Lookups along the class chain, most derived first; names match with CompareText.
  const TPropInfo* FindProperty(std::string_view name) const;
  const TMethodEntry* FindMethod(std::string_view name) const;
  const TMethodEntry* FindMethod(void (*code)()) const;
  const TFieldEntry* FindField(std::string_view name) const;
  // Every published property in the order form data writes them: the base class's first; a
  // property that a descendant publishes again keeps its place and takes the new declaration.
  std::vector<const TPropInfo*> AllProperties() const;
};

// Declaration helpers -----------------------------------------------------------------------------

template <class M>
struct TMemberTraits;

template <class C, class R>
struct TMemberTraits<R (C::*)() const> {
  using TClass = C;
  using TValue = std::remove_cvref_t<R>;
};

template <class C, class R>
struct TMemberTraits<R (C::*)()> {
  using TClass = C;
  using TValue = std::remove_cvref_t<R>;
};

template <class C, class P>
struct TMemberTraits<void (C::*)(P)> {
  using TClass = C;
  using TValue = std::remove_cvref_t<P>;
};

template <class C, class V>
  requires(!std::is_function_v<V>)
struct TMemberTraits<V C::*> {
  using TClass = C;
  using TValue = V;
};

// Refines a property just declared.
template <class V>
class TPropertyDecl {
public:
  explicit TPropertyDecl(TPropInfo& info) : FInfo(info) {}

  TPropertyDecl& Default(const V& value)
    requires std::is_same_v<typename TValueTraits<V>::TStored, int64_t>
  {
    FInfo.Default = TValueTraits<V>::Store(value);
    return *this;
  }
  // Gives the property a type of the same kind declared elsewhere: an integer type with its own
  // identifier map for a C++ type that is a plain alias of an integer.
  TPropertyDecl& OfType(const TTypeInfo& type)
  {
    if (type.Kind != FInfo.Type->Kind)
      throw EInvalidOperation(Format("Property %s cannot take the type %s", FInfo.Name, type.Name));
    FInfo.Type = &type;
    return *this;
  }
  TPropertyDecl& Stored(bool stored)
  {
    FInfo.Stored = [stored](TObject&) { return stored; };
    return *this;
  }
  template <class C>
  TPropertyDecl& Stored(bool (C::*predicate)() const)
  {
    FInfo.Stored = [predicate](TObject& instance) {
      return (static_cast<C&>(instance).*predicate)();
    };
    return *this;
  }

private:
  TPropInfo& FInfo;
};

template <class T>
class TPublisher {
public:
  explicit TPublisher(TClassInfo& info) : FInfo(info) {}

  template <class Getter, class Setter>
  TPropertyDecl<typename TMemberTraits<Getter>::TValue> Property(const char* name, Getter getter,
                                                                 Setter setter)
  {
    using V = typename TMemberTraits<Getter>::TValue;
    using Traits = TValueTraits<V>;
    using S = typename Traits::TStored;
    using GetterClass = typename TMemberTraits<Getter>::TClass;
    static_assert(std::is_base_of_v<GetterClass, T>, "the getter belongs to another class");

    TPropAccessors<S> access;
    access.Get = [getter](TObject& instance) -> S {
      return Traits::Store(std::invoke(getter, static_cast<GetterClass&>(instance)));
    };
    if constexpr (!std::is_null_pointer_v<Setter>) {
      using SetterClass = typename TMemberTraits<Setter>::TClass;
      static_assert(std::is_base_of_v<SetterClass, T>, "the setter belongs to another class");
      static_assert(std::is_same_v<typename TMemberTraits<Setter>::TValue, V>,
                    "the getter and the setter disagree on the property's type");
      access.Set = [setter](TObject& instance, const S& value) {
        auto& object = static_cast<SetterClass&>(instance);
        if constexpr (std::is_member_function_pointer_v<Setter>)
          std::invoke(setter, object, Traits::Load(value));
        else
          std::invoke(setter, object) = Traits::Load(value);
      };
    }
    TPropInfo& info = FInfo.Properties.emplace_back();
    info.Name = name;
    info.Type = &Traits::Info();
    info.Access = std::move(access);
    return TPropertyDecl<V>(info);
  }

  // A property without a setter: an object (nested, or a collection) that is read in place.
  template <class Getter>
  TPropertyDecl<typename TMemberTraits<Getter>::TValue> Property(const char* name, Getter getter)
  {
    return Property(name, getter, nullptr);
  }

  template <auto Handler>
  void Method(const char* name)
  {
    using Thunk = TMethodThunk<Handler>;
    static_assert(std::is_base_of_v<typename Thunk::TClass, T>,
                  "the handler belongs to another class");
    FInfo.Methods.push_back({name, &TypeInfoOf<TEvent<typename Thunk::TSignature>>(),
                             reinterpret_cast<void (*)()>(&Thunk::Call)});
  }

  template <class C, class F>
  void Field(const char* name, F* C::*field)
  {
    static_assert(std::is_base_of_v<C, T>, "the field belongs to another class");
    static_assert(std::is_base_of_v<TComponent, F>, "published fields hold components");
    FInfo.Fields.push_back({name, &F::StaticClass, [field](TObject& owner, TComponent* component) {
                              static_cast<C&>(owner).*field = dynamic_cast<F*>(component);
                            }});
  }

private:
  TClassInfo& FInfo;
};

template <class T>
TClassInfo DescribeClass(const char* name)
{
  using Parent = typename T::inherited;
  static_assert(std::is_base_of_v<Parent, T> && !std::is_same_v<Parent, T>,
                "QV_CLASS must name the class's direct parent");
  TClassInfo info;
  info.ClassName = name;
  info.Parent = &Parent::StaticClass();
  if constexpr (!std::is_abstract_v<T>) {
    if constexpr (std::is_base_of_v<TComponent, T> && std::is_constructible_v<T, TComponent*>)
      info.CreateComponent = [](TComponent* owner) -> TComponent* { return new T(owner); };
    if constexpr (std::is_base_of_v<TCollectionItem, T> && std::is_constructible_v<T, TCollection*>)
      info.CreateItem = [](TCollection* owner) -> TCollectionItem* { return new T(owner); };
  }
  // Only a Publish of T's own takes a TPublisher<T>; one inherited from the parent does not.
  if constexpr (requires(TPublisher<T>& publisher) { T::Publish(publisher); }) {
    TPublisher<T> publisher(info);
    T::Publish(publisher);
  }
  return info;
}

#define QV_CLASS(Class, ParentClass)                                                              \
public:                                                                                           \
  using inherited = ParentClass;                                                                  \
  static const TClassInfo& StaticClass()                                                          \
  {                                                                                               \
    static const TClassInfo info = DescribeClass<Class>(#Class);                                  \
    return info;                                                                                  \
  }                                                                                               \
  const TClassInfo& ClassType() const override { return StaticClass(); }                          \
                                                                                                  \
private:                                                                                          \
  friend TClassInfo DescribeClass<Class>(const char*);

class TObject {
public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  static const TClassInfo& StaticClass();
  virtual const TClassInfo& ClassType() const { return StaticClass(); }
  AnsiString ClassName() const { return ClassType().ClassName; }
  bool InheritsFrom(const TClassInfo& ancestor) const { return ClassType().InheritsFrom(ancestor); }
};

// The class registry: form data finds the classes of its components here by name (the letters a to
// z match either case). Registering a class registers its ancestors too; registering a different
// class under a name already taken raises EFilerError.
void RegisterClass(const TClassInfo& info);
void UnRegisterClass(const TClassInfo& info);
// nullptr when no class of that name is registered.
const TClassInfo* GetClass(std::string_view name);
// Raises EClassNotFound "Class name not found".
const TClassInfo& FindClass(std::string_view name);

// An object that can be copied onto another (Assign) and stored in form data.
class TPersistent : public TObject {
  QV_CLASS(TPersistent, TObject)
public:
  // Copies `source` into this object. The default asks the source to do it (AssignTo), and a source
  // that cannot raises EConvertError "Cannot assign a TSource to a TDest" ("nil" for no source).
  virtual void Assign(TPersistent* source);
  // The object that owns this one and names it in form data, or nullptr.
  virtual TPersistent* GetOwner();

protected:
  // Copies this object into `dest`; the default cannot and raises the assignment error.
  virtual void AssignTo(TPersistent* dest);
  // Declares properties stored in form data beyond the published ones; the default declares none.
  virtual void DefineProperties(TFiler& filer);

  [[noreturn]] void AssignError(TPersistent* source);

  friend class TReader;
  friend class TWriter;
};
