// Actions: an AVM1 action list (the body of DoAction and of button actions), built in execution
// order. Jumps go to labels placed before or after them; `Encode` resolves them and ends the list.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "flash_control/swf/format/Codes.h"
#include "tools/swf/ByteWriter.h"

namespace swfwriter {

struct Null {};
struct Undefined {};
struct Register {
  uint8_t index;
};
// An entry of the constant pool, pushed by its index.
struct Constant {
  uint16_t index;
};
// A 32-bit float; plain numbers are pushed as integers (int) or doubles (double).
struct Float {
  float value;
};

// One value of a push action. A string that the list's constant pool holds is pushed as that entry.
class PushValue {
public:
  PushValue(const char* text) : FValue(std::string(text)) {}
  PushValue(std::string text) : FValue(std::move(text)) {}
  PushValue(int32_t number) : FValue(number) {}
  PushValue(double number) : FValue(number) {}
  PushValue(Float number) : FValue(number) {}
  PushValue(bool value) : FValue(value) {}
  PushValue(Null value) : FValue(value) {}
  PushValue(Undefined value) : FValue(value) {}
  PushValue(Register value) : FValue(value) {}
  PushValue(Constant value) : FValue(value) {}

  using Value =
    std::variant<std::string, int32_t, double, Float, bool, Null, Undefined, Register, Constant>;
  const Value& Get() const { return FValue; }

private:
  Value FValue;
};

// How GetURL2 sends the timeline's variables.
enum class SendVars : uint8_t { None = 0, Get = 1, Post = 2 };

class Actions {
public:
  struct Label {
    size_t id;
  };

  Actions& ConstantPool(std::vector<std::string> strings);
  Actions& Push(PushValue value) { return Push({value}); }
  // One push action carrying the values in order.
  Actions& Push(std::initializer_list<PushValue> values);
  Actions& Pop() { return Op(swf::kActionPop); }
  Actions& StoreRegister(uint8_t index);

  Actions& GetVariable() { return Op(swf::kActionGetVariable); }
  Actions& SetVariable() { return Op(swf::kActionSetVariable); }
  Actions& DefineLocal() { return Op(swf::kActionDefineLocal); }
  Actions& GetMember() { return Op(swf::kActionGetMember); }
  Actions& SetMember() { return Op(swf::kActionSetMember); }
  Actions& NewObject() { return Op(swf::kActionNewObject); }
  Actions& CallFunction() { return Op(swf::kActionCallFunction); }
  Actions& CallMethod() { return Op(swf::kActionCallMethod); }

  // Arithmetic and comparison, named as the actions are: Add, Equals and Less are the numeric
  // forms; Add2, Equals2 and Less2 the typed ones that compilers emit.
  Actions& Add() { return Op(swf::kActionAdd); }
  Actions& Add2() { return Op(swf::kActionAdd2); }
  Actions& Subtract() { return Op(swf::kActionSubtract); }
  Actions& Multiply() { return Op(swf::kActionMultiply); }
  Actions& Divide() { return Op(swf::kActionDivide); }
  Actions& Equals() { return Op(swf::kActionEquals); }
  Actions& Equals2() { return Op(swf::kActionEquals2); }
  Actions& Less() { return Op(swf::kActionLess); }
  Actions& Less2() { return Op(swf::kActionLess2); }
  Actions& Greater() { return Op(swf::kActionGreater); }
  Actions& Not() { return Op(swf::kActionNot); }

  Label NewLabel();
  // Places the label before the next action.
  Actions& Bind(Label label);
  Actions& Jump(Label target);
  // Jumps when the popped value is true.
  Actions& If(Label target);

  Actions& Stop() { return Op(swf::kActionStop); }
  Actions& Play() { return Op(swf::kActionPlay); }
  Actions& NextFrame() { return Op(swf::kActionNextFrame); }
  Actions& PreviousFrame() { return Op(swf::kActionPreviousFrame); }
  // Frames count from 0.
  Actions& GotoFrame(uint16_t frame);
  Actions& GotoLabel(std::string_view label);
  Actions& GetURL(std::string_view url, std::string_view target);
  // Pops the target, then the URL.
  Actions& GetURL2(SendVars method = SendVars::None, bool loadTarget = false,
                   bool loadVariables = false);

  // Any action by its code; codes 0x80 and above carry a payload (which may be empty).
  Actions& Raw(uint8_t code, std::initializer_list<uint8_t> payload = {});

  // The encoded list with its closing end action.
  Bytes Encode() const;

private:
  Actions& Op(swf::ActionCode code);
  Actions& Record(swf::ActionCode code, const Bytes& payload);
  Actions& Branch(swf::ActionCode code, Label target);

  ByteWriter FOut;
  std::vector<std::string> FPool;
  std::vector<std::ptrdiff_t> FLabels;  // offset of each label, -1 until bound
  struct Fixup {
    size_t offsetField;  // where the 16-bit jump offset goes
    size_t label;
  };
  std::vector<Fixup> FFixups;
};

}  // namespace swfwriter
