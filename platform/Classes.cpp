#include "platform/Classes.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

struct TClassRegistry {
  std::mutex Lock;
  std::vector<const TClassInfo*> Classes;

  const TClassInfo* Find(std::string_view name) const
  {
    const auto found = std::find_if(Classes.begin(), Classes.end(), [&](const TClassInfo* info) {
      return SameText(info->ClassName, name);
    });
    return found == Classes.end() ? nullptr : *found;
  }
};

TClassRegistry& Registry()
{
  static TClassRegistry registry;
  return registry;
}

}  // namespace

bool TClassInfo::InheritsFrom(const TClassInfo& ancestor) const
{
  for (const TClassInfo* info = this; info; info = info->Parent)
    if (info == &ancestor) return true;
  return false;
}

namespace {

template <class Entry, class Match>
const Entry* FindInChain(const TClassInfo* info, std::vector<Entry> TClassInfo::*table, Match match)
{
  for (; info; info = info->Parent)
    for (const Entry& entry : info->*table)
      if (match(entry)) return &entry;
  return nullptr;
}

}  // namespace

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const
{
  return FindInChain(this, &TClassInfo::Properties,
                     [&](const TPropInfo& entry) { return SameText(entry.Name, name); });
}

const TMethodEntry* TClassInfo::FindMethod(std::string_view name) const
{
  return FindInChain(this, &TClassInfo::Methods,
                     [&](const TMethodEntry& entry) { return SameText(entry.Name, name); });
}

const TMethodEntry* TClassInfo::FindMethod(void (*code)()) const
{
  return FindInChain(this, &TClassInfo::Methods,
                     [&](const TMethodEntry& entry) { return entry.Code == code; });
}

const TFieldEntry* TClassInfo::FindField(std::string_view name) const
{
  return FindInChain(this, &TClassInfo::Fields,
                     [&](const TFieldEntry& entry) { return SameText(entry.Name, name); });
}

std::vector<const TPropInfo*> TClassInfo::AllProperties() const
{
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* info = this; info; info = info->Parent) chain.push_back(info);
  std::vector<const TPropInfo*> properties;
  for (auto info = chain.rbegin(); info != chain.rend(); ++info)
    for (const TPropInfo& property : (*info)->Properties) {
      const auto same = std::find_if(properties.begin(), properties.end(), [&](const TPropInfo* p) {
        return SameText(p->Name, property.Name);
      });
      if (same == properties.end())
        properties.push_back(&property);
      else
        *same = &property;
    }
  return properties;
}

const TClassInfo& TObject::StaticClass()
{
  static const TClassInfo info = [] {
    TClassInfo object;
    object.ClassName = "TObject";
    return object;
  }();
  return info;
}

void RegisterClass(const TClassInfo& info)
{
  TClassRegistry& registry = Registry();
  const std::lock_guard<std::mutex> guard(registry.Lock);
  // Ancestors up to TPersistent are registered as well, so form data may name them.
  for (const TClassInfo* entry = &info; entry && entry != &TObject::StaticClass();
       entry = entry->Parent) {
    if (const TClassInfo* existing = registry.Find(entry->ClassName)) {
      if (existing == entry) break;
      throw EFilerError(Format("A class named %s already exists", entry->ClassName));
    }
    registry.Classes.push_back(entry);
  }
}

void UnRegisterClass(const TClassInfo& info)
{
  TClassRegistry& registry = Registry();
  const std::lock_guard<std::mutex> guard(registry.Lock);
  std::erase(registry.Classes, &info);
}

const TClassInfo* GetClass(std::string_view name)
{
  TClassRegistry& registry = Registry();
  const std::lock_guard<std::mutex> guard(registry.Lock);
  return registry.Find(name);
}

const TClassInfo& FindClass(std::string_view name)
{
  const TClassInfo* info = GetClass(name);
  if (!info) throw EClassNotFound(Format("Class %s not found", name));
  return *info;
}

void TPersistent::Assign(TPersistent* source)
{
  if (source)
    source->AssignTo(this);
  else
    AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* dest)
{
  dest->AssignError(this);
}

void TPersistent::DefineProperties(TFiler&) {}

TPersistent* TPersistent::GetOwner()
{
  return nullptr;
}

void TPersistent::AssignError(TPersistent* source)
{
  const AnsiString sourceName = source ? source->ClassName() : AnsiString("nil");
  throw EConvertError(Format("Cannot assign a %s to a %s", sourceName, ClassName()));
}
