#include "flash_control/swf/script/Object.h"

#include <algorithm>

#include "flash_control/swf/format/Names.h"

namespace swf {

std::string Object::Key(std::string_view name) const
{
  return caseSensitive_ ? std::string(name) : LowerAscii(name);
}

Value Object::Get(std::string_view name) const
{
  const auto it = properties_.find(Key(name));
  return it == properties_.end() ? Value() : it->second;
}

bool Object::Has(std::string_view name) const
{
  return properties_.count(Key(name)) != 0;
}

namespace {

// What one property costs: its name, its text if it has one, and the map's own share.
size_t Footprint(const std::string& key, const Value& value)
{
  constexpr size_t kEntryOverhead = 64;
  const std::string* text = value.AsString();
  return kEntryOverhead + key.size() + (text ? text->size() : 0);
}

}  // namespace

bool Object::Set(std::string_view name, Value value)
{
  std::string key = Key(name);
  const auto it = properties_.find(key);
  const size_t added = Footprint(key, value);
  const size_t removed = it == properties_.end() ? 0 : Footprint(it->first, it->second);
  if (added > removed && !heap_.Grow(added - removed))
    return false;
  if (removed > added)
    heap_.Shrink(removed - added);
  bytes_ = bytes_ + added - removed;
  if (it == properties_.end())
    properties_.emplace(std::move(key), std::move(value));
  else
    it->second = std::move(value);
  return true;
}

bool Object::Hold(size_t bytes)
{
  if (!heap_.Grow(bytes))
    return false;
  bytes_ += bytes;
  return true;
}

Object* Heap::New(Object::Kind kind, bool caseSensitive)
{
  if (objects_.size() >= maxObjects_)
    return nullptr;
  return objects_.emplace_back(std::make_unique<Object>(kind, caseSensitive, *this)).get();
}

bool Heap::Grow(size_t bytes)
{
  if (bytes > maxBytes_ - bytes_) {
    refused_ = true;
    return false;
  }
  bytes_ += bytes;
  return true;
}

void Heap::Mark(Object* root)
{
  std::vector<Object*> pending{root};
  while (!pending.empty()) {
    Object* o = pending.back();
    pending.pop_back();
    if (o == nullptr || o->marked_)
      continue;
    o->marked_ = true;
    for (const auto& [name, value] : o->properties_)
      pending.push_back(value.AsObject());
  }
}

void Heap::Collect(const std::vector<Object*>& roots)
{
  for (Object* root : roots)
    Mark(root);
  std::erase_if(objects_, [this](const std::unique_ptr<Object>& o) {
    if (o->marked_)
      return false;
    bytes_ -= o->bytes_;
    return true;
  });
  for (const auto& o : objects_)
    o->marked_ = false;
  nextCollection_ = std::max<size_t>(1024, objects_.size() * 2);
}

}  // namespace swf
