#include "tools/swf/Actions.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

namespace swfwriter {

namespace {

void WriteConstant(ByteWriter& out, uint16_t index)
{
  if (index <= 0xFF) {
    out.U8(swf::kPushConstant8);
    out.U8(static_cast<uint8_t>(index));
  } else {
    out.U8(swf::kPushConstant16);
    out.U16(index);
  }
}

// A push double stores the high 32 bits of the IEEE value first, each half little-endian.
void WriteDouble(ByteWriter& out, double value)
{
  const uint64_t bits = std::bit_cast<uint64_t>(value);
  out.U32(static_cast<uint32_t>(bits >> 32));
  out.U32(static_cast<uint32_t>(bits));
}

}  // namespace

Actions& Actions::Op(swf::ActionCode code)
{
  FOut.U8(code);
  return *this;
}

Actions& Actions::Record(swf::ActionCode code, const Bytes& payload)
{
  if (payload.size() > 0xFFFF)
    throw std::length_error("action payload longer than 65535 bytes");
  FOut.U8(code);
  FOut.U16(static_cast<uint16_t>(payload.size()));
  FOut.Append(payload);
  return *this;
}

Actions& Actions::Raw(uint8_t code, std::initializer_list<uint8_t> payload)
{
  const auto action = static_cast<swf::ActionCode>(code);
  if (!swf::ActionHasPayload(code)) {
    if (payload.size() != 0)
      throw std::invalid_argument("actions below 0x80 carry no payload");
    return Op(action);
  }
  return Record(action, Bytes(payload));
}

Actions& Actions::ConstantPool(std::vector<std::string> strings)
{
  if (strings.size() > 0xFFFF)
    throw std::length_error("constant pool with more than 65535 entries");
  ByteWriter payload;
  payload.U16(static_cast<uint16_t>(strings.size()));
  for (const std::string& text : strings)
    payload.String(text);
  FPool = std::move(strings);
  return Record(swf::kActionConstantPool, payload.Data());
}

Actions& Actions::Push(std::initializer_list<PushValue> values)
{
  ByteWriter payload;
  for (const PushValue& value : values) {
    const PushValue::Value& v = value.Get();
    if (const auto* text = std::get_if<std::string>(&v)) {
      const auto found = std::find(FPool.begin(), FPool.end(), *text);
      if (found != FPool.end()) {
        WriteConstant(payload, static_cast<uint16_t>(found - FPool.begin()));
      } else {
        payload.U8(swf::kPushString);
        payload.String(*text);
      }
    } else if (const auto* integer = std::get_if<int32_t>(&v)) {
      payload.U8(swf::kPushInteger);
      payload.U32(static_cast<uint32_t>(*integer));
    } else if (const auto* real = std::get_if<double>(&v)) {
      payload.U8(swf::kPushDouble);
      WriteDouble(payload, *real);
    } else if (const auto* single = std::get_if<Float>(&v)) {
      payload.U8(swf::kPushFloat);
      payload.U32(std::bit_cast<uint32_t>(single->value));
    } else if (const auto* boolean = std::get_if<bool>(&v)) {
      payload.U8(swf::kPushBoolean);
      payload.U8(*boolean ? 1 : 0);
    } else if (std::holds_alternative<Null>(v)) {
      payload.U8(swf::kPushNull);
    } else if (std::holds_alternative<Undefined>(v)) {
      payload.U8(swf::kPushUndefined);
    } else if (const auto* reg = std::get_if<Register>(&v)) {
      payload.U8(swf::kPushRegister);
      payload.U8(reg->index);
    } else {
      WriteConstant(payload, std::get<Constant>(v).index);
    }
  }
  return Record(swf::kActionPush, payload.Data());
}

Actions& Actions::StoreRegister(uint8_t index)
{
  return Record(swf::kActionStoreRegister, {index});
}

Actions::Label Actions::NewLabel()
{
  FLabels.push_back(-1);
  return {FLabels.size() - 1};
}

Actions& Actions::Bind(Label label)
{
  if (FLabels.at(label.id) != -1)
    throw std::logic_error("action label placed twice");
  FLabels[label.id] = static_cast<std::ptrdiff_t>(FOut.Size());
  return *this;
}

Actions& Actions::Branch(swf::ActionCode code, Label target)
{
  if (target.id >= FLabels.size())
    throw std::out_of_range("unknown action label");
  Record(code, {0, 0});
  FFixups.push_back({FOut.Size() - 2, target.id});
  return *this;
}

Actions& Actions::Jump(Label target)
{
  return Branch(swf::kActionJump, target);
}

Actions& Actions::If(Label target)
{
  return Branch(swf::kActionIf, target);
}

Actions& Actions::GotoFrame(uint16_t frame)
{
  ByteWriter payload;
  payload.U16(frame);
  return Record(swf::kActionGotoFrame, payload.Data());
}

Actions& Actions::GotoLabel(std::string_view label)
{
  ByteWriter payload;
  payload.String(label);
  return Record(swf::kActionGotoLabel, payload.Data());
}

Actions& Actions::GetURL(std::string_view url, std::string_view target)
{
  ByteWriter payload;
  payload.String(url);
  payload.String(target);
  return Record(swf::kActionGetUrl, payload.Data());
}

Actions& Actions::GetURL2(SendVars method, bool loadTarget, bool loadVariables)
{
  const uint8_t flags = static_cast<uint8_t>(static_cast<uint8_t>(method) << 6 |
                                             (loadTarget ? 0x02 : 0) | (loadVariables ? 0x01 : 0));
  return Record(swf::kActionGetUrl2, {flags});
}

Bytes Actions::Encode() const
{
  ByteWriter out = FOut;
  for (const Fixup& fixup : FFixups) {
    const std::ptrdiff_t target = FLabels[fixup.label];
    if (target < 0)
      throw std::logic_error("action label jumped to but never placed");
    // Branch offsets count from the end of the branch action, which ends after its offset field.
    const std::ptrdiff_t offset = target - static_cast<std::ptrdiff_t>(fixup.offsetField + 2);
    if (offset < INT16_MIN || offset > INT16_MAX)
      throw std::out_of_range("action jump too far for a 16-bit offset");
    out.PatchU16(fixup.offsetField, static_cast<uint16_t>(static_cast<int16_t>(offset)));
  }
  out.U8(swf::kActionEnd);
  return out.Take();
}

}  // namespace swfwriter
