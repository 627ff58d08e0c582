// IShockwaveFlash: properties and their change notifications, timelines, labels, variables and
// display properties, and the answers to bad arguments.
#include "tests/flash_control/com/ControlFixture.h"
#include "tests/flash_control/com/TestMovies.h"

namespace flash_control_test {

namespace {

class AutomationTest : public ControlTest {
protected:
  void SetUp() override
  {
    ControlTest::SetUp();
    CreateControl();
  }

  // Loads the timeline movie, stopped at its first frame.
  void LoadTimeline()
  {
    FMovie = std::make_unique<TTempFile>(L"automation_timeline.swf", TimelineMovie());
    ASSERT_EQ(S_OK, Flash->put_Playing(VARIANT_FALSE));
    LoadMovie(FMovie->Path());
  }

  LONG Frame()
  {
    LONG frame = -1;
    EXPECT_EQ(S_OK, Flash->CurrentFrame(&frame));
    return frame;
  }

private:
  std::unique_ptr<TTempFile> FMovie;
};

// A BSTR for the length of one call.
class TText {
public:
  TText(const wchar_t* text) : FText(SysAllocString(text)) {}
  ~TText() { SysFreeString(FText); }
  operator BSTR() const { return FText; }

private:
  BSTR FText;
};

}  // namespace

TEST_F(AutomationTest, TextPropertiesKeepTheirValueAndNotifyTheirChange)
{
  using Get = HRESULT (STDMETHODCALLTYPE IShockwaveFlash::*)(BSTR*);
  using Put = HRESULT (STDMETHODCALLTYPE IShockwaveFlash::*)(BSTR);
  const struct {
    DISPID id;
    Get get;
    Put put;
    const wchar_t* value;
  } properties[] = {
    {133, &IShockwaveFlash::get_WMode, &IShockwaveFlash::put_WMode, L"Transparent"},
    {134, &IShockwaveFlash::get_SAlign, &IShockwaveFlash::put_SAlign, L"BR"},
    {136, &IShockwaveFlash::get_Base, &IShockwaveFlash::put_Base, L"C:\\media"},
    {137, &IShockwaveFlash::get_Scale, &IShockwaveFlash::put_Scale, L"ExactFit"},
    {140, &IShockwaveFlash::get_BGColor, &IShockwaveFlash::put_BGColor, L"#C76D6D"},
    {141, &IShockwaveFlash::get_Quality2, &IShockwaveFlash::put_Quality2, L"Best"},
    {159, &IShockwaveFlash::get_SWRemote, &IShockwaveFlash::put_SWRemote, L"swRemote"},
    {170, &IShockwaveFlash::get_FlashVars, &IShockwaveFlash::put_FlashVars, L"a=1&b=2"},
    {171, &IShockwaveFlash::get_AllowScriptAccess, &IShockwaveFlash::put_AllowScriptAccess,
     L"always"},
    {190, &IShockwaveFlash::get_MovieData, &IShockwaveFlash::put_MovieData, L"data"},
  };
  for (const auto& p : properties) {
    Properties.Changed.clear();
    EXPECT_EQ(S_OK, (Flash.Get()->*p.put)(TText(p.value))) << p.id;
    BSTR value = nullptr;
    EXPECT_EQ(S_OK, (Flash.Get()->*p.get)(&value));
    EXPECT_EQ(p.value, TakeText(value)) << p.id;
    EXPECT_EQ(std::vector<DISPID>{p.id}, Properties.Changed);
    // The same value again is no change.
    EXPECT_EQ(S_OK, (Flash.Get()->*p.put)(TText(p.value)));
    EXPECT_EQ(1u, Properties.Changed.size()) << p.id;
  }
}

TEST_F(AutomationTest, NumberAndFlagPropertiesMatchTheirTexts)
{
  int number = -1;
  EXPECT_EQ(S_OK, Flash->put_Quality(0));
  BSTR text = nullptr;
  EXPECT_EQ(S_OK, Flash->get_Quality2(&text));
  EXPECT_EQ(L"Low", TakeText(text));
  EXPECT_EQ(S_OK, Flash->put_Quality2(TText(L"AutoHigh")));
  EXPECT_EQ(S_OK, Flash->get_Quality(&number));
  EXPECT_EQ(3, number);

  EXPECT_EQ(S_OK, Flash->put_ScaleMode(3));
  EXPECT_EQ(S_OK, Flash->get_Scale(&text));
  EXPECT_EQ(L"NoScale", TakeText(text));
  EXPECT_EQ(S_OK, Flash->put_Scale(TText(L"noborder")));
  EXPECT_EQ(S_OK, Flash->get_ScaleMode(&number));
  EXPECT_EQ(1, number);

  EXPECT_EQ(S_OK, Flash->put_AlignMode(1 | 4));
  EXPECT_EQ(S_OK, Flash->get_SAlign(&text));
  EXPECT_EQ(L"TL", TakeText(text));
  EXPECT_EQ(S_OK, Flash->put_SAlign(TText(L"rb")));
  EXPECT_EQ(S_OK, Flash->get_AlignMode(&number));
  EXPECT_EQ(2 | 8, number);

  LONG color = 0;
  EXPECT_EQ(S_OK, Flash->get_BackgroundColor(&color));
  EXPECT_EQ(-1, color) << "the movie's own colour";
  EXPECT_EQ(S_OK, Flash->put_BackgroundColor(0x0A0B0C));
  EXPECT_EQ(S_OK, Flash->get_BGColor(&text));
  EXPECT_EQ(L"#0A0B0C", TakeText(text));

  using GetFlag = HRESULT (STDMETHODCALLTYPE IShockwaveFlash::*)(VARIANT_BOOL*);
  using PutFlag = HRESULT (STDMETHODCALLTYPE IShockwaveFlash::*)(VARIANT_BOOL);
  const struct {
    DISPID id;
    GetFlag get;
    PutFlag put;
    VARIANT_BOOL initial;
  } flags[] = {
    {106, &IShockwaveFlash::get_Loop, &IShockwaveFlash::put_Loop, VARIANT_TRUE},
    {135, &IShockwaveFlash::get_Menu, &IShockwaveFlash::put_Menu, VARIANT_TRUE},
    {138, &IShockwaveFlash::get_DeviceFont, &IShockwaveFlash::put_DeviceFont, VARIANT_FALSE},
    {139, &IShockwaveFlash::get_EmbedMovie, &IShockwaveFlash::put_EmbedMovie, VARIANT_FALSE},
    {192, &IShockwaveFlash::get_SeamlessTabbing, &IShockwaveFlash::put_SeamlessTabbing,
     VARIANT_TRUE},
  };
  for (const auto& f : flags) {
    VARIANT_BOOL value = 1;
    EXPECT_EQ(S_OK, (Flash.Get()->*f.get)(&value));
    EXPECT_EQ(f.initial, value) << f.id;
    Properties.Changed.clear();
    EXPECT_EQ(S_OK, (Flash.Get()->*f.put)(f.initial ? VARIANT_FALSE : VARIANT_TRUE));
    EXPECT_EQ(S_OK, (Flash.Get()->*f.get)(&value));
    EXPECT_NE(f.initial, value) << f.id;
    EXPECT_EQ(std::vector<DISPID>{f.id}, Properties.Changed);
  }
}

TEST_F(AutomationTest, BadArgumentsFailAndChangeNothing)
{
  LoadTimeline();
  Properties.Changed.clear();

  const struct {
    const char* what;
    std::function<HRESULT()> call;
  } calls[] = {
    {"WMode", [&] { return Flash->put_WMode(TText(L"Direct")); }},
    {"Scale", [&] { return Flash->put_Scale(TText(L"fit")); }},
    {"SAlign", [&] { return Flash->put_SAlign(TText(L"TX")); }},
    {"BGColor", [&] { return Flash->put_BGColor(TText(L"#12")); }},
    {"Quality2", [&] { return Flash->put_Quality2(TText(L"Ultra")); }},
    {"Quality", [&] { return Flash->put_Quality(6); }},
    {"ScaleMode", [&] { return Flash->put_ScaleMode(4); }},
    {"AlignMode", [&] { return Flash->put_AlignMode(16); }},
    {"BackgroundColor", [&] { return Flash->put_BackgroundColor(0x1000000); }},
    {"GotoFrame below", [&] { return Flash->GotoFrame(-1); }},
    {"GotoFrame past", [&] { return Flash->GotoFrame(5); }},
    {"FrameNum", [&] { return Flash->put_FrameNum(99); }},
    {"TGotoFrame target", [&] { return Flash->TGotoFrame(TText(L"/nowhere"), 0); }},
    {"TGotoLabel label", [&] { return Flash->TGotoLabel(TText(L"/"), TText(L"nolabel")); }},
    {"TCurrentFrame target",
     [&] {
       LONG f;
       return Flash->TCurrentFrame(TText(L"/nowhere"), &f);
     }},
    {"TPlay target", [&] { return Flash->TPlay(TText(L"_level7")); }},
    {"TGetProperty target",
     [&] {
       BSTR v;
       return Flash->TGetProperty(TText(L"/x"), 0, &v);
     }},
    {"TGetPropertyNum index",
     [&] {
       double v;
       return Flash->TGetPropertyNum(TText(L"/"), 99, &v);
     }},
    {"SetVariable name", [&] { return Flash->SetVariable(TText(L""), TText(L"x")); }},
    {"LoadMovie layer", [&] { return Flash->LoadMovie(-1, TText(L"x.swf")); }},
    {"SetZoomRect", [&] { return Flash->SetZoomRect(10, 10, 5, 20); }},
    {"Pan mode", [&] { return Flash->Pan(1, 1, 2); }},
    {"ReadyState slot", [&] { return Flash->get_ReadyState(nullptr); }},
    {"Movie slot", [&] { return Flash->get_Movie(nullptr); }},
  };
  for (const auto& c : calls) EXPECT_TRUE(FAILED(c.call())) << c.what;
  EXPECT_TRUE(Properties.Changed.empty());
  EXPECT_EQ(0, Frame());
}

TEST_F(AutomationTest, TimelineFramesAndLabels)
{
  LoadTimeline();
  LONG total = 0;
  EXPECT_EQ(S_OK, Flash->get_TotalFrames(&total));
  EXPECT_EQ(5, total);
  VARIANT_BOOL flag = VARIANT_TRUE;
  EXPECT_EQ(S_OK, Flash->IsPlaying(&flag));
  EXPECT_EQ(VARIANT_FALSE, flag) << "Playing was off when the movie loaded";
  EXPECT_EQ(S_OK, Flash->FrameLoaded(4, &flag));
  EXPECT_EQ(VARIANT_TRUE, flag);
  EXPECT_EQ(S_OK, Flash->FrameLoaded(5, &flag));
  EXPECT_EQ(VARIANT_FALSE, flag);

  EXPECT_EQ(S_OK, Flash->GotoFrame(3));
  EXPECT_EQ(3, Frame());
  LONG frameNum = 0;
  EXPECT_EQ(S_OK, Flash->get_FrameNum(&frameNum));
  EXPECT_EQ(3, frameNum);
  EXPECT_EQ(S_OK, Flash->TGotoLabel(TText(L"/"), TText(L"middle")));
  EXPECT_EQ(2, Frame());
  BSTR label = nullptr;
  EXPECT_EQ(S_OK, Flash->TCurrentLabel(TText(L"_level0"), &label));
  EXPECT_EQ(L"middle", TakeText(label));
  EXPECT_EQ(S_OK, Flash->Back());
  EXPECT_EQ(1, Frame());
  EXPECT_EQ(S_OK, Flash->Forward());
  EXPECT_EQ(2, Frame());
  EXPECT_EQ(S_OK, Flash->Rewind());
  EXPECT_EQ(0, Frame());
  EXPECT_EQ(S_OK, Flash->put_FrameNum(4));
  EXPECT_EQ(4, Frame());

  // Playing from the last frame without looping stops there; with looping it wraps.
  EXPECT_EQ(S_OK, Flash->put_Loop(VARIANT_FALSE));
  EXPECT_EQ(S_OK, Flash->Play());
  Pump(100);
  EXPECT_EQ(4, Frame());
  EXPECT_EQ(S_OK, Flash->IsPlaying(&flag));
  EXPECT_EQ(VARIANT_FALSE, flag);
  EXPECT_EQ(S_OK, Flash->put_Loop(VARIANT_TRUE));
  EXPECT_EQ(S_OK, Flash->put_Playing(VARIANT_TRUE));
  ASSERT_TRUE(PumpUntil([&] { return Frame() < 4; }));
  EXPECT_EQ(S_OK, Flash->get_Playing(&flag));
  EXPECT_EQ(VARIANT_TRUE, flag);
  EXPECT_EQ(S_OK, Flash->StopPlay());
  EXPECT_EQ(S_OK, Flash->get_Playing(&flag));
  EXPECT_EQ(VARIANT_FALSE, flag);

  // A sprite's own timeline by its path.
  LONG clipFrame = -1;
  EXPECT_EQ(S_OK, Flash->TGotoFrame(TText(L"/clip"), 2));
  EXPECT_EQ(S_OK, Flash->TCurrentFrame(TText(L"_level0.clip"), &clipFrame));
  EXPECT_EQ(2, clipFrame);
  EXPECT_EQ(S_OK, Flash->TPlay(TText(L"/clip")));
  EXPECT_EQ(S_OK, Flash->TStopPlay(TText(L"/clip")));
}

TEST_F(AutomationTest, VariablesAndDisplayProperties)
{
  LoadTimeline();
  EXPECT_EQ(L"hello", Variable(L"greeting"));
  EXPECT_EQ(L"deep", Variable(L"/clip:inner"));
  EXPECT_EQ(L"", Variable(L"undefinedName"));
  EXPECT_EQ(S_OK, Flash->SetVariable(TText(L"score"), TText(L"42")));
  EXPECT_EQ(L"42", Variable(L"score"));
  EXPECT_EQ(S_OK, Flash->SetVariable(TText(L"/clip:inner"), TText(L"\u00E9t\u00E9")));
  EXPECT_EQ(L"\u00E9t\u00E9", Variable(L"/clip:inner"));

  // 0 is _x, 5 _totalframes, 13 _name.
  EXPECT_EQ(S_OK, Flash->TSetProperty(TText(L"/clip"), 0, TText(L"12")));
  BSTR text = nullptr;
  EXPECT_EQ(S_OK, Flash->TGetProperty(TText(L"/clip"), 0, &text));
  EXPECT_EQ(L"12", TakeText(text));
  EXPECT_EQ(S_OK, Flash->TGetProperty(TText(L"/clip"), 13, &text));
  EXPECT_EQ(L"clip", TakeText(text));
  double number = 0;
  EXPECT_EQ(S_OK, Flash->TSetPropertyNum(TText(L"/clip"), 1, 7.5));
  EXPECT_EQ(S_OK, Flash->TGetPropertyNum(TText(L"/clip"), 1, &number));
  EXPECT_EQ(7.5, number);
  EXPECT_EQ(S_OK, Flash->TGetPropertyAsNumber(TText(L"/clip"), 5, &number));
  EXPECT_EQ(3.0, number);
}

TEST_F(AutomationTest, WithoutAMovieTheTimelineIsEmpty)
{
  LONG value = -1;
  EXPECT_EQ(S_OK, Flash->get_TotalFrames(&value));
  EXPECT_EQ(0, value);
  EXPECT_EQ(S_OK, Flash->CurrentFrame(&value));
  EXPECT_EQ(0, value);
  EXPECT_EQ(S_OK, Flash->PercentLoaded(&value));
  EXPECT_EQ(0, value);
  EXPECT_EQ(S_OK, Flash->get_ReadyState(&value));
  EXPECT_EQ(4, value);
  EXPECT_EQ(S_OK, Flash->Play());
  EXPECT_EQ(S_OK, Flash->Rewind());
  EXPECT_TRUE(FAILED(Flash->GotoFrame(0)));
  BSTR text = reinterpret_cast<BSTR>(1);
  EXPECT_EQ(S_OK, Flash->GetVariable(TText(L"anything"), &text));
  EXPECT_EQ(nullptr, text);
}

}  // namespace flash_control_test
