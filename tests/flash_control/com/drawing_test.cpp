// Drawing through IViewObject::Draw: opaque and transparent window modes, straight alpha over
// transparent black, scaling and alignment, the host's partial repaints with a shifted window
// origin, bottom-up and 24-bit targets, clip regions, and the answers to bad arguments.
#include "tests/flash_control/com/ControlFixture.h"
#include "tests/flash_control/com/TestDib.h"
#include "tests/flash_control/com/TestMovies.h"

namespace flash_control_test {

namespace {

constexpr uint32_t Background = 0xFF2040A0;
constexpr uint32_t Red = 0xFFFF0000;
constexpr uint32_t Green = 0xFF00FF00;

uint8_t Alpha(uint32_t pixel)
{
  return uint8_t(pixel >> 24);
}
uint8_t GreenOf(uint32_t pixel)
{
  return uint8_t(pixel >> 8);
}

class DrawingTest : public ControlTest {
protected:
  void SetUp() override
  {
    ControlTest::SetUp();
    CreateControl();
    FMovie = std::make_unique<TTempFile>(L"drawing_shapes.swf", ShapesMovie());
    LoadMovie(FMovie->Path());
  }

  HRESULT Draw(HDC dc, const RECTL& bounds, DWORD aspect = DVASPECT_CONTENT)
  {
    ComPtr<IViewObject> view;
    EXPECT_EQ(S_OK, Flash.As(&view));
    return view->Draw(aspect, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0);
  }

  void SetText(HRESULT (STDMETHODCALLTYPE IShockwaveFlash::*put)(BSTR), const wchar_t* value)
  {
    BSTR text = SysAllocString(value);
    EXPECT_EQ(S_OK, (Flash.Get()->*put)(text));
    SysFreeString(text);
  }

  // The pixels along the disc's upper-left edge, from outside to inside.
  static std::vector<uint32_t> DiscEdge(const TDib& dib)
  {
    std::vector<uint32_t> edge;
    for (int i = 60; i <= 70; ++i) edge.push_back(dib.Pixel(i, i));
    return edge;
  }

private:
  std::unique_ptr<TTempFile> FMovie;
};

}  // namespace

TEST_F(DrawingTest, OpaqueModeFillsTheBackgroundAndAntiAliasesEdges)
{
  TDib dib(100, 100, 32, true, 0x11223344);
  ASSERT_EQ(S_OK, Draw(dib.Dc(), {0, 0, 100, 100}));
  EXPECT_EQ(Background, dib.Pixel(5, 5));
  EXPECT_EQ(Background, dib.Pixel(99, 0));
  EXPECT_EQ(Red, dib.Pixel(20, 20));
  EXPECT_EQ(Red, dib.Pixel(59, 59));
  EXPECT_EQ(Background, dib.Pixel(60, 40));
  EXPECT_EQ(Green, dib.Pixel(75, 75));

  int between = 0;
  for (uint32_t pixel : DiscEdge(dib)) {
    EXPECT_EQ(255, Alpha(pixel));
    between += GreenOf(pixel) > 0x40 && GreenOf(pixel) < 0xFF;
  }
  EXPECT_GE(between, 1) << "an anti-aliased edge between background and disc";

  // The control's background colour replaces the movie's.
  ASSERT_EQ(S_OK, Flash->put_BackgroundColor(0xC76D6D));
  ASSERT_EQ(S_OK, Draw(dib.Dc(), {0, 0, 100, 100}));
  EXPECT_EQ(0xFFC76D6Du, dib.Pixel(5, 5));
  EXPECT_EQ(Red, dib.Pixel(40, 40));
}

TEST_F(DrawingTest, TransparentModeKeepsWhatLiesUnderneath)
{
  SetText(&IShockwaveFlash::put_WMode, L"Transparent");

  // Over transparent black the drawing keeps its own alpha, in straight (unmultiplied) colour.
  TDib clear(100, 100);
  ASSERT_EQ(S_OK, Draw(clear.Dc(), {0, 0, 100, 100}, DVASPECT_TRANSPARENT));
  EXPECT_EQ(0u, clear.Pixel(5, 5));
  EXPECT_EQ(0u, clear.Pixel(99, 99));
  EXPECT_EQ(Red, clear.Pixel(40, 40));
  EXPECT_EQ(Green, clear.Pixel(75, 75));
  int partial = 0;
  for (uint32_t pixel : DiscEdge(clear)) {
    if (Alpha(pixel) == 0) {
      EXPECT_EQ(0u, pixel);
    } else {
      EXPECT_EQ(0x00FF00u, pixel & 0xFFFFFF) << std::hex << pixel;
      partial += Alpha(pixel) < 255;
    }
  }
  EXPECT_GE(partial, 1);

  // Over an opaque picture, pixels outside the shapes are untouched and edges blend into it.
  TDib picture(100, 100, 32, true, 0xFF123456);
  ASSERT_EQ(S_OK, Draw(picture.Dc(), {0, 0, 100, 100}, DVASPECT_TRANSPARENT));
  EXPECT_EQ(0xFF123456u, picture.Pixel(5, 5));
  EXPECT_EQ(Red, picture.Pixel(40, 40));
  for (uint32_t pixel : DiscEdge(picture)) EXPECT_EQ(255, Alpha(pixel));
}

TEST_F(DrawingTest, ScaleModeAndAlignmentPlaceTheStage)
{
  // A 100 by 100 stage in 200 by 100 bounds.
  const struct {
    const wchar_t* scale;
    const wchar_t* align;
    int squareLeft, squareRight;  // columns of the square's first and last pixel at row 40
  } cases[] = {
    {L"ShowAll", L"", 70, 109},  {L"ShowAll", L"L", 20, 59},  {L"ShowAll", L"R", 120, 159},
    {L"ExactFit", L"", 40, 119}, {L"NoScale", L"TL", 20, 59},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::string(c.scale, c.scale + wcslen(c.scale)) << " "
                                    << std::string(c.align, c.align + wcslen(c.align)));
    SetText(&IShockwaveFlash::put_Scale, c.scale);
    SetText(&IShockwaveFlash::put_SAlign, c.align);
    TDib dib(200, 100);
    ASSERT_EQ(S_OK, Draw(dib.Dc(), {0, 0, 200, 100}));
    EXPECT_EQ(Background, dib.Pixel(c.squareLeft - 2, 40)) << "the bounds are filled";
    EXPECT_EQ(Red, dib.Pixel(c.squareLeft + 1, 40));
    EXPECT_EQ(Red, dib.Pixel(c.squareRight - 1, 40));
    EXPECT_EQ(Background, dib.Pixel(c.squareRight + 2, 40));
  }
}

TEST_F(DrawingTest, ZoomAndPanShowPartOfTheStage)
{
  // The square's own area, in twips, fills the bounds.
  ASSERT_EQ(S_OK, Flash->SetZoomRect(20 * 20, 20 * 20, 60 * 20, 60 * 20));
  TDib dib(100, 100);
  ASSERT_EQ(S_OK, Draw(dib.Dc(), {0, 0, 100, 100}));
  EXPECT_EQ(Red, dib.Pixel(1, 1));
  EXPECT_EQ(Red, dib.Pixel(98, 98));

  // Zoom 50 shows the middle half of the stage twice as large; a pan moves by percent of it.
  ASSERT_EQ(S_OK, Flash->Zoom(0));
  ASSERT_EQ(S_OK, Flash->Zoom(50));
  ASSERT_EQ(S_OK, Draw(dib.Dc(), {0, 0, 100, 100}));
  EXPECT_EQ(Red, dib.Pixel(5, 5));           // stage (27.5, 27.5)
  EXPECT_EQ(Background, dib.Pixel(75, 25));  // stage (62.5, 37.5)
  EXPECT_EQ(Green, dib.Pixel(95, 95));       // stage (72.5, 72.5)
  ASSERT_EQ(S_OK, Flash->Pan(-20, -20, 1));
  ASSERT_EQ(S_OK, Draw(dib.Dc(), {0, 0, 100, 100}));
  EXPECT_EQ(Background, dib.Pixel(5, 5));  // stage (17.5, 17.5)
  EXPECT_EQ(Red, dib.Pixel(25, 25));       // stage (27.5, 27.5)

  ASSERT_EQ(S_OK, Flash->Zoom(0));
  ASSERT_EQ(S_OK, Draw(dib.Dc(), {0, 0, 100, 100}));
  EXPECT_EQ(Background, dib.Pixel(5, 5));
  EXPECT_EQ(Red, dib.Pixel(40, 40));
}

TEST_F(DrawingTest, PartialRepaintsLandWhereAWholeRepaintDraws)
{
  Site.Position = {0, 0, 100, 100};
  ActivateWindowless();
  TDib whole(100, 100);
  ASSERT_EQ(S_OK, Draw(whole.Dc(), {0, 0, 100, 100}, DVASPECT_TRANSPARENT));

  // As the host repaints a dirty rectangle D: a D-sized buffer whose window origin is D's corner,
  // and bounds (0, 0, D.right, D.bottom). The control draws at its object rectangle.
  const RECT dirty{50, 30, 90, 85};
  TDib part(dirty.right - dirty.left, dirty.bottom - dirty.top);
  SetWindowOrgEx(part.Dc(), dirty.left, dirty.top, nullptr);
  ASSERT_EQ(S_OK, Draw(part.Dc(), {0, 0, dirty.right, dirty.bottom}, DVASPECT_TRANSPARENT));
  SetWindowOrgEx(part.Dc(), 0, 0, nullptr);
  for (int y = dirty.top; y < dirty.bottom; ++y)
    for (int x = dirty.left; x < dirty.right; ++x)
      ASSERT_EQ(whole.Pixel(x, y), part.Pixel(x - dirty.left, y - dirty.top)) << x << "," << y;
}

TEST_F(DrawingTest, OtherTargetsGetTheSamePixels)
{
  TDib topDown(100, 100);
  ASSERT_EQ(S_OK, Draw(topDown.Dc(), {0, 0, 100, 100}));

  TDib bottomUp(100, 100, 32, false);
  ASSERT_EQ(S_OK, Draw(bottomUp.Dc(), {0, 0, 100, 100}));
  TDib rgb(100, 100, 24, true);
  ASSERT_EQ(S_OK, Draw(rgb.Dc(), {0, 0, 100, 100}));
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) {
      ASSERT_EQ(topDown.Pixel(x, y), bottomUp.Pixel(x, y)) << x << "," << y;
      ASSERT_EQ(topDown.Pixel(x, y) & 0xFFFFFF, rgb.Pixel(x, y)) << x << "," << y;
    }

  // A 24-bit target in transparent mode: what lies under the shapes is read back and kept.
  SetText(&IShockwaveFlash::put_WMode, L"Transparent");
  TDib under(100, 100, 24, true, 0x123456);
  ASSERT_EQ(S_OK, Draw(under.Dc(), {0, 0, 100, 100}));
  EXPECT_EQ(0x123456u, under.Pixel(5, 5));
  EXPECT_EQ(0xFF0000u, under.Pixel(40, 40));
  const uint32_t edge = under.Pixel(64, 64);
  EXPECT_TRUE(GreenOf(edge) > 0x34 && GreenOf(edge) < 0xFF) << std::hex << edge;
}

TEST_F(DrawingTest, FindingTheRowOrderDisturbsNothing)
{
  TDib reference(100, 100);
  ASSERT_EQ(S_OK, Draw(reference.Dc(), {0, 0, 100, 100}));
  for (bool topDown : {true, false}) {
    SCOPED_TRACE(topDown ? "top-down" : "bottom-up");
    // A caller's mix mode and clip stay as they were, and so does every byte outside the clip,
    // the corners where the row order is looked for included.
    TDib dib(100, 100, 32, topDown, 0x80FFFFFF);
    SetROP2(dib.Dc(), R2_NOT);
    IntersectClipRect(dib.Dc(), 10, 20, 100, 90);
    ASSERT_EQ(S_OK, Draw(dib.Dc(), {0, 0, 100, 100}));
    EXPECT_EQ(R2_NOT, GetROP2(dib.Dc()));
    RECT clip{};
    EXPECT_EQ(SIMPLEREGION, GetClipBox(dib.Dc(), &clip));
    EXPECT_EQ(10, clip.left);
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 100; ++x) {
        const bool inside = x >= 10 && y >= 20 && y < 90;
        ASSERT_EQ(inside ? reference.Pixel(x, y) : 0x80FFFFFFu, dib.Pixel(x, y)) << x << "," << y;
      }
  }
}

TEST_F(DrawingTest, ClipRegionsAreHonoured)
{
  TDib dib(100, 100, 32, true, 0xFFABCDEF);
  // Two separate strips: a region that is not a rectangle.
  HRGN region = CreateRectRgn(0, 0, 100, 10);
  HRGN second = CreateRectRgn(0, 50, 100, 60);
  CombineRgn(region, region, second, RGN_OR);
  SelectClipRgn(dib.Dc(), region);
  DeleteObject(second);
  DeleteObject(region);
  ASSERT_EQ(S_OK, Draw(dib.Dc(), {0, 0, 100, 100}));
  EXPECT_EQ(Background, dib.Pixel(5, 5));
  EXPECT_EQ(0xFFABCDEFu, dib.Pixel(5, 30));
  EXPECT_EQ(Red, dib.Pixel(40, 55));
  EXPECT_EQ(0xFFABCDEFu, dib.Pixel(40, 40));

  // A rectangular clip: only its inside is drawn.
  TDib boxed(100, 100, 32, true, 0xFFABCDEF);
  IntersectClipRect(boxed.Dc(), 30, 30, 50, 50);
  ASSERT_EQ(S_OK, Draw(boxed.Dc(), {0, 0, 100, 100}));
  EXPECT_EQ(Red, boxed.Pixel(40, 40));
  EXPECT_EQ(0xFFABCDEFu, boxed.Pixel(25, 25));
  EXPECT_EQ(0xFFABCDEFu, boxed.Pixel(55, 40));
}

TEST_F(DrawingTest, BadArgumentsDrawNothing)
{
  TDib dib(10, 10, 32, true, 0x01020304);
  ComPtr<IViewObject> view;
  ASSERT_EQ(S_OK, Flash.As(&view));
  const RECTL bounds{0, 0, 10, 10};
  EXPECT_EQ(DV_E_DVASPECT, view->Draw(DVASPECT_THUMBNAIL, -1, nullptr, nullptr, nullptr, dib.Dc(),
                                      &bounds, nullptr, nullptr, 0));
  EXPECT_EQ(E_INVALIDARG, view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, nullptr,
                                     &bounds, nullptr, nullptr, 0));
  EXPECT_EQ(E_INVALIDARG, view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dib.Dc(),
                                     nullptr, nullptr, nullptr, 0));
  EXPECT_EQ(0x01020304u, dib.Pixel(5, 5));
  // Empty bounds draw nothing and succeed.
  const RECTL empty{5, 5, 5, 9};
  EXPECT_EQ(S_OK, view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dib.Dc(), &empty,
                             nullptr, nullptr, 0));
  EXPECT_EQ(0x01020304u, dib.Pixel(5, 5));
}

}  // namespace flash_control_test
