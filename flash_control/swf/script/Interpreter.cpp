#include "flash_control/swf/script/Interpreter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "flash_control/swf/format/Codes.h"
#include "flash_control/swf/format/Names.h"
#include "flash_control/swf/format/Reader.h"
#include "flash_control/swf/runtime/Stage.h"
#include "flash_control/swf/script/Object.h"

namespace swf {

namespace {

constexpr size_t kGlobalRegisters = 4;

// ECMAScript ToInt32: modulo 2^32, NaN and infinities give 0.
int32_t ToInt32(double n)
{
  if (!std::isfinite(n))
    return 0;
  const double m = std::fmod(std::trunc(n), 4294967296.0);
  const double wrapped = m < 0 ? m + 4294967296.0 : m;
  return static_cast<int32_t>(static_cast<uint32_t>(wrapped));
}

double ReadFloat(Reader& in)
{
  const uint32_t bits = in.U32();
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

// Doubles in push actions store their high 32 bits first.
double ReadDouble(Reader& in)
{
  const uint64_t high = in.U32();
  const uint64_t low = in.U32();
  const uint64_t bits = high << 32 | low;
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

SpriteObject* AsSprite(DisplayObject* object)
{
  return object && object->GetKind() == DisplayObject::Kind::Sprite ? static_cast<SpriteObject*>(object) : nullptr;
}

size_t CodePoints(const std::string& s, int version)
{
  if (version < 6)
    return s.size();
  size_t n = 0;
  for (unsigned char c : s)
    n += (c & 0xC0) != 0x80;
  return n;
}

}  // namespace

bool Interpreter::Run(SpriteObject& target, const std::shared_ptr<const Movie>& source, const ActionBytes& code)
{
  Activation a;
  a.Code = &code;
  a.End = code.size();
  a.Version = source->Version;
  a.Source = source;
  a.Original = a.Target = target.shared_from_this();
  a.This = Value(ClipRef(a.Target));
  a.Registers.resize(kGlobalRegisters);
  Execute(a);
  stack_.clear();
  return !failed_;
}

void Interpreter::Execute(Activation& a)
{
  const ActionBytes& code = *a.Code;
  size_t pc = a.Begin;
  while (pc < a.End && !failed_) {
    if (!stage_.ChargeAction()) {
      failed_ = true;
      return;
    }
    const uint8_t op = code[pc];
    if (op == kActionEnd)
      return;
    size_t next = pc + 1;
    std::span<const uint8_t> payload;
    if (ActionHasPayload(op)) {
      if (a.End - pc < 3) {
        failed_ = true;
        return;
      }
      const size_t length = code[pc + 1] | code[pc + 2] << 8;
      if (length > a.End - pc - 3) {
        failed_ = true;
        return;
      }
      payload = std::span<const uint8_t>(code).subspan(pc + 3, length);
      next = pc + 3 + length;
    }
    Reader in(payload);
    try {
      if (Step(a, op, in, next) == Outcome::Return)
        return;
    } catch (const FormatError&) {
      failed_ = true;
      return;
    }
    if (stage_.GetHeap().Refused()) {
      failed_ = true;
      return;
    }
    pc = next;
  }
}

Value Interpreter::Pop()
{
  if (stack_.size() == 0)
    return Value();
  Value v = std::move(stack_.back());
  stack_.pop_back();
  return v;
}

void Interpreter::Push(Value v)
{
  if (stack_.size() >= stage_.GetLimits().MaxStackDepth) {
    failed_ = true;
    return;
  }
  stack_.push_back(std::move(v));
}

std::vector<Value> Interpreter::PopArguments()
{
  const double requested = Pop().ToNumber(7);
  const size_t count = std::isnan(requested) || requested < 0 ? 0 : static_cast<size_t>(std::min<double>(requested, static_cast<double>(stack_.size())));
  std::vector<Value> args;
  args.reserve(count);
  for (size_t i = 0; i < count; ++i)
    args.push_back(Pop());
  return args;
}

// Texts longer than the cap stop the script instead of growing without end.
Value Interpreter::Text(std::string text)
{
  if (text.size() > stage_.GetLimits().MaxStringLength) {
    failed_ = true;
    return Value();
  }
  // Making a text is work in proportion to its length.
  stage_.Charge(static_cast<uint32_t>(text.size() / 64));
  return Value(std::move(text));
}

std::string Interpreter::LocalKey(const Activation& a, std::string_view name) const
{
  return CaseSensitiveNames(a.Version) ? std::string(name) : LowerAscii(name);
}

DisplayObject* Interpreter::ResolveTarget(Activation& a, const Value& path)
{
  if (auto clip = path.AsClip())
    return clip.get();
  return stage_.ResolveTarget(a.Target.get(), path.ToString(a.Version));
}

// Variables -----------------------------------------------------------------------------------------

Value Interpreter::GetVariable(Activation& a, const std::string& name)
{
  if (a.Locals) {
    const auto it = a.Locals->find(LocalKey(a, name));
    if (it != a.Locals->end())
      return it->second;
  }
  if (SameName(name, "this", a.Version))
    return a.This;
  return stage_.GetVariable(a.Target.get(), name);
}

void Interpreter::SetVariable(Activation& a, const std::string& name, Value value)
{
  if (a.Locals) {
    const auto it = a.Locals->find(LocalKey(a, name));
    if (it != a.Locals->end()) {
      it->second = std::move(value);
      return;
    }
  }
  stage_.SetVariable(a.Target.get(), name, std::move(value));
}

void Interpreter::DefineLocal(Activation& a, const std::string& name, Value value)
{
  if (a.Locals)
    (*a.Locals)[LocalKey(a, name)] = std::move(value);
  else
    stage_.SetVariable(a.Target.get(), name, std::move(value));
}

Value Interpreter::GetMember(const Value& object, const std::string& name, int version)
{
  if (const std::string* s = object.AsString(); s && SameName(name, "length", version))
    return Value(static_cast<double>(CodePoints(*s, version)));
  return stage_.MemberOf(object, name);
}

// Calls -----------------------------------------------------------------------------------------------

Value Interpreter::CallFunction(Activation& caller, const Value& function, Value thisValue, std::vector<Value> args)
{
  Object* fn = function.AsObject();
  if (fn == nullptr || !fn->Function)
    return Value();
  if (callDepth_ >= stage_.GetLimits().MaxCallDepth) {
    failed_ = true;
    return Value();
  }
  const ScriptFunction& f = *fn->Function;
  Activation a;
  a.Code = f.Code;
  a.Begin = f.Begin;
  a.End = f.Begin + f.Size;
  a.Source = f.Source;
  a.Version = f.Source->Version;
  a.Pool = f.Pool;
  a.Original = a.Target = f.Target.lock();
  if (!a.Target)
    a.Original = a.Target = caller.Target;
  a.Locals.emplace();
  a.This = thisValue.IsUndefined() ? Value(ClipRef(a.Target)) : std::move(thisValue);
  if (f.UsesRegisters) {
    a.Registers.resize(std::max<size_t>(f.RegisterCount, 1));
    // Preloaded values fill the registers from 1 in this order: this, arguments, super, _root,
    // _parent, _global.
    size_t next = 1;
    auto preload = [&](uint16_t flag, Value v) {
      if ((f.PreloadFlags & flag) && next < a.Registers.size())
        a.Registers[next++] = std::move(v);
    };
    preload(0x0001, a.This);
    preload(0x0004, Value());
    preload(0x0010, Value());
    preload(0x0040, stage_.GetVariable(a.Target.get(), "_root"));
    preload(0x0080, stage_.GetVariable(a.Target.get(), "_parent"));
    preload(0x0100, Value());
  } else {
    a.Registers.resize(kGlobalRegisters);
  }
  for (size_t i = 0; i < f.Parameters.size(); ++i) {
    Value arg = i < args.size() ? std::move(args[i]) : Value();
    const uint8_t reg = i < f.ParameterRegisters.size() ? f.ParameterRegisters[i] : 0;
    if (reg != 0 && reg < a.Registers.size())
      a.Registers[reg] = std::move(arg);
    else
      (*a.Locals)[LocalKey(a, f.Parameters[i])] = std::move(arg);
  }
  a.StackBase = stack_.size();
  ++callDepth_;
  Execute(a);
  --callDepth_;
  if (stack_.size() > a.StackBase)
    stack_.resize(a.StackBase);
  return a.Result;
}

Value Interpreter::CallMethod(Activation& caller, const Value& object, const std::string& name, std::vector<Value> args)
{
  const int version = caller.Version;
  if (auto clip = object.AsClip()) {
    const Value member = stage_.GetMember(*clip, name);
    if (member.AsObject() && member.AsObject()->Function)
      return CallFunction(caller, member, object, std::move(args));
    return CallClipMethod(caller, *clip, name, args);
  }
  Object* o = object.AsObject();
  if (o == nullptr)
    return Value();
  const Value member = o->Get(name);
  if (member.AsObject() && member.AsObject()->Function)
    return CallFunction(caller, member, object, std::move(args));
  switch (o->GetKind()) {
  case Object::Kind::NetConnection:
    if (SameName(name, "connect", version)) {
      o->Set("isConnected", Value(true));
      return Value(true);
    }
    break;
  case Object::Kind::NetStream:
    if (SameName(name, "play", version)) {
      // Decoding is out of reach; the stream only checks that the file is a video.
      StreamState& stream = o->Stream;
      const std::string path = args.empty() ? std::string() : args[0].ToString(version);
      Host* host = stage_.GetHost();
      const auto head = host ? host->ReadFile(path, 3) : std::nullopt;
      stream.IsVideo = head && head->size() >= 3 && (*head)[0] == 'F' && (*head)[1] == 'L' && (*head)[2] == 'V';
      stream.Playing = stream.IsVideo;
    } else if (SameName(name, "close", version)) {
      o->Stream.Playing = false;
    } else if (SameName(name, "pause", version)) {
      o->Stream.Playing = !o->Stream.Playing && o->Stream.IsVideo;
    }
    break;
  default:
    break;
  }
  return Value();
}

Value Interpreter::CallClipMethod(Activation& caller, DisplayObject& clip, const std::string& name,
                                  const std::vector<Value>& args)
{
  const int version = caller.Version;
  if (clip.GetKind() == DisplayObject::Kind::Video) {
    auto& video = static_cast<VideoObject&>(clip);
    if (SameName(name, "attachVideo", version)) {
      Object* stream = args.empty() ? nullptr : args[0].AsObject();
      video.Stream = stream && stream->GetKind() == Object::Kind::NetStream ? stream : nullptr;
    } else if (SameName(name, "clear", version)) {
      video.Stream = nullptr;
    }
    return Value();
  }
  if (clip.GetKind() != DisplayObject::Kind::Sprite)
    return Value();
  auto& sprite = static_cast<SpriteObject&>(clip);
  const Value first = args.empty() ? Value() : args[0];
  if (SameName(name, "play", version))
    sprite.Playing = true;
  else if (SameName(name, "stop", version))
    sprite.Playing = false;
  else if (SameName(name, "gotoAndPlay", version))
    GotoFrameOrLabel(&clip, first, true, 0, version);
  else if (SameName(name, "gotoAndStop", version))
    GotoFrameOrLabel(&clip, first, false, 0, version);
  else if (SameName(name, "nextFrame", version)) {
    stage_.GotoFrame(sprite, sprite.CurrentFrame + 1);
    sprite.Playing = false;
  } else if (SameName(name, "prevFrame", version)) {
    if (sprite.CurrentFrame > 0)
      stage_.GotoFrame(sprite, sprite.CurrentFrame - 1);
    sprite.Playing = false;
  } else if (SameName(name, "getURL", version)) {
    GetUrl(first.ToString(version), args.size() > 1 ? args[1].ToString(version) : std::string());
  }
  return Value();
}

Value Interpreter::Construct(Activation& caller, const std::string& name, std::vector<Value> args)
{
  const int version = caller.Version;
  const bool caseSensitive = CaseSensitiveNames(version);
  Heap& heap = stage_.GetHeap();
  if (SameName(name, "NetConnection", version))
    return Value(heap.New(Object::Kind::NetConnection, caseSensitive));
  if (SameName(name, "NetStream", version)) {
    Object* stream = heap.New(Object::Kind::NetStream, caseSensitive);
    if (stream && !args.empty())
      stream->Set("connection", args[0]);
    return Value(stream);
  }
  const Value constructor = GetVariable(caller, name);
  const bool isFunction = constructor.AsObject() && constructor.AsObject()->Function;
  if (!isFunction && !SameName(name, "Object", version) && !SameName(name, "Array", version))
    return Value();
  Object* object = heap.New(Object::Kind::Plain, caseSensitive);
  if (object == nullptr)
    return Value();
  if (isFunction)
    CallFunction(caller, constructor, Value(object), std::move(args));
  return Value(object);
}

// A named function becomes a variable; an anonymous one is pushed.
void Interpreter::DefineFunction(Activation& a, Reader& in, size_t& next, bool extended)
{
  auto f = std::make_unique<ScriptFunction>();
  const std::string name = in.String();
  const uint16_t count = in.U16();
  if (extended) {
    f->UsesRegisters = true;
    f->RegisterCount = in.U8();
    f->PreloadFlags = in.U16();
    for (uint16_t i = 0; i < count; ++i) {
      f->ParameterRegisters.push_back(in.U8());
      f->Parameters.push_back(in.String());
    }
  } else {
    for (uint16_t i = 0; i < count; ++i)
      f->Parameters.push_back(in.String());
  }
  const uint16_t size = in.U16();
  if (size > a.End - next)
    throw FormatError("function body runs past its block");
  f->Source = a.Source;
  f->Code = a.Code;
  f->Begin = next;
  f->Size = size;
  f->Pool = a.Pool;
  f->Target = a.Target;
  next += size;
  // Functions defined in a loop must not pile up copies of their names.
  size_t footprint = sizeof(ScriptFunction);
  for (const std::string& p : f->Parameters)
    footprint += p.size() + sizeof(std::string);
  Object* fn = stage_.GetHeap().New(Object::Kind::Function, CaseSensitiveNames(a.Version));
  if (fn && fn->Hold(footprint))
    fn->Function = std::move(f);
  else
    fn = nullptr;
  if (name.empty())
    Push(Value(fn));
  else if (fn)
    DefineLocal(a, name, Value(fn));
}

// Timeline actions ----------------------------------------------------------------------------------

namespace {

// A frame number counting from 1, or a label; nothing when the sprite has neither.
std::optional<uint32_t> FrameIndex(const SpriteObject& sprite, std::string_view text)
{
  const double number = ParseNumber(text);
  if (std::isnan(number))
    return sprite.Content.FindLabel(text);
  if (number < 1)
    return std::nullopt;
  return static_cast<uint32_t>(std::min(number - 1, 65535.0));
}

}  // namespace

// "path:frame" names a frame of another timeline than `base`.
Interpreter::FrameRef Interpreter::ResolveFrame(DisplayObject* base, std::string text)
{
  const size_t colon = text.rfind(':');
  if (colon == std::string::npos)
    return {AsSprite(base), std::move(text)};
  SpriteObject* sprite = AsSprite(stage_.ResolveTarget(base, std::string_view(text).substr(0, colon)));
  return {sprite, text.substr(colon + 1)};
}

// A frame given as a number (counting from 1, plus `bias`) or as a text: see ResolveFrame and
// FrameIndex.
void Interpreter::GotoFrameOrLabel(DisplayObject* base, const Value& frame, bool play, uint32_t bias, int version)
{
  SpriteObject* sprite = AsSprite(base);
  std::optional<uint32_t> index;
  if (frame.IsNumber()) {
    const double number = frame.ToNumber(version);
    if (sprite && number >= 1)
      index = static_cast<uint32_t>(std::min(number - 1 + bias, 65535.0));
  } else {
    const FrameRef ref = ResolveFrame(base, frame.ToString(version));
    sprite = ref.Sprite;
    if (sprite)
      index = FrameIndex(*sprite, ref.Frame);
  }
  if (!index)
    return;
  stage_.GotoFrame(*sprite, *index);
  sprite->Playing = play;
}

void Interpreter::GetUrl(const std::string& url, const std::string& target)
{
  Host* host = stage_.GetHost();
  if (host == nullptr)
    return;
  constexpr std::string_view kCommand = "FSCommand:";
  if (StartsWithIgnoringCase(url, kCommand))
    host->FSCommand(std::string_view(url).substr(kCommand.size()), target);
  else
    host->GetUrl(url, target);
}

// Arithmetic, comparison and bit operations on the two top values: a (below) op b (top).
void Interpreter::Binary(uint8_t code, int version)
{
  const Value b = Pop();
  const Value a = Pop();
  const double x = a.ToNumber(version), y = b.ToNumber(version);
  auto boolean = [&](bool v) { Push(version >= 5 ? Value(v) : Value(v ? 1.0 : 0.0)); };
  switch (code) {
  case kActionAdd: Push(x + y); break;
  case kActionSubtract: Push(x - y); break;
  case kActionMultiply: Push(x * y); break;
  case kActionDivide: Push(x / y); break;
  case kActionModulo: Push(std::fmod(x, y)); break;
  case kActionEquals: boolean(x == y); break;
  case kActionLess: boolean(x < y); break;
  case kActionGreater:
  case kActionLess2:
    if (a.IsString() && b.IsString())
      boolean(code == kActionLess2 ? *a.AsString() < *b.AsString() : *a.AsString() > *b.AsString());
    else if (std::isnan(x) || std::isnan(y))
      Push(Value());
    else
      boolean(code == kActionLess2 ? x < y : x > y);
    break;
  case kActionAnd: boolean(a.ToBoolean(version) && b.ToBoolean(version)); break;
  case kActionOr: boolean(a.ToBoolean(version) || b.ToBoolean(version)); break;
  case kActionBitAnd: Push(static_cast<double>(ToInt32(x) & ToInt32(y))); break;
  case kActionBitOr: Push(static_cast<double>(ToInt32(x) | ToInt32(y))); break;
  case kActionBitXor: Push(static_cast<double>(ToInt32(x) ^ ToInt32(y))); break;
  case kActionBitLShift: Push(static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(ToInt32(x)) << (ToInt32(y) & 31)))); break;
  case kActionBitRShift: Push(static_cast<double>(ToInt32(x) >> (ToInt32(y) & 31))); break;
  case kActionBitURShift: Push(static_cast<double>(static_cast<uint32_t>(ToInt32(x)) >> (ToInt32(y) & 31))); break;
  default: break;
  }
}

Interpreter::Outcome Interpreter::Step(Activation& a, uint8_t code, Reader& in, size_t& next)
{
  const int version = a.Version;
  switch (code) {
  case kActionNextFrame:
  case kActionPreviousFrame:
    if (SpriteObject* sprite = AsSprite(a.Target.get())) {
      if (code == kActionNextFrame)
        stage_.GotoFrame(*sprite, sprite->CurrentFrame + 1);
      else if (sprite->CurrentFrame > 0)
        stage_.GotoFrame(*sprite, sprite->CurrentFrame - 1);
      sprite->Playing = false;
    }
    break;
  case kActionPlay:
  case kActionStop:
    if (SpriteObject* sprite = AsSprite(a.Target.get()))
      sprite->Playing = code == kActionPlay;
    break;
  case kActionAdd:
  case kActionSubtract:
  case kActionMultiply:
  case kActionDivide:
  case kActionModulo:
  case kActionEquals:
  case kActionLess:
  case kActionLess2:
  case kActionGreater:
  case kActionAnd:
  case kActionOr:
  case kActionBitAnd:
  case kActionBitOr:
  case kActionBitXor:
  case kActionBitLShift:
  case kActionBitRShift:
  case kActionBitURShift:
    Binary(code, version);
    break;
  case kActionNot: {
    const bool v = Pop().ToBoolean(version);
    Push(version >= 5 ? Value(!v) : Value(v ? 0.0 : 1.0));
    break;
  }
  case kActionStringEquals:
  case kActionStringLess:
  case kActionStringGreater: {
    const std::string b = Pop().ToString(version), a2 = Pop().ToString(version);
    const bool v = code == kActionStringEquals ? a2 == b : code == kActionStringLess ? a2 < b : a2 > b;
    Push(version >= 5 ? Value(v) : Value(v ? 1.0 : 0.0));
    break;
  }
  case kActionStringLength:
    Push(static_cast<double>(CodePoints(Pop().ToString(version), version)));
    break;
  case kActionStringExtract: {
    const double count = Pop().ToNumber(version), index = Pop().ToNumber(version);
    const std::string s = Pop().ToString(version);
    const double from = std::isfinite(index) ? std::clamp(index - 1, 0.0, static_cast<double>(s.size())) : 0;
    const double length = std::isfinite(count) ? std::clamp(count, 0.0, static_cast<double>(s.size())) : 0;
    Push(Text(s.substr(static_cast<size_t>(from), static_cast<size_t>(length))));
    break;
  }
  case kActionStringAdd: {
    const std::string b = Pop().ToString(version);
    Push(Text(Pop().ToString(version) + b));
    break;
  }
  case kActionAdd2: {
    const Value b = Pop(), a2 = Pop();
    if (a2.IsString() || b.IsString())
      Push(Text(a2.ToString(version) + b.ToString(version)));
    else
      Push(a2.ToNumber(version) + b.ToNumber(version));
    break;
  }
  case kActionEquals2: {
    const Value b = Pop(), a2 = Pop();
    Push(a2.LooseEquals(b, version));
    break;
  }
  case kActionStrictEquals: {
    const Value b = Pop(), a2 = Pop();
    const bool sameType = a2.IsString() == b.IsString() && a2.IsNumber() == b.IsNumber() &&
                          a2.IsBoolean() == b.IsBoolean() && a2.IsUndefined() == b.IsUndefined() &&
                          a2.IsNull() == b.IsNull();
    Push(sameType && a2.LooseEquals(b, version));
    break;
  }
  case kActionPop:
    Pop();
    break;
  case kActionToInteger: {
    const double n = Pop().ToNumber(version);
    Push(std::isnan(n) ? 0.0 : std::trunc(n));
    break;
  }
  case kActionToNumber:
    Push(Pop().ToNumber(version));
    break;
  case kActionToString: {
    Value v = Pop();
    Push(v.IsString() ? std::move(v) : Value(v.ToString(version)));
    break;
  }
  case kActionTypeOf: {
    const Value v = Pop();
    const char* type = v.IsUndefined() ? "undefined"
                       : v.IsNull()    ? "null"
                       : v.IsBoolean() ? "boolean"
                       : v.IsNumber()  ? "number"
                       : v.IsString()  ? "string"
                       : v.AsClip()    ? "movieclip"
                       : v.AsObject() && v.AsObject()->Function ? "function"
                                                                : "object";
    Push(type);
    break;
  }
  case kActionPushDuplicate: {
    Value top = Pop();
    Push(top);
    Push(std::move(top));
    break;
  }
  case kActionStackSwap: {
    Value top = Pop(), below = Pop();
    Push(std::move(top));
    Push(std::move(below));
    break;
  }
  case kActionIncrement:
  case kActionDecrement:
    Push(Pop().ToNumber(version) + (code == kActionIncrement ? 1 : -1));
    break;
  case kActionGetVariable:
    Push(GetVariable(a, Pop().ToString(version)));
    break;
  case kActionSetVariable: {
    Value value = Pop();
    SetVariable(a, Pop().ToString(version), std::move(value));
    break;
  }
  case kActionDefineLocal: {
    Value value = Pop();
    DefineLocal(a, Pop().ToString(version), std::move(value));
    break;
  }
  case kActionDefineLocal2: {
    const std::string name = Pop().ToString(version);
    if (a.Locals)
      a.Locals->try_emplace(LocalKey(a, name));
    break;
  }
  case kActionDelete: {
    const std::string name = Pop().ToString(version);
    const Value object = Pop();
    if (Object* o = object.AsObject())
      o->Set(name, Value());
    Push(true);
    break;
  }
  case kActionDelete2:
    Pop();
    Push(false);
    break;
  case kActionGetMember: {
    const std::string name = Pop().ToString(version);
    Push(GetMember(Pop(), name, version));
    break;
  }
  case kActionSetMember: {
    Value value = Pop();
    const std::string name = Pop().ToString(version);
    stage_.SetMemberOf(Pop(), name, std::move(value));
    break;
  }
  case kActionGetProperty: {
    const double index = Pop().ToNumber(version);
    DisplayObject* target = ResolveTarget(a, Pop());
    Push(target && std::isfinite(index) ? stage_.GetProperty(*target, static_cast<int>(std::clamp(index, -1.0, 64.0))) : Value());
    break;
  }
  case kActionSetProperty: {
    const Value value = Pop();
    const double index = Pop().ToNumber(version);
    DisplayObject* target = ResolveTarget(a, Pop());
    if (target && std::isfinite(index))
      stage_.SetProperty(*target, static_cast<int>(std::clamp(index, -1.0, 64.0)), value);
    break;
  }
  case kActionSetTarget:
  case kActionSetTarget2: {
    const Value path = code == kActionSetTarget ? Value(in.String()) : Pop();
    const bool back = path.IsString() && path.AsString()->empty();
    DisplayObject* target = back ? a.Original.get() : ResolveTarget(a, path);
    // A target that does not exist leaves the actions that follow without a timeline.
    a.Target = target ? target->shared_from_this() : nullptr;
    break;
  }
  case kActionTrace:
    Pop();
    break;
  case kActionRandomNumber: {
    const double max = Pop().ToNumber(version);
    const double r = (stage_.NextRandom() >> 8) / 16777216.0;
    Push(std::isfinite(max) && max > 0 ? std::floor(r * max) : 0.0);
    break;
  }
  case kActionCallFunction: {
    const std::string name = Pop().ToString(version);
    std::vector<Value> args = PopArguments();
    Push(CallFunction(a, GetVariable(a, name), Value(), std::move(args)));
    break;
  }
  case kActionCallMethod: {
    const Value nameValue = Pop();
    const Value object = Pop();
    std::vector<Value> args = PopArguments();
    const std::string name = nameValue.ToString(version);
    if (nameValue.IsUndefined() || name.empty())
      Push(CallFunction(a, object, Value(), std::move(args)));
    else
      Push(CallMethod(a, object, name, std::move(args)));
    break;
  }
  case kActionNewObject: {
    const std::string name = Pop().ToString(version);
    std::vector<Value> args = PopArguments();
    Push(Construct(a, name, std::move(args)));
    break;
  }
  case kActionInitArray:
  case kActionInitObject: {
    const double requested = Pop().ToNumber(version);
    const double pairs = code == kActionInitObject ? 2 : 1;
    const size_t count = std::isfinite(requested) && requested > 0
                             ? static_cast<size_t>(std::min(requested, static_cast<double>(stack_.size()) / pairs))
                             : 0;
    Object* object = stage_.GetHeap().New(Object::Kind::Plain, CaseSensitiveNames(version));
    for (size_t i = 0; i < count; ++i) {
      Value value = Pop();
      const std::string name = code == kActionInitObject ? Pop().ToString(version) : std::to_string(i);
      if (object)
        object->Set(name, std::move(value));
    }
    if (object && code == kActionInitArray)
      object->Set("length", Value(static_cast<double>(count)));
    Push(Value(object));
    break;
  }
  case kActionReturn:
    a.Result = Pop();
    return Outcome::Return;
  case kActionGotoFrame:
    if (SpriteObject* sprite = AsSprite(a.Target.get()))
      stage_.GotoFrame(*sprite, in.U16());
    break;
  case kActionGotoLabel:
    if (SpriteObject* sprite = AsSprite(a.Target.get()))
      stage_.GotoLabel(*sprite, in.String());
    break;
  case kActionGotoFrame2: {
    const uint8_t flags = in.U8();
    const uint32_t bias = (flags & 0x02) ? in.U16() : 0;
    GotoFrameOrLabel(a.Target.get(), Pop(), flags & 0x01, bias, version);
    break;
  }
  case kActionCall: {
    const FrameRef ref = ResolveFrame(a.Target.get(), Pop().ToString(version));
    const auto index = ref.Sprite ? FrameIndex(*ref.Sprite, ref.Frame) : std::nullopt;
    if (index)
      stage_.CallFrame(*ref.Sprite, *index);
    break;
  }
  case kActionGetUrl: {
    const std::string url = in.String();
    GetUrl(url, in.String());
    break;
  }
  case kActionGetUrl2: {
    in.U8();  // how variables would be sent: nothing is sent anywhere
    const std::string target = Pop().ToString(version);
    GetUrl(Pop().ToString(version), target);
    break;
  }
  case kActionWaitForFrame:
  case kActionWaitForFrame2:
    // Every frame is loaded before the first one plays: the wait is always over.
    if (code == kActionWaitForFrame2)
      Pop();
    break;
  case kActionConstantPool: {
    const uint16_t count = in.U16();
    auto pool = std::make_shared<std::vector<Value>>();
    for (uint16_t i = 0; i < count; ++i)
      pool->push_back(Text(in.String()));
    a.Pool = std::move(pool);
    break;
  }
  case kActionPush:
    while (!in.AtEnd() && !failed_) {
      switch (const uint8_t type = in.U8(); type) {
      case kPushString: Push(Text(in.String())); break;
      case kPushFloat: Push(ReadFloat(in)); break;
      case kPushNull: Push(Null{}); break;
      case kPushUndefined: Push(Value()); break;
      case kPushRegister: {
        const uint8_t reg = in.U8();
        Push(reg < a.Registers.size() ? a.Registers[reg] : Value());
        break;
      }
      case kPushBoolean: Push(in.U8() != 0); break;
      case kPushDouble: Push(ReadDouble(in)); break;
      case kPushInteger: Push(static_cast<double>(static_cast<int32_t>(in.U32()))); break;
      case kPushConstant8:
      case kPushConstant16: {
        const size_t index = type == kPushConstant8 ? in.U8() : in.U16();
        Push(a.Pool && index < a.Pool->size() ? (*a.Pool)[index] : Value());
        break;
      }
      default:
        throw FormatError("unknown push type");
      }
    }
    break;
  case kActionStoreRegister: {
    const uint8_t reg = in.U8();
    if (reg < a.Registers.size() && !stack_.empty())
      a.Registers[reg] = stack_.back();
    break;
  }
  case kActionJump:
  case kActionIf: {
    const int16_t offset = in.S16();
    if (code == kActionIf && !Pop().ToBoolean(version))
      break;
    const int64_t target = static_cast<int64_t>(next) + offset;
    if (target < static_cast<int64_t>(a.Begin) || target > static_cast<int64_t>(a.End))
      throw FormatError("jump out of the block");
    next = static_cast<size_t>(target);
    break;
  }
  case kActionDefineFunction:
  case kActionDefineFunction2:
    DefineFunction(a, in, next, code == kActionDefineFunction2);
    break;
  default:
    // Unknown and unsupported actions are skipped.
    break;
  }
  return Outcome::Continue;
}

}  // namespace swf
