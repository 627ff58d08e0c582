// Loading: after the call returns, driven by the message loop; ready states and progress; the
// accepted forms of a movie's location and its query variables; layers; damaged movies.
#include <algorithm>

#include "tests/flash_control/com/ControlFixture.h"
#include "tests/flash_control/com/TestMovies.h"

namespace flash_control_test {

namespace {

class LoadingTest : public ControlTest {
protected:
  void SetUp() override
  {
    ControlTest::SetUp();
    CreateControl();
  }

  LONG TotalFrames()
  {
    LONG frames = -1;
    EXPECT_EQ(S_OK, Flash->get_TotalFrames(&frames));
    return frames;
  }
};

std::wstring FileUrl(std::wstring path)
{
  std::replace(path.begin(), path.end(), L'\\', L'/');
  return L"file:///" + path;
}

TEvent ReadyStateEvent(LONG state)
{
  return {-609, {std::to_wstring(state)}};
}

}  // namespace

TEST_F(LoadingTest, LoadsAfterTheCallReturnsAndReportsItsProgress)
{
  const TTempFile movie(L"loading_timeline.swf", TimelineMovie());
  BSTR url = SysAllocString(movie.Path().c_str());
  ASSERT_EQ(S_OK, Flash->put_Movie(url));
  SysFreeString(url);

  // Nothing is read inside the call: the control only says it is loading.
  EXPECT_EQ(std::vector<TEvent>{ReadyStateEvent(0)}, Events.Events);
  EXPECT_EQ(0, ReadyState());
  EXPECT_EQ(0, TotalFrames());
  LONG percent = -1;
  EXPECT_EQ(S_OK, Flash->PercentLoaded(&percent));
  EXPECT_EQ(0, percent);

  ASSERT_TRUE(PumpUntil([this] { return ReadyState() == 4; }));
  const std::vector<TEvent> expected = {
    ReadyStateEvent(0), ReadyStateEvent(3), {1958, {L"100"}}, ReadyStateEvent(4)};
  EXPECT_EQ(expected, Events.Events);
  EXPECT_EQ(5, TotalFrames());
  EXPECT_EQ(S_OK, Flash->PercentLoaded(&percent));
  EXPECT_EQ(100, percent);
  BSTR stored = nullptr;
  EXPECT_EQ(S_OK, Flash->get_Movie(&stored));
  EXPECT_EQ(movie.Path(), TakeText(stored));
  EXPECT_NE(Properties.Changed.end(),
            std::find(Properties.Changed.begin(), Properties.Changed.end(), DISPID_READYSTATE));
}

TEST_F(LoadingTest, AMovieAskedForWhileLoadingCompletesLast)
{
  const TTempFile first(L"loading_first.swf", TimelineMovie());
  const TTempFile second(L"loading_second.swf", ShapesMovie());
  // A handler that asks for the next movie as soon as the first one is interactive: the control
  // says it is complete only once, when the second one has loaded.
  std::vector<LONG> framesWhenComplete;
  Events.OnEvent = [&](const TEvent& event) {
    if (event == ReadyStateEvent(3) && framesWhenComplete.empty() && TotalFrames() == 5) {
      BSTR url = SysAllocString(second.Path().c_str());
      EXPECT_EQ(S_OK, Flash->put_Movie(url));
      SysFreeString(url);
    }
    if (event == ReadyStateEvent(4)) framesWhenComplete.push_back(TotalFrames());
  };
  BSTR url = SysAllocString(first.Path().c_str());
  ASSERT_EQ(S_OK, Flash->put_Movie(url));
  SysFreeString(url);
  ASSERT_TRUE(PumpUntil([this] { return ReadyState() == 4 && TotalFrames() == 1; }));
  Pump(50);

  EXPECT_EQ(std::vector<LONG>{1}, framesWhenComplete);
  const std::vector<TEvent> expected = {ReadyStateEvent(0), ReadyStateEvent(3),
                                        ReadyStateEvent(0), ReadyStateEvent(3),
                                        {1958, {L"100"}},   ReadyStateEvent(4)};
  EXPECT_EQ(expected, Events.Events);
}

TEST_F(LoadingTest, FrozenEventsAreDropped)
{
  ComPtr<IOleControl> control;
  ASSERT_EQ(S_OK, Flash.As(&control));
  const TTempFile movie(L"loading_frozen.swf", TimelineMovie());
  ASSERT_EQ(S_OK, control->FreezeEvents(TRUE));
  LoadMovie(movie.Path());
  EXPECT_TRUE(Events.Events.empty());
  ASSERT_EQ(S_OK, control->FreezeEvents(FALSE));
  LoadMovie(movie.Path());
  EXPECT_EQ(ReadyStateEvent(4), Events.Events.back());
}

TEST_F(LoadingTest, TheDemoMoviesLoadAndPlay)
{
  for (const wchar_t* name : {L"menu.swf", L"zarinelle.swf"}) {
    SCOPED_TRACE(std::string(name, name + wcslen(name)));
    Events.Take();
    wchar_t path[MAX_PATH];
    GetFullPathNameW(name, MAX_PATH, path, nullptr);
    LoadMovie(path);
    ASSERT_GE(Events.Events.size(), 3u);
    EXPECT_EQ((TEvent{1958, {L"100"}}), Events.Events[Events.Events.size() - 2]);
    EXPECT_EQ(ReadyStateEvent(4), Events.Events.back());
    EXPECT_GE(TotalFrames(), 1);
  }
  // The game scene is animated: its frames advance on the control's timer.
  LONG first = 0, later = 0;
  EXPECT_EQ(S_OK, Flash->CurrentFrame(&first));
  ASSERT_TRUE(PumpUntil([&] { return Flash->CurrentFrame(&later) == S_OK && later != first; }));
}

TEST_F(LoadingTest, AcceptsPathsAndFileUrlsWithTheirQuery)
{
  const TTempFile movie(L"loading_forms.swf", TimelineMovie());
  std::wstring forward = movie.Path();
  std::replace(forward.begin(), forward.end(), L'\\', L'/');
  const std::wstring forms[] = {movie.Path(), forward, FileUrl(movie.Path()), L"loading_forms.swf"};
  for (const std::wstring& form : forms) {
    LoadMovie(form + L"?fileName=D:/media/clip.flv&title=%C3%A9t%C3%A9&flag");
    EXPECT_EQ(5, TotalFrames()) << form;
    EXPECT_EQ(L"D:/media/clip.flv", Variable(L"fileName")) << form;
    EXPECT_EQ(L"\u00E9t\u00E9", Variable(L"title")) << form;
  }

  // FlashVars join the root's variables too.
  BSTR vars = SysAllocString(L"level=3&name=Zed");
  ASSERT_EQ(S_OK, Flash->put_FlashVars(vars));
  SysFreeString(vars);
  LoadMovie(movie.Path());
  EXPECT_EQ(L"Zed", Variable(L"name"));
  EXPECT_EQ(L"", Variable(L"fileName")) << "a new movie starts without the old query";
}

TEST_F(LoadingTest, AHigherLayerPlaysAboveTheMovie)
{
  const TTempFile base(L"loading_base.swf", TimelineMovie());
  const TTempFile overlay(L"loading_overlay.swf", OverlayMovie());
  LoadMovie(base.Path());
  BSTR url = SysAllocString(overlay.Path().c_str());
  ASSERT_EQ(S_OK, Flash->LoadMovie(1, url));
  SysFreeString(url);
  ASSERT_TRUE(PumpUntil([this] { return ReadyState() == 4; }));

  EXPECT_EQ(5, TotalFrames()) << "layer 0 stays the movie";
  BSTR target = SysAllocString(L"_level1");
  LONG frame = -1;
  EXPECT_EQ(S_OK, Flash->TCurrentFrame(target, &frame));
  EXPECT_EQ(0, frame);
  SysFreeString(target);
  EXPECT_EQ(L"hello", Variable(L"greeting"));
}

TEST_F(LoadingTest, UnreadableAndDamagedMoviesLeaveAnEmptyStage)
{
  const std::vector<uint8_t> good = TimelineMovie();
  std::vector<uint8_t> noise(600);
  uint32_t seed = 1;
  for (uint8_t& b : noise) b = uint8_t((seed = seed * 1664525 + 1013904223) >> 24);
  noise[0] = 'F', noise[1] = 'W', noise[2] = 'S', noise[3] = 8;

  const struct {
    const wchar_t* what;
    std::vector<uint8_t> bytes;
  } damaged[] = {
    {L"empty", {}},
    {L"another signature",
     [&] {
       auto b = good;
       b[0] = 'X';
       return b;
     }()},
    {L"header only", std::vector<uint8_t>(good.begin(), good.begin() + 8)},
    {L"cut in the frame rectangle", std::vector<uint8_t>(good.begin(), good.begin() + 10)},
    {L"compressed body that is not zlib",
     [&] {
       auto b = std::vector<uint8_t>(good.begin(), good.begin() + 8);
       b[0] = 'C';
       b.insert(b.end(), 64, 0xAB);
       return b;
     }()},
    {L"length field far beyond the file",
     [&] {
       auto b = good;
       b[4] = 0xFF, b[5] = 0xFF, b[6] = 0xFF, b[7] = 0x7F;
       return b;
     }()},
    {L"noise after the signature", noise},
  };
  for (const auto& d : damaged) {
    SCOPED_TRACE(d.what);
    const TTempFile file(L"loading_damaged.swf", d.bytes);
    Events.Take();
    LoadMovie(file.Path());
    EXPECT_EQ(0, TotalFrames());
    EXPECT_EQ(TEvent({1958, {L"100"}}), Events.Events.at(Events.Events.size() - 2));
  }

  // Missing files, folders and other schemes load nothing, and replace what was there.
  const TTempFile movie(L"loading_good.swf", good);
  for (const wchar_t* url : {L"no_such_movie.swf", L".", L"http://example.com/a.swf", L""}) {
    LoadMovie(movie.Path());
    ASSERT_EQ(5, TotalFrames());
    LoadMovie(url);
    EXPECT_EQ(0, TotalFrames()) << url;
  }
}

}  // namespace flash_control_test
