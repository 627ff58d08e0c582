// The control's persisted state: a signature, a version, the extent in 0.01 mm and 24 tagged
// values. Pure: no Windows header. The values the control interprets are read and written through
// typed accessors; every value is kept exactly as stored until a property write replaces it, so
// state written by another control version survives a load and a save byte for byte.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace flash_control {

// Where the state reader takes its bytes from.
class TByteSource {
public:
  // Fills exactly `count` bytes, or answers false.
  virtual bool Read(void* buffer, size_t count) = 0;

protected:
  ~TByteSource() = default;
};

// Type tags of the stored values, numbered as the OLE variant types.
enum class TValueTag : uint16_t { Integer = 3, Text = 8, Boolean = 11, Object = 13 };

// One stored value: its tag and the bytes that follow the tag (a text's byte count included).
struct TStateValue {
  TValueTag Tag = TValueTag::Text;
  std::vector<uint8_t> Payload;

  friend bool operator==(const TStateValue&, const TStateValue&) = default;
};

// Positions of the values the control interprets; the other positions are kept as read.
enum class TStateSlot : size_t {
  Movie = 0,
  WMode = 3,
  Playing = 4,
  Loop = 5,
  Quality2 = 6,
  SAlign = 7,
  Menu = 8,
  Base = 9,
  AllowScriptAccess = 10,
  Scale = 11,
  DeviceFont = 12,
  EmbedMovie = 13,
  BGColor = 14,
  SWRemote = 15,
  FlashVars = 16,
  SeamlessTabbing = 18,
};

class TControlState {
public:
  static constexpr size_t ValueCount = 24;
  static constexpr int32_t DefaultExtent = 5080;

  // The state of a fresh control.
  TControlState();

  // Reads a whole state; none when the bytes are truncated or malformed.
  static std::optional<TControlState> Read(TByteSource& source);
  std::vector<uint8_t> Write() const;

  // The text up to its first zero character.
  std::u16string Text(TStateSlot slot) const;
  bool Boolean(TStateSlot slot) const;

  // Each answers whether the value changed; an equal value keeps the stored bytes.
  bool SetText(TStateSlot slot, std::u16string_view text);
  bool SetBoolean(TStateSlot slot, bool value);
  bool SetExtent(int32_t cx, int32_t cy);

  int32_t ExtentX() const { return FExtentX; }
  int32_t ExtentY() const { return FExtentY; }

  friend bool operator==(const TControlState&, const TControlState&) = default;

private:
  int32_t FExtentX = DefaultExtent;
  int32_t FExtentY = DefaultExtent;
  std::array<TStateValue, ValueCount> FValues;
};

}  // namespace flash_control
