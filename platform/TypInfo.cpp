#include "platform/TypInfo.h"

#include <map>
#include <mutex>

int TTypeInfo::EnumValue(std::string_view name) const
{
  for (size_t i = 0; i < Names.size(); ++i)
    if (SameText(Names[i], name)) return static_cast<int>(i);
  return -1;
}

bool TTypeInfo::IsBoolean() const
{
  return this == &BooleanTypeInfo();
}

TTypeInfo TTypeInfo::Integer(AnsiString name, int64_t minValue, int64_t maxValue)
{
  TTypeInfo info;
  info.Kind = TTypeKind::Integer;
  info.Name = std::move(name);
  info.MinValue = minValue;
  info.MaxValue = maxValue;
  return info;
}

TTypeInfo TTypeInfo::Enumeration(AnsiString name, std::string_view names)
{
  TTypeInfo info;
  info.Kind = TTypeKind::Enumeration;
  info.Name = std::move(name);
  for (size_t start = 0; start <= names.size();) {
    size_t comma = names.find(',', start);
    if (comma == std::string_view::npos) comma = names.size();
    info.Names.push_back(Trim(names.substr(start, comma - start)));
    start = comma + 1;
  }
  info.MaxValue = static_cast<int64_t>(info.Names.size()) - 1;
  return info;
}

const TTypeInfo& BooleanTypeInfo()
{
  static const TTypeInfo info = TTypeInfo::Enumeration("Boolean", "False, True");
  return info;
}

const TTypeInfo& StringTypeInfo()
{
  static const TTypeInfo info = [] {
    TTypeInfo text;
    text.Kind = TTypeKind::String;
    text.Name = "AnsiString";
    return text;
  }();
  return info;
}

const TTypeInfo& WideStringTypeInfo()
{
  static const TTypeInfo info = [] {
    TTypeInfo text;
    text.Kind = TTypeKind::WString;
    text.Name = "WideString";
    return text;
  }();
  return info;
}

bool TPropInfo::IsWritable() const
{
  return std::visit([](const auto& access) { return static_cast<bool>(access.Set); }, Access);
}

// Identifier maps ---------------------------------------------------------------------------------

namespace {

struct TIdentMaps {
  std::mutex Lock;
  std::map<const TTypeInfo*, std::span<const TIdentMapEntry>> Maps;

  std::span<const TIdentMapEntry> Find(const TTypeInfo& type)
  {
    const std::lock_guard<std::mutex> guard(Lock);
    const auto found = Maps.find(&type);
    return found == Maps.end() ? std::span<const TIdentMapEntry>() : found->second;
  }
};

TIdentMaps& IdentMaps()
{
  static TIdentMaps maps;
  return maps;
}

}  // namespace

void RegisterIntegerConsts(const TTypeInfo& type, std::span<const TIdentMapEntry> map)
{
  TIdentMaps& maps = IdentMaps();
  const std::lock_guard<std::mutex> guard(maps.Lock);
  maps.Maps[&type] = map;
}

bool IdentToInt(const TTypeInfo& type, std::string_view ident, int64_t& value)
{
  for (const TIdentMapEntry& entry : IdentMaps().Find(type))
    if (SameText(entry.Name, ident)) {
      value = entry.Value;
      return true;
    }
  return false;
}

const char* IntToIdent(const TTypeInfo& type, int64_t value)
{
  for (const TIdentMapEntry& entry : IdentMaps().Find(type))
    if (entry.Value == value) return entry.Name;
  return nullptr;
}
