#include <gtest/gtest.h>

#include <cstring>

#include "flash_control/com/ControlState.h"
#include "tests/flash_control/com/ControlDataBytes.h"

using namespace flash_control;

namespace {

class TMemorySource final : public TByteSource {
public:
  explicit TMemorySource(const std::vector<uint8_t>& bytes) : FBytes(bytes) {}

  bool Read(void* buffer, size_t count) override
  {
    if (count > FBytes.size() - FPosition) return false;
    std::memcpy(buffer, FBytes.data() + FPosition, count);
    FPosition += count;
    return true;
  }

  size_t Position() const { return FPosition; }

private:
  const std::vector<uint8_t>& FBytes;
  size_t FPosition = 0;
};

std::optional<TControlState> ReadState(const std::vector<uint8_t>& bytes)
{
  TMemorySource source(bytes);
  return TControlState::Read(source);
}

// Encodings of single tagged values.
using TValueBytes = std::vector<uint8_t>;

TValueBytes Text(std::u16string_view text, bool terminated = true)
{
  const size_t count = (text.size() + (terminated ? 1 : 0)) * 2;
  TValueBytes bytes{0x08, 0x00, uint8_t(count), uint8_t(count >> 8), 0, 0};
  for (char16_t c : text) bytes.insert(bytes.end(), {uint8_t(c), uint8_t(c >> 8)});
  if (terminated) bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

TValueBytes NoText()
{
  return {0x08, 0x00, 0, 0, 0, 0};
}
TValueBytes Boolean(uint16_t value)
{
  return {0x0B, 0x00, uint8_t(value), uint8_t(value >> 8)};
}
TValueBytes Integer(uint32_t v)
{
  return {0x03, 0x00, uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), 0};
}

TValueBytes Object(uint8_t first)
{
  TValueBytes bytes(18, 0);
  bytes[0] = 0x0D;
  bytes[2] = first;
  return bytes;
}

// The 24 values of the stored state, in order.
std::vector<TValueBytes> StoredValues()
{
  return {Text(u""),       NoText(),         NoText(),     Text(u"Transparent"), Boolean(0xFFFF),
          Boolean(0xFFFF), Text(u"High"),    Text(u""),    Boolean(0xFFFF),      NoText(),
          Text(u""),       Text(u"ShowAll"), Boolean(0),   Boolean(0),           Text(u""),
          NoText(),        Text(u""),        Object(0),    Boolean(1),           Boolean(0),
          NoText(),        Integer(0),       Text(u"all"), Text(u"false")};
}

std::vector<uint8_t> StateBytes(const std::vector<TValueBytes>& values)
{
  const std::vector<uint8_t> stored = TransparentControlData();
  std::vector<uint8_t> bytes(stored.begin(), stored.begin() + 16);
  for (const TValueBytes& value : values) bytes.insert(bytes.end(), value.begin(), value.end());
  return bytes;
}

}  // namespace

TEST(ControlState, FreshStateInTransparentModeWritesTheStoredBytes)
{
  TControlState state;
  EXPECT_TRUE(state.SetText(TStateSlot::WMode, u"Transparent"));
  EXPECT_EQ(TransparentControlData(), state.Write());
}

TEST(ControlState, ReadsTheStoredBytesAndTheirMeaning)
{
  const std::optional<TControlState> state = ReadState(TransparentControlData());
  ASSERT_TRUE(state);
  EXPECT_EQ(5080, state->ExtentX());
  EXPECT_EQ(5080, state->ExtentY());
  EXPECT_EQ(u"Transparent", state->Text(TStateSlot::WMode));
  EXPECT_EQ(u"High", state->Text(TStateSlot::Quality2));
  EXPECT_EQ(u"ShowAll", state->Text(TStateSlot::Scale));
  EXPECT_EQ(u"", state->Text(TStateSlot::Base));
  EXPECT_TRUE(state->Boolean(TStateSlot::Playing));
  EXPECT_TRUE(state->Boolean(TStateSlot::Loop));
  EXPECT_TRUE(state->Boolean(TStateSlot::Menu));
  EXPECT_FALSE(state->Boolean(TStateSlot::DeviceFont));
  EXPECT_TRUE(state->Boolean(TStateSlot::SeamlessTabbing));
  EXPECT_EQ(TransparentControlData(), state->Write());
}

TEST(ControlState, KeepsValuesItDoesNotInterpretByteForByte)
{
  ASSERT_EQ(TransparentControlData(), StateBytes(StoredValues()));
  std::vector<TValueBytes> values = StoredValues();
  values[1] = Text(u"xy", false);
  values[17] = Object(0x5A);
  values[19] = Integer(0x2211);
  values[21] = Integer(7);
  values[23] = Boolean(0x8000);
  const std::vector<uint8_t> bytes = StateBytes(values);

  const std::optional<TControlState> state = ReadState(bytes);
  ASSERT_TRUE(state);
  EXPECT_EQ(bytes, state->Write());
}

TEST(ControlState, EqualValuesKeepTheirStoredForm)
{
  TControlState state;
  const std::vector<uint8_t> before = state.Write();
  EXPECT_FALSE(state.SetText(TStateSlot::Base, u""));                 // stored as no text at all
  EXPECT_FALSE(state.SetText(TStateSlot::FlashVars, u""));            // stored as an empty text
  EXPECT_FALSE(state.SetBoolean(TStateSlot::SeamlessTabbing, true));  // stored as 0x0001
  EXPECT_FALSE(state.SetExtent(5080, 5080));
  EXPECT_EQ(before, state.Write());

  EXPECT_TRUE(state.SetText(TStateSlot::Base, u"C:\\movies"));
  EXPECT_EQ(u"C:\\movies", state.Text(TStateSlot::Base));
  EXPECT_TRUE(state.SetBoolean(TStateSlot::Menu, false));
  EXPECT_FALSE(state.Boolean(TStateSlot::Menu));
  EXPECT_TRUE(state.SetExtent(100, 200));
  EXPECT_EQ(100, state.ExtentX());
}

TEST(ControlState, TruncatedStateIsRejectedAtEveryLength)
{
  const std::vector<uint8_t> bytes = TransparentControlData();
  for (size_t length = 0; length < bytes.size(); ++length) {
    const std::vector<uint8_t> part(bytes.begin(), bytes.begin() + length);
    EXPECT_FALSE(ReadState(part)) << "length " << length;
  }
}

TEST(ControlState, MalformedStateIsRejected)
{
  struct Damage {
    const char* what;
    size_t value;  // which value to replace
    TValueBytes bytes;
  };
  const Damage damaged[] = {
    {"boolean where the movie text belongs", 0, Boolean(0)},
    {"text where the playing flag belongs", 4, Text(u"yes")},
    {"integer where the scale text belongs", 11, Integer(0)},
    {"unknown tag", 1, {0x09, 0x00, 0, 0, 0, 0}},
    {"odd text byte count", 0, {0x08, 0x00, 0x03, 0x00, 0x00, 0x00, 'a', 0, 0}},
    {"text longer than the state", 1, {0x08, 0x00, 0xF0, 0xFF, 0xFF, 0x7F, 'a', 0}},
  };
  for (const Damage& damage : damaged) {
    std::vector<TValueBytes> values = StoredValues();
    values[damage.value] = damage.bytes;
    EXPECT_FALSE(ReadState(StateBytes(values))) << damage.what;
  }

  const struct {
    const char* what;
    size_t offset;
    std::vector<uint8_t> bytes;
  } headers[] = {
    {"signature", 0, {0x67, 0x55, 0x66, 0x56}},
    {"version", 4, {0x11, 0x07}},
    {"negative extent", 8, {0xFF, 0xFF, 0xFF, 0xFF}},
  };
  for (const auto& header : headers) {
    std::vector<uint8_t> bytes = TransparentControlData();
    std::copy(header.bytes.begin(), header.bytes.end(), bytes.begin() + header.offset);
    EXPECT_FALSE(ReadState(bytes)) << header.what;
  }
}

TEST(ControlState, ReadsNoFurtherThanItsEnd)
{
  const std::vector<uint8_t> stored = TransparentControlData();
  std::vector<uint8_t> bytes(stored.size() + 3, 0x5A);
  std::copy(stored.begin(), stored.end(), bytes.begin());
  TMemorySource source(bytes);
  EXPECT_TRUE(TControlState::Read(source));
  EXPECT_EQ(238u, source.Position());
}
