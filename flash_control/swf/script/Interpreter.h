// The script interpreter: runs one block of actions (a frame script, a button action, a function)
// against a timeline of the stage. Every read of the code is bounds-checked; malformed code and the
// stage's caps stop the block, never the host.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "flash_control/swf/format/Movie.h"
#include "flash_control/swf/script/Object.h"
#include "flash_control/swf/script/Value.h"

namespace swf {

class DisplayObject;
class Object;
class Reader;
class SpriteObject;
class Stage;

class Interpreter {
public:
  explicit Interpreter(Stage& stage) : stage_(stage) {}

  // Runs `code` with `target` as its timeline; false when a cap or malformed code stopped it.
  bool Run(SpriteObject& target, const std::shared_ptr<const Movie>& source, const ActionBytes& code);

private:
  // One running block: a frame script or a function call.
  struct Activation {
    const ActionBytes* Code = nullptr;
    size_t Begin = 0, End = 0;
    int Version = 0;
    std::shared_ptr<const Movie> Source;
    ConstantPool Pool;
    std::shared_ptr<DisplayObject> Original;  // the timeline the block belongs to
    std::shared_ptr<DisplayObject> Target;    // changed by set-target
    std::optional<std::map<std::string, Value>> Locals;  // functions only
    std::vector<Value> Registers;
    Value This;
    Value Result;
    size_t StackBase = 0;
  };

  enum class Outcome { Continue, Return };
  void Execute(Activation& a);
  Outcome Step(Activation& a, uint8_t code, Reader& payload, size_t& next);
  void Binary(uint8_t code, int version);

  Value Pop();
  void Push(Value v);
  std::vector<Value> PopArguments();

  Value GetVariable(Activation& a, const std::string& name);
  void SetVariable(Activation& a, const std::string& name, Value value);
  void DefineLocal(Activation& a, const std::string& name, Value value);
  Value GetMember(const Value& object, const std::string& name, int version);
  DisplayObject* ResolveTarget(Activation& a, const Value& path);

  Value CallFunction(Activation& caller, const Value& function, Value thisValue, std::vector<Value> args);
  Value CallMethod(Activation& caller, const Value& object, const std::string& name, std::vector<Value> args);
  Value CallClipMethod(Activation& caller, DisplayObject& clip, const std::string& name, const std::vector<Value>& args);
  Value Construct(Activation& caller, const std::string& name, std::vector<Value> args);
  void DefineFunction(Activation& a, Reader& payload, size_t& next, bool extended);
  struct FrameRef {
    SpriteObject* Sprite;
    std::string Frame;
  };
  FrameRef ResolveFrame(DisplayObject* base, std::string text);
  void GotoFrameOrLabel(DisplayObject* base, const Value& frame, bool play, uint32_t bias, int version);
  void GetUrl(const std::string& url, const std::string& target);
  std::string LocalKey(const Activation& a, std::string_view name) const;
  Value Text(std::string text);

  Stage& stage_;
  std::vector<Value> stack_;
  uint32_t callDepth_ = 0;
  bool failed_ = false;
};

}  // namespace swf
