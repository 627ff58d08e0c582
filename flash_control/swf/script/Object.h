// Objects of the script heap and the heap that owns them. Objects refer to each other freely
// (cycles included), so the heap frees them by marking what the stage can still reach. The heap
// also keeps the account of the bytes that objects hold in names and texts, within a budget.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "flash_control/swf/format/Movie.h"
#include "flash_control/swf/script/Value.h"

namespace swf {

// The texts of a constant-pool action, shared by the block that declared them, the functions it
// defines and every value pushed from them.
using ConstantPool = std::shared_ptr<const std::vector<Value>>;

// A function defined by a script: its code stays inside the (immutable) movie that holds it.
struct ScriptFunction {
  std::shared_ptr<const Movie> Source;
  const ActionBytes* Code = nullptr;
  size_t Begin = 0, Size = 0;
  std::vector<std::string> Parameters;
  // Functions of the second form keep parameters and preloaded values in registers: a register
  // number of 0 means the parameter is a named local.
  std::vector<uint8_t> ParameterRegisters;
  uint8_t RegisterCount = 0;
  uint16_t PreloadFlags = 0;
  bool UsesRegisters = false;
  ConstantPool Pool;
  ClipRef Target;  // the timeline it was defined on
};

// What a NetStream object knows: whether the file it was asked to play is a video, and playing.
struct StreamState {
  bool Playing = false;
  bool IsVideo = false;
};

class Heap;

class Object {
public:
  enum class Kind { Plain, Function, NetConnection, NetStream };

  Object(Kind kind, bool caseSensitive, Heap& heap) : kind_(kind), caseSensitive_(caseSensitive), heap_(heap) {}

  Kind GetKind() const { return kind_; }
  Value Get(std::string_view name) const;
  bool Has(std::string_view name) const;
  // False, with nothing changed, when the heap's budget has no room for the value.
  bool Set(std::string_view name, Value value);
  // Accounts for `bytes` the object holds besides its properties; false when they do not fit.
  bool Hold(size_t bytes);

  std::unique_ptr<ScriptFunction> Function;
  StreamState Stream;

private:
  friend class Heap;
  std::string Key(std::string_view name) const;

  Kind kind_;
  bool caseSensitive_;
  Heap& heap_;
  bool marked_ = false;
  size_t bytes_ = 0;
  std::map<std::string, Value> properties_;
};

class Heap {
public:
  Heap(uint32_t maxObjects, size_t maxBytes) : maxObjects_(maxObjects), maxBytes_(maxBytes) {}

  // A new object, or null when the heap holds as many as it may.
  Object* New(Object::Kind kind, bool caseSensitive);
  // Whether enough was allocated since the last collection to make one worthwhile.
  bool WantsCollection() const { return objects_.size() >= nextCollection_; }
  // Frees every object not reachable from `roots` (and what they refer to).
  void Collect(const std::vector<Object*>& roots);

  // The byte account: Grow fails (and notes the refusal) when it would pass the budget.
  bool Grow(size_t bytes);
  void Shrink(size_t bytes) { bytes_ -= bytes; }
  // Whether a Grow failed since the last ClearRefusal: the script that asked must stop.
  bool Refused() const { return refused_; }
  void ClearRefusal() { refused_ = false; }

private:
  static void Mark(Object* root);

  uint32_t maxObjects_;
  size_t maxBytes_;
  size_t bytes_ = 0;
  bool refused_ = false;
  size_t nextCollection_ = 1024;
  std::vector<std::unique_ptr<Object>> objects_;
};

}  // namespace swf
