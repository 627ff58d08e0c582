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

void Object::Set(std::string_view name, Value value)
{
  properties_[Key(name)] = std::move(value);
}

Object* Heap::New(Object::Kind kind, bool caseSensitive)
{
  if (objects_.size() >= maxObjects_)
    return nullptr;
  return objects_.emplace_back(std::make_unique<Object>(kind, caseSensitive)).get();
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
  std::erase_if(objects_, [](const std::unique_ptr<Object>& o) { return !o->marked_; });
  for (const auto& o : objects_)
    o->marked_ = false;
  nextCollection_ = std::max<size_t>(1024, objects_.size() * 2);
}

}  // namespace swf
