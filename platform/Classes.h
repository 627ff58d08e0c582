// The object model: TObject with its class information, the class registry and TPersistent.
// Pure: no Windows header.
//
// Every class that the platform must know by name opens its body with QV_CLASS:
//
//   class TqvFlashList : public TComponent {
//     QV_CLASS(TqvFlashList, TComponent)
//   public:
//     explicit TqvFlashList(TComponent* owner);
//     ...
//   };
//
// which gives it `inherited`, `StaticClass()` and `ClassType()`. A concrete component
// (constructible from its owner) or collection item (constructible from its collection) can then be
// created by the form reader from its class name.
#pragma once

#include "platform/SysUtils.h"

#include <string_view>
#include <type_traits>

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

  bool InheritsFrom(const TClassInfo& ancestor) const;
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
private:

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

protected:
  // Copies this object into `dest`; the default cannot and raises the assignment error.
  virtual void AssignTo(TPersistent* dest);
  // Declares properties stored in form data beyond the published ones; the default declares none.
  virtual void DefineProperties(TFiler& filer);
  // The object that owns this one and names it in form data, or nullptr.
  virtual TPersistent* GetOwner();

  [[noreturn]] void AssignError(TPersistent* source);

  friend class TReader;
  friend class TWriter;
};
