#include "flash_control/com/ControlState.h"

#include <algorithm>
#include <cstring>

namespace flash_control {

namespace {

constexpr uint8_t Signature[4] = {0x67, 0x55, 0x66, 0x55};
constexpr uint32_t Version = 1808;
// Texts arrive in pieces of this size, so a forged byte count costs no more memory than the
// bytes that are really there.
constexpr size_t ReadChunk = 64 * 1024;

void PutU16(std::vector<uint8_t>& out, uint16_t v)
{
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

uint32_t GetU32(const uint8_t* p)
{
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

TStateValue TextValue(std::u16string_view text)
{
  TStateValue value{TValueTag::Text, {}};
  PutU32(value.Payload, static_cast<uint32_t>((text.size() + 1) * 2));
  for (char16_t c : text) PutU16(value.Payload, c);
  PutU16(value.Payload, 0);
  return value;
}

TStateValue NoText()
{
  TStateValue value{TValueTag::Text, {}};
  PutU32(value.Payload, 0);
  return value;
}

TStateValue BooleanValue(uint16_t raw)
{
  TStateValue value{TValueTag::Boolean, {}};
  PutU16(value.Payload, raw);
  return value;
}

// The tag an interpreted position must carry; none for the positions kept as read.
std::optional<TValueTag> ExpectedTag(size_t index)
{
  switch (static_cast<TStateSlot>(index)) {
  case TStateSlot::Movie:
  case TStateSlot::WMode:
  case TStateSlot::Quality2:
  case TStateSlot::SAlign:
  case TStateSlot::Base:
  case TStateSlot::AllowScriptAccess:
  case TStateSlot::Scale:
  case TStateSlot::BGColor:
  case TStateSlot::SWRemote:
  case TStateSlot::FlashVars:
    return TValueTag::Text;
  case TStateSlot::Playing:
  case TStateSlot::Loop:
  case TStateSlot::Menu:
  case TStateSlot::DeviceFont:
  case TStateSlot::EmbedMovie:
  case TStateSlot::SeamlessTabbing:
    return TValueTag::Boolean;
  }
  return std::nullopt;
}

std::optional<TStateValue> ReadValue(TByteSource& source, size_t index)
{
  uint8_t tagBytes[2];
  if (!source.Read(tagBytes, 2)) return std::nullopt;
  TStateValue value{static_cast<TValueTag>(tagBytes[0] | (tagBytes[1] << 8)), {}};
  if (auto expected = ExpectedTag(index); expected && *expected != value.Tag) return std::nullopt;

  auto readPayload = [&](size_t count) {
    const size_t start = value.Payload.size();
    value.Payload.resize(start + count);
    return source.Read(value.Payload.data() + start, count);
  };
  switch (value.Tag) {
  case TValueTag::Boolean:
    if (!readPayload(2)) return std::nullopt;
    break;
  case TValueTag::Integer:
    if (!readPayload(4)) return std::nullopt;
    break;
  case TValueTag::Object:
    if (!readPayload(16)) return std::nullopt;
    break;
  case TValueTag::Text: {
    if (!readPayload(4)) return std::nullopt;
    size_t remaining = GetU32(value.Payload.data());
    if (remaining % 2 != 0) return std::nullopt;
    while (remaining > 0) {
      const size_t piece = std::min(remaining, ReadChunk);
      if (!readPayload(piece)) return std::nullopt;
      remaining -= piece;
    }
    break;
  }
  default:
    return std::nullopt;
  }
  return value;
}

}  // namespace

TControlState::TControlState()
  : FValues{
      TextValue(u""),  // Movie
      NoText(),
      NoText(),
      TextValue(u"Window"),   // WMode
      BooleanValue(0xFFFF),   // Playing
      BooleanValue(0xFFFF),   // Loop
      TextValue(u"High"),     // Quality2
      TextValue(u""),         // SAlign
      BooleanValue(0xFFFF),   // Menu
      NoText(),               // Base
      TextValue(u""),         // AllowScriptAccess
      TextValue(u"ShowAll"),  // Scale
      BooleanValue(0),        // DeviceFont
      BooleanValue(0),        // EmbedMovie
      TextValue(u""),         // BGColor
      NoText(),               // SWRemote
      TextValue(u""),         // FlashVars
      TStateValue{TValueTag::Object, std::vector<uint8_t>(16, 0)},
      BooleanValue(0x0001),  // SeamlessTabbing
      BooleanValue(0),
      NoText(),
      TStateValue{TValueTag::Integer, std::vector<uint8_t>(4, 0)},
      TextValue(u"all"),
      TextValue(u"false"),
    }
{
}

std::optional<TControlState> TControlState::Read(TByteSource& source)
{
  uint8_t header[16];
  if (!source.Read(header, sizeof header)) return std::nullopt;
  if (std::memcmp(header, Signature, sizeof Signature) != 0 || GetU32(header + 4) != Version)
    return std::nullopt;
  const auto cx = static_cast<int32_t>(GetU32(header + 8));
  const auto cy = static_cast<int32_t>(GetU32(header + 12));
  if (cx < 0 || cy < 0) return std::nullopt;

  TControlState state;
  state.FExtentX = cx;
  state.FExtentY = cy;
  for (size_t i = 0; i < ValueCount; ++i) {
    auto value = ReadValue(source, i);
    if (!value) return std::nullopt;
    state.FValues[i] = std::move(*value);
  }
  return state;
}

std::vector<uint8_t> TControlState::Write() const
{
  std::vector<uint8_t> out(Signature, Signature + sizeof Signature);
  PutU32(out, Version);
  PutU32(out, static_cast<uint32_t>(FExtentX));
  PutU32(out, static_cast<uint32_t>(FExtentY));
  for (const TStateValue& value : FValues) {
    PutU16(out, static_cast<uint16_t>(value.Tag));
    out.insert(out.end(), value.Payload.begin(), value.Payload.end());
  }
  return out;
}

std::u16string TControlState::Text(TStateSlot slot) const
{
  const std::vector<uint8_t>& payload = FValues[static_cast<size_t>(slot)].Payload;
  std::u16string text;
  for (size_t i = 4; i + 1 < payload.size(); i += 2) {
    const auto c = static_cast<char16_t>(payload[i] | (payload[i + 1] << 8));
    if (c == 0) break;
    text.push_back(c);
  }
  return text;
}

bool TControlState::Boolean(TStateSlot slot) const
{
  const std::vector<uint8_t>& payload = FValues[static_cast<size_t>(slot)].Payload;
  return (payload[0] | payload[1]) != 0;
}

bool TControlState::SetText(TStateSlot slot, std::u16string_view text)
{
  if (Text(slot) == text) return false;
  FValues[static_cast<size_t>(slot)] = TextValue(text);
  return true;
}

bool TControlState::SetBoolean(TStateSlot slot, bool value)
{
  if (Boolean(slot) == value) return false;
  FValues[static_cast<size_t>(slot)] = BooleanValue(value ? 0xFFFF : 0);
  return true;
}

bool TControlState::SetExtent(int32_t cx, int32_t cy)
{
  if (cx == FExtentX && cy == FExtentY) return false;
  FExtentX = cx;
  FExtentY = cy;
  return true;
}

}  // namespace flash_control
