// Persistence: the 238 bytes of a fresh transparent control, what each tagged value holds, a
// truthful IsDirty, and damaged state that fails without touching the control.
#include "tests/flash_control/com/ControlDataBytes.h"
#include "tests/flash_control/com/ControlFixture.h"

namespace flash_control_test {

namespace {

std::vector<uint8_t> Save(IPersistStreamInit& persist, BOOL clearDirty = TRUE)
{
  ComPtr<IStream> stream;
  EXPECT_EQ(S_OK, CreateStreamOnHGlobal(nullptr, TRUE, &stream));
  EXPECT_EQ(S_OK, persist.Save(stream.Get(), clearDirty));
  STATSTG stat{};
  stream->Stat(&stat, STATFLAG_NONAME);
  std::vector<uint8_t> bytes(size_t(stat.cbSize.QuadPart));
  const LARGE_INTEGER start{};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  ULONG read = 0;
  stream->Read(bytes.data(), ULONG(bytes.size()), &read);
  return bytes;
}

HRESULT Load(IPersistStreamInit& persist, const std::vector<uint8_t>& bytes)
{
  ComPtr<IStream> stream;
  EXPECT_EQ(S_OK, CreateStreamOnHGlobal(nullptr, TRUE, &stream));
  ULONG written = 0;
  stream->Write(bytes.data(), ULONG(bytes.size()), &written);
  const LARGE_INTEGER start{};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  return persist.Load(stream.Get());
}

// The tagged values of saved state, each as its tag and payload (a text's byte count included).
std::vector<std::vector<uint8_t>> TaggedValues(const std::vector<uint8_t>& state)
{
  std::vector<std::vector<uint8_t>> values;
  size_t at = 16;
  while (at + 2 <= state.size()) {
    const uint16_t tag = uint16_t(state[at] | state[at + 1] << 8);
    size_t size = tag == 11 ? 4 : tag == 3 ? 6 : tag == 13 ? 18 : 0;
    if (tag == 8) size = 6 + (state[at + 2] | state[at + 3] << 8 | state[at + 4] << 16);
    values.emplace_back(state.begin() + at, state.begin() + at + size);
    at += size;
  }
  return values;
}

std::vector<uint8_t> TextValue(const std::wstring& text)
{
  const size_t count = (text.size() + 1) * 2;
  std::vector<uint8_t> value{8, 0, uint8_t(count), uint8_t(count >> 8), 0, 0};
  for (wchar_t c : text) value.insert(value.end(), {uint8_t(c), uint8_t(c >> 8)});
  value.insert(value.end(), {0, 0});
  return value;
}

std::vector<uint8_t> BooleanValue(bool value)
{
  return {11, 0, uint8_t(value ? 0xFF : 0), uint8_t(value ? 0xFF : 0)};
}

class PersistenceFixture : public ControlTest {
protected:
  void SetUp() override
  {
    ControlTest::SetUp();
    CreateControl();
    ASSERT_EQ(S_OK, Flash.As(&Persist));
  }

  void TearDown() override
  {
    Persist.Reset();
    ControlTest::TearDown();
  }

  void PutText(HRESULT (STDMETHODCALLTYPE IShockwaveFlash::*put)(BSTR), const wchar_t* text)
  {
    BSTR value = SysAllocString(text);
    EXPECT_EQ(S_OK, (Flash.Get()->*put)(value));
    SysFreeString(value);
  }

  ComPtr<IPersistStreamInit> Persist;
};

}  // namespace

TEST_F(PersistenceFixture, FreshTransparentControlSavesTheStoredBytes)
{
  EXPECT_EQ(S_FALSE, Persist->IsDirty());
  PutText(&IShockwaveFlash::put_WMode, L"Transparent");
  EXPECT_EQ(S_OK, Persist->IsDirty());
  ULARGE_INTEGER size{};
  EXPECT_EQ(S_OK, Persist->GetSizeMax(&size));
  EXPECT_EQ(238u, size.QuadPart);

  EXPECT_EQ(TransparentControlData(), Save(*Persist.Get(), FALSE));
  EXPECT_EQ(S_OK, Persist->IsDirty()) << "saving without clearing keeps the flag";
  EXPECT_EQ(TransparentControlData(), Save(*Persist.Get()));
  EXPECT_EQ(S_FALSE, Persist->IsDirty());
}

TEST_F(PersistenceFixture, LoadingTheStoredBytesAndSavingGivesThemBack)
{
  PutText(&IShockwaveFlash::put_Base, L"C:\\elsewhere");
  ASSERT_EQ(S_OK, Load(*Persist.Get(), TransparentControlData()));
  EXPECT_EQ(S_FALSE, Persist->IsDirty());
  BSTR mode = nullptr, base = nullptr;
  EXPECT_EQ(S_OK, Flash->get_WMode(&mode));
  EXPECT_EQ(L"Transparent", TakeText(mode));
  EXPECT_EQ(S_OK, Flash->get_Base(&base));
  EXPECT_EQ(L"", TakeText(base));
  EXPECT_EQ(TransparentControlData(), Save(*Persist.Get()));
  EXPECT_EQ(0u, Events.Events.size()) << "a state without a movie loads nothing";

  // Writing a property's current value changes nothing.
  PutText(&IShockwaveFlash::put_WMode, L"Transparent");
  EXPECT_EQ(S_FALSE, Persist->IsDirty());
}

TEST_F(PersistenceFixture, EachPropertyHasItsTaggedValue)
{
  // Value numbers count from 1, in the order the state stores them.
  PutText(&IShockwaveFlash::put_WMode, L"Opaque");
  PutText(&IShockwaveFlash::put_Quality2, L"Low");
  PutText(&IShockwaveFlash::put_SAlign, L"TL");
  PutText(&IShockwaveFlash::put_Base, L"C:\\media");
  PutText(&IShockwaveFlash::put_AllowScriptAccess, L"never");
  PutText(&IShockwaveFlash::put_Scale, L"NoBorder");
  PutText(&IShockwaveFlash::put_BGColor, L"#102030");
  PutText(&IShockwaveFlash::put_SWRemote, L"remote");
  PutText(&IShockwaveFlash::put_FlashVars, L"a=1");
  EXPECT_EQ(S_OK, Flash->put_Playing(VARIANT_FALSE));
  EXPECT_EQ(S_OK, Flash->put_Loop(VARIANT_FALSE));
  EXPECT_EQ(S_OK, Flash->put_Menu(VARIANT_FALSE));
  EXPECT_EQ(S_OK, Flash->put_DeviceFont(VARIANT_TRUE));
  EXPECT_EQ(S_OK, Flash->put_EmbedMovie(VARIANT_TRUE));
  EXPECT_EQ(S_OK, Flash->put_SeamlessTabbing(VARIANT_FALSE));
  SIZEL extent{2540, 1270};
  EXPECT_EQ(S_OK, Object->SetExtent(DVASPECT_CONTENT, &extent));

  const std::vector<uint8_t> saved = Save(*Persist.Get());
  ASSERT_GE(saved.size(), 16u);
  EXPECT_EQ((std::vector<uint8_t>{0xEC, 0x09, 0, 0, 0xF6, 0x04, 0, 0}),
            std::vector<uint8_t>(saved.begin() + 8, saved.begin() + 16));
  const std::vector<std::vector<uint8_t>> values = TaggedValues(saved);
  ASSERT_EQ(24u, values.size());
  const struct {
    int number;
    std::vector<uint8_t> value;
  } expected[] = {
    {4, TextValue(L"Opaque")},     {5, BooleanValue(false)},  {6, BooleanValue(false)},
    {7, TextValue(L"Low")},        {8, TextValue(L"TL")},     {9, BooleanValue(false)},
    {10, TextValue(L"C:\\media")}, {11, TextValue(L"never")}, {12, TextValue(L"NoBorder")},
    {13, BooleanValue(true)},      {14, BooleanValue(true)},  {15, TextValue(L"#102030")},
    {16, TextValue(L"remote")},    {17, TextValue(L"a=1")},   {19, BooleanValue(false)},
  };
  for (const auto& e : expected) EXPECT_EQ(e.value, values[e.number - 1]) << "value " << e.number;
  // The values the control does not interpret keep the bytes of a fresh state.
  const std::vector<std::vector<uint8_t>> fresh = TaggedValues(TransparentControlData());
  for (int number : {2, 3, 18, 20, 21, 22, 23, 24})
    EXPECT_EQ(fresh[number - 1], values[number - 1]) << "value " << number;
}

TEST_F(PersistenceFixture, DamagedStateFailsAndLeavesTheControlAsItWas)
{
  PutText(&IShockwaveFlash::put_WMode, L"Opaque");
  PutText(&IShockwaveFlash::put_FlashVars, L"kept=yes");
  const std::vector<uint8_t> before = Save(*Persist.Get(), FALSE);

  const std::vector<uint8_t> stored = TransparentControlData();
  std::vector<std::vector<uint8_t>> damaged;
  for (size_t length : {0u, 3u, 15u, 16u, 40u, 237u})
    damaged.emplace_back(stored.begin(), stored.begin() + length);
  std::vector<uint8_t> bytes = stored;
  bytes[0] = 'X';
  damaged.push_back(bytes);
  bytes = stored;
  bytes[16] = 11;  // the movie text's tag made a boolean
  damaged.push_back(bytes);

  for (const std::vector<uint8_t>& state : damaged) {
    EXPECT_TRUE(FAILED(Load(*Persist.Get(), state))) << "length " << state.size();
    EXPECT_EQ(before, Save(*Persist.Get(), FALSE));
    EXPECT_EQ(S_OK, Persist->IsDirty());
  }
  EXPECT_EQ(E_POINTER, Persist->Load(nullptr));
}

}  // namespace flash_control_test
