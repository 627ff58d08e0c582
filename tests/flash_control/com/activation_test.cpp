// In-place activation: windowless when the site offers it, in a child window otherwise; frame
// changes reach a windowless site as InvalidateRect; Close deactivates and stops the movie.
#include "tests/flash_control/com/ControlFixture.h"
#include "tests/flash_control/com/TestDib.h"
#include "tests/flash_control/com/TestMovies.h"

namespace flash_control_test {

namespace {

using ActivationTest = ControlTest;

// A top-level window for a windowed control to live in.
class TParentWindow {
public:
  TParentWindow()
  {
    FHandle = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 300,
                              200, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(FHandle, SW_SHOWNOACTIVATE);
  }
  ~TParentWindow() { DestroyWindow(FHandle); }
  HWND Handle() const { return FHandle; }

private:
  HWND FHandle;
};

}  // namespace

TEST_F(ActivationTest, WindowlessSiteSeesTheCallOrderAndFrameInvalidations)
{
  CreateControl();
  // Repaint inside InvalidateRect, as the system's host does: the control is drawn re-entrantly.
  const TDib buffer(100, 100);
  int draws = 0;
  Site.OnInvalidate = [&](const RECT*) {
    const RECTL bounds{0, 0, 100, 100};
    EXPECT_EQ(S_OK, Site.View->Draw(DVASPECT_TRANSPARENT, -1, nullptr, nullptr, nullptr,
                                    buffer.Dc(), &bounds, nullptr, nullptr, 0));
    ++draws;
  };

  ActivateWindowless();
  EXPECT_TRUE(
    Site.CalledInOrder({"CanWindowlessActivate", "OnInPlaceActivateEx", "GetWindowContext"}));
  EXPECT_EQ(0, Site.Count("OnInPlaceActivate"));
  HWND window = HWND(1);
  ComPtr<IOleInPlaceObject> inPlace;
  ASSERT_EQ(S_OK, Flash.As(&inPlace));
  EXPECT_EQ(E_FAIL, inPlace->GetWindow(&window)) << "a windowless control has no window";

  const TTempFile movie(L"activation_timeline.swf", TimelineMovie());
  LoadMovie(movie.Path());
  const size_t afterLoad = Site.Invalidated.size();
  EXPECT_GE(afterLoad, 1u);
  // The square moves every frame: each frame asks for its changed area, never for nothing.
  ASSERT_TRUE(PumpUntil([&] { return Site.Invalidated.size() >= afterLoad + 3; }));
  for (size_t i = afterLoad; i < Site.Invalidated.size(); ++i) {
    ASSERT_TRUE(Site.Invalidated[i]);
    const RECT r = *Site.Invalidated[i];
    EXPECT_LT(r.left, r.right);
    EXPECT_GE(r.left, 0);
    EXPECT_LE(r.right, 100);
  }
  EXPECT_EQ(int(Site.Invalidated.size()), draws);

  // Close deactivates through the site and stops the movie: no more frames.
  ASSERT_EQ(S_OK, Object->Close(OLECLOSE_NOSAVE));
  EXPECT_EQ(1, Site.Count("OnInPlaceDeactivate"));
  EXPECT_EQ(nullptr, Site.View);
  VARIANT_BOOL playing = VARIANT_TRUE;
  EXPECT_EQ(S_OK, Flash->IsPlaying(&playing));
  EXPECT_EQ(VARIANT_FALSE, playing);
  const size_t afterClose = Site.Invalidated.size();
  Pump(150);
  EXPECT_EQ(afterClose, Site.Invalidated.size());
}

TEST_F(ActivationTest, SiteWithoutTheWindowlessInterfaceGetsAChildWindow)
{
  TParentWindow parent;
  Site.Windowless = false;
  Site.Window = parent.Handle();
  Site.Position = {10, 20, 110, 70};
  CreateControl();
  ActivateWindowless();

  EXPECT_EQ(0, Site.Count("CanWindowlessActivate"));
  EXPECT_EQ(0, Site.Count("OnInPlaceActivateEx"));
  EXPECT_TRUE(Site.CalledInOrder({"CanInPlaceActivate", "OnInPlaceActivate", "GetWindowContext"}));
  ComPtr<IOleInPlaceObject> inPlace;
  ASSERT_EQ(S_OK, Flash.As(&inPlace));
  HWND window = nullptr;
  ASSERT_EQ(S_OK, inPlace->GetWindow(&window));
  EXPECT_EQ(parent.Handle(), GetParent(window));
  EXPECT_TRUE(IsWindowVisible(window));
  RECT placed{};
  GetWindowRect(window, &placed);
  MapWindowPoints(nullptr, parent.Handle(), reinterpret_cast<POINT*>(&placed), 2);
  EXPECT_EQ(10, placed.left);
  EXPECT_EQ(70, placed.bottom);

  // The object rectangles move the window; windowless messages are refused.
  const RECT moved{0, 0, 50, 40};
  EXPECT_EQ(S_OK, inPlace->SetObjectRects(&moved, &moved));
  GetClientRect(window, &placed);
  EXPECT_EQ(50, placed.right);
  ComPtr<IOleInPlaceObjectWindowless> windowless;
  ASSERT_EQ(S_OK, Flash.As(&windowless));
  LRESULT result = 0;
  EXPECT_EQ(E_UNEXPECTED, windowless->OnWindowMessage(WM_MOUSEMOVE, 0, 0, &result));

  ASSERT_EQ(S_OK, Object->Close(OLECLOSE_NOSAVE));
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(1, Site.Count("OnInPlaceDeactivate"));
}

TEST_F(ActivationTest, RefusalsLeaveTheControlInactive)
{
  // A site that refuses in-place activation.
  Site.AllowInPlace = false;
  CreateControl();
  EXPECT_TRUE(
    FAILED(Object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &Site, 0, nullptr, &Site.Position)));
  EXPECT_EQ(0, Site.Count("OnInPlaceActivateEx"));

  // A windowed activation without a window to live in.
  Site.AllowInPlace = true;
  Site.Windowless = false;
  EXPECT_TRUE(
    FAILED(Object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &Site, 0, nullptr, &Site.Position)));
  EXPECT_EQ(Site.Count("OnInPlaceActivate"), Site.Count("OnInPlaceDeactivate"));

  // Verbs it does not have.
  EXPECT_EQ(E_NOTIMPL, Object->DoVerb(OLEIVERB_OPEN, nullptr, &Site, 0, nullptr, &Site.Position));
  EXPECT_EQ(E_NOTIMPL,
            Object->DoVerb(OLEIVERB_PROPERTIES, nullptr, &Site, 0, nullptr, &Site.Position));
}

}  // namespace flash_control_test
