// TqvBitmap's drawing: the mode and target choice, clipping and sampling through real bitmaps and
// DIB sections, tiling, merging, filling, graphics, and the device routines chosen at start-up.
#include <gtest/gtest.h>

#include <algorithm>

#include "graphics/Qv_bitmap.h"
#include "graphics/utils/Rects.h"
#include "platform/Graphics.h"
#include "system/Qv_winapi.h"
#include "tests/graphics/bitmap/support.h"

namespace {

// Blending: the worked examples in both forms, through the bitmap's blended fill

TEST(BitmapBlend, WorkedExamplesInScalarAndSimdForm)
{
  struct Case {
    TPixelAlphaBlendFunc Pixel;
    TLineFunc Line;
    TqvColor OverBlue, OverNothing;
  };
  const Case forms[] = {{PixelAlphaBlend, LineAlphaBlend, 0xFF7F007E, 0xFF7F0000},
                        {PixelAlphaBlendMMX, LineAlphaBlendMMX, 0xBF7F007F, 0x407F0000}};
  const TPixelAlphaBlendFunc savedPixel = PixelAlphaBlendFunc;
  const TLineFunc savedLine = LineAlphaBlendFunc;
  for (const Case& form : forms) {
    PixelAlphaBlendFunc = form.Pixel;
    LineAlphaBlendFunc = form.Line;
    TqvBitmap bitmap;
    Fill(bitmap, 2, 1, {0xFF0000FF, 0x00000000});
    bitmap.AlphaBlend = true;
    bitmap.FillRect(Rect(0, 0, 2, 1), 0x80FF0000);
    EXPECT_EQ((std::vector<TqvColor>{form.OverBlue, form.OverNothing}), PixelsOf(bitmap));

    // MergeDraw puts the same background under a half-transparent pixel.
    TqvBitmap top;
    Fill(top, 1, 1, {0x80FF0000});
    TqvBitmap under;
    Fill(under, 1, 1, {0xFF0000FF});
    top.MergeDraw(&under, 0, 0, Rect(0, 0, 1, 1));
    EXPECT_EQ(form.OverBlue, top.Bits[0]);
  }
  PixelAlphaBlendFunc = savedPixel;
  LineAlphaBlendFunc = savedLine;
}

// Bitmap into bitmap

// Which source column each target column of a one-row drawing shows (numbered pixels: value - 1).
std::vector<int> SampledColumns(int SrcLeft, int SrcWidth, int DstWidth, TqvBitmap* Target = nullptr)
{
  TqvBitmap source;
  FillNumbered(source, 8, 1);
  TqvBitmap own;
  TqvBitmap& target = Target ? *Target : own;
  target.SetSize(DstWidth, 1);
  source.Draw(&target, Rect(0, 0, DstWidth, 1), Rect(SrcLeft, 0, SrcLeft + SrcWidth, 1));
  std::vector<int> columns;
  for (int x = 0; x < DstWidth; ++x) columns.push_back(int(target.GetPixel(x, 0) & 0xFFFFFF) - 1);
  return columns;
}

TEST(BitmapDraw, ScaledColumnsAlignTheCornersAndRoundHalvesToEven)
{
  EXPECT_EQ((std::vector<int>{0, 0, 1}), SampledColumns(0, 2, 3));
  EXPECT_EQ((std::vector<int>{1, 2, 2}), SampledColumns(1, 2, 3));
  EXPECT_EQ((std::vector<int>{0, 0, 1, 2, 2}), SampledColumns(0, 3, 5));
  EXPECT_EQ((std::vector<int>{0, 3}), SampledColumns(0, 4, 2));
  EXPECT_EQ((std::vector<int>{1}), SampledColumns(0, 4, 1));
}

TEST(BitmapDraw, TheModeFollowsTheFlags)
{
  TqvBitmap source;
  Fill(source, 3, 1, {0x80FF0000, 0x007F007F, 0x00FFFFFF});
  struct Case {
    bool AlphaBlend, Transparent;
    std::vector<TqvColor> Expected;
  };
  const Case cases[] = {
      {false, false, {0x80FF0000, 0x007F007F, 0x00FFFFFF}},
      {false, true, {0xFFFF0000, 0xFF0000FF, 0xFFFFFFFF}},
      {true, true, {PixelAlphaBlendFunc(0x80FF0000, 0xFF0000FF), 0xFF0000FF, 0xFF0000FF}},
  };
  for (const Case& c : cases) {
    source.AlphaBlend = c.AlphaBlend;
    source.Transparent = c.Transparent;
    TqvBitmap target;
    Fill(target, 3, 1, std::vector<TqvColor>(3, 0xFF0000FF));
    source.Draw(&target, 0, 0);
    EXPECT_EQ(c.Expected, PixelsOf(target));
  }
}

TEST(BitmapDraw, ClippingAtTheTargetsLeftAndTopKeepsTheUnclippedSamples)
{
  // Unscaled and scaled (2 -> 4 each way), both hanging over the top-left corner by one pixel.
  for (const TRect dst : {Rect(-1, -1, 1, 1), Rect(-1, -1, 3, 3)}) {
    TqvBitmap source;
    FillNumbered(source, 2, 2);
    TqvBitmap whole;
    whole.SetSize(RectWidth(dst), RectHeight(dst));
    source.Draw(&whole, Rect(0, 0, RectWidth(dst), RectHeight(dst)));
    TqvBitmap clipped;
    Fill(clipped, 4, 4, std::vector<TqvColor>(16, 0));
    source.Draw(&clipped, dst);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x)
        EXPECT_EQ(whole.GetPixel(x + 1, y + 1), clipped.GetPixel(x, y)) << dst.Right << ": " << x << "," << y;
  }
}

TEST(BitmapDraw, ASourceRectangleLeavingTheSourceDrawsNothing)
{
  TqvBitmap source;
  FillNumbered(source, 2, 2);
  TqvBitmap target;
  Fill(target, 4, 4, std::vector<TqvColor>(16, 0));
  source.Draw(&target, 0, 0, Rect(0, 0, 3, 2));
  source.Draw(&target, Rect(0, 0, 4, 4), Rect(-1, 0, 2, 2));
  source.Draw(&target, Rect(0, 0, 4, 4), Rect(1, 0, 1, 2));
  EXPECT_EQ(std::vector<TqvColor>(16, 0), PixelsOf(target));
}

TEST(BitmapDraw, UnscaledRoutinesAssertPixels)
{
  TqvBitmap empty;
  TqvBitmap full;
  FillNumbered(full, 2, 2);
  for (TBltFunc blt : {BltOpaque, BltAlphaBlend, BltTransparent}) {
    try {
      blt(&full, Rect(0, 0, 1, 1), &empty, 0, 0);
      ADD_FAILURE() << "no assertion";
    } catch (const EAssertionFailed& e) {
      EXPECT_EQ(0, std::string(e.what()).rfind("Assertion failure (qv_bitmap", 0)) << e.what();
    }
    EXPECT_THROW(blt(&empty, Rect(0, 0, 1, 1), &full, 0, 0), EAssertionFailed);
  }
  // On the drawing paths the validity checks stop first.
  empty.Draw(&full, 0, 0);
  full.Draw(&empty, 0, 0);
}

TEST(BitmapDraw, ReplacedPointersTakeEffectEverywhere)
{
  static int calls;
  calls = 0;
  const TStretchFunc saved = StretchOpaqueFunc;
  StretchOpaqueFunc = [](TqvBitmap*, const TRect&, const TRect&, TqvBitmap*, const TRect&) { ++calls; };
  TqvBitmap source;
  FillNumbered(source, 2, 2);
  TqvBitmap target;
  target.SetSize(4, 4);
  source.Draw(&target, 0, 0);
  source.Draw(target.DC, 1, 1);
  source.Tile(&target, Rect(0, 0, 4, 4), Rect(0, 0, 2, 2));
  StretchOpaqueFunc = saved;
  EXPECT_EQ(2 + 4, calls);
}

// Onto device contexts

TEST(BitmapDrawDC, AnotherBitmapsDCIsDrawnIntoItsPixelsAtTheWindowOrigin)
{
  TqvBitmap source;
  Fill(source, 1, 1, {0x80123456});
  source.AlphaBlend = false;
  TqvBitmap target;
  Fill(target, 60, 60, std::vector<TqvColor>(3600, 0));
  SetWindowOrgEx(target.DC, 10, 20, nullptr);
  source.Draw(target.GetCanvas(), 50, 50);
  EXPECT_EQ(0x80123456u, target.GetPixel(40, 30));  // alpha kept: no device in between

  // The bitmap's own DC too.
  source.Draw(source.DC, 0, 0);
  EXPECT_EQ(0x80123456u, source.Bits[0]);
}

TEST(BitmapDrawDC, APlainDeviceContextGetsTheModeThroughTheSystem)
{
  HDC screen = GetDC(nullptr);
  HBITMAP device = CreateCompatibleBitmap(screen, 4, 1);
  ReleaseDC(nullptr, screen);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, device);

  TqvBitmap source;
  Fill(source, 4, 1, {0xFFFF0000, 0x007F007F, 0x80FF0000, 0x00FFFFFF});
  const TqvColor red = 0xFF0000, blue = 0x0000FF, white = 0xFFFFFF;
  struct Case {
    bool AlphaBlend, Transparent;
    TqvColor Expected[4];  // 0xRRGGBB
  };
  const Case cases[] = {
      {false, false, {red, 0x7F007F, red, white}},
      {false, true, {red, blue, red, white}},
      {true, false, {red, blue, PixelAlphaBlendFunc(0x80FF0000, 0xFF0000FF) & 0xFFFFFF, blue}},
  };
  for (const Case& c : cases) {
    RECT all{0, 0, 4, 1};
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    source.AlphaBlend = c.AlphaBlend;
    source.Transparent = c.Transparent;
    source.Draw(dc, 0, 0);
    for (int x = 0; x < 4; ++x) {
      const COLORREF shown = GetPixel(dc, x, 0);
      EXPECT_EQ(c.Expected[x], TqvColor(GetRValue(shown) << 16 | GetGValue(shown) << 8 | GetBValue(shown)))
          << c.AlphaBlend << c.Transparent << x;
    }
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(device);
}

TEST(BitmapDrawDC, AWindowDCShowsTheDrawing)
{
  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 20, 20, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(nullptr, window);
  UpdateWindow(window);
  HDC dc = GetDC(window);
  TqvBitmap source;
  Fill(source, 2, 2, std::vector<TqvColor>(4, 0xFF204080));
  source.Draw(dc, 3, 4);
  EXPECT_EQ(RGB(0x20, 0x40, 0x80), GetPixel(dc, 4, 5));
  ReleaseDC(window, dc);
  DestroyWindow(window);
}

TEST(BitmapDrawDC, ColourKeyedDeviceRoutineFollowsTheSystem)
{
  EXPECT_EQ(StretchToDCTransparentBlt, ChooseStretchToDCTransparent(true, 32));
  EXPECT_EQ(StretchToDCTransparentBlt, ChooseStretchToDCTransparent(true, 24));
  EXPECT_EQ(StretchToDCReadBack, ChooseStretchToDCTransparent(true, 16));
  EXPECT_EQ(StretchToDCReadBack, ChooseStretchToDCTransparent(false, 32));
  // This system has msimg32 and a 32-bit screen.
  EXPECT_TRUE(Qv_winapi::IsMsImg());
  EXPECT_EQ(StretchToDCTransparentBlt, StretchToDCTransparentFunc);
  EXPECT_EQ(StretchToDCReadBack, StretchToDCAlphaBlendFunc);
}

// Into a foreign DIB section

TEST(BitmapDrawDib, GetBitsFromDCFindsOnlySections)
{
  TForeignDib dib(5, 3);
  int32_t width, height, bitCount;
  EXPECT_EQ(dib.Bits, GetBitsFromDC(dib.DC, width, height, bitCount));
  EXPECT_EQ(5, width);
  EXPECT_EQ(3, height);
  EXPECT_EQ(32, bitCount);

  HDC plain = CreateCompatibleDC(nullptr);
  EXPECT_EQ(nullptr, GetBitsFromDC(plain, width, height, bitCount));
  EXPECT_EQ(0, width + height + bitCount);
  DeleteDC(plain);
}

TEST(BitmapDrawDib, ScaledPlainRowsRepeatIntoABottomUpSection)
{
  TqvBitmap source;
  FillNumbered(source, 2, 2);
  TForeignDib dib(2, 4);
  StretchToDibOpaqueFunc(dib.Bits, Rect(0, 0, 2, 4), Rect(0, 0, 2, 4), 2, 4, &source, Rect(0, 0, 2, 2));
  const TqvColor expected[4][2] = {{0xFF000001, 0xFF000002}, {0xFF000001, 0xFF000002},
                                   {0xFF000003, 0xFF000004}, {0xFF000003, 0xFF000004}};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 2; ++x) EXPECT_EQ(expected[y][x], dib.At(x, y)) << x << "," << y;
}

// Tiling

TEST(BitmapTile, CellsCoverTheRectangleWithTheTilesTopLeft)
{
  TqvBitmap tile;
  FillNumbered(tile, 10, 10);
  static std::vector<TRect> cells;
  static std::vector<TRect> parts;
  cells.clear();
  parts.clear();
  const TStretchFunc saved = StretchOpaqueFunc;
  StretchOpaqueFunc = [](TqvBitmap*, const TRect& Dst, const TRect&, TqvBitmap*, const TRect& Src) {
    cells.push_back(Dst);
    parts.push_back(Src);
  };
  TqvBitmap target;
  target.SetSize(40, 40);
  tile.Tile(&target, Rect(2, 3, 27, 18), Rect(0, 0, 10, 10));
  StretchOpaqueFunc = saved;
  const std::vector<TRect> expectedCells = {Rect(2, 3, 12, 13),  Rect(2, 13, 12, 18),  Rect(12, 3, 22, 13),
                                            Rect(12, 13, 22, 18), Rect(22, 3, 27, 13), Rect(22, 13, 27, 18)};
  const std::vector<TRect> expectedParts = {Rect(0, 0, 10, 10), Rect(0, 0, 10, 5), Rect(0, 0, 10, 10),
                                            Rect(0, 0, 10, 5),  Rect(0, 0, 5, 10), Rect(0, 0, 5, 5)};
  EXPECT_EQ(expectedCells, cells);
  EXPECT_EQ(expectedParts, parts);
}

TEST(BitmapTile, EveryKindOfTargetShowsTheSamePattern)
{
  TqvBitmap tile;
  FillNumbered(tile, 2, 2);
  auto expected = [](int x, int y) { return 0xFF000000u | TqvColor(1 + (y % 2) * 2 + x % 2); };

  TqvBitmap bitmap;
  bitmap.SetSize(5, 3);
  tile.Tile(&bitmap, Rect(0, 0, 5, 3), Rect(0, 0, 2, 2));
  TForeignDib dib(5, 3);
  tile.Tile(dib.DC, Rect(0, 0, 5, 3), Rect(0, 0, 2, 2));
  TForeignDib throughDevice(5, 3);
  EnableDibOperation = false;
  tile.Tile(throughDevice.DC, Rect(0, 0, 5, 3), Rect(0, 0, 2, 2));
  EnableDibOperation = true;
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      EXPECT_EQ(expected(x, y), bitmap.GetPixel(x, y)) << x << "," << y;
      EXPECT_EQ(expected(x, y), dib.At(x, y)) << x << "," << y;  // written straight into memory
      EXPECT_EQ(expected(x, y) & 0xFFFFFF, throughDevice.At(x, y) & 0xFFFFFF) << x << "," << y;
    }
  }
}

// A window origin of (2, 3) moves the tiling up and left on every kind of context: a live
// bitmap's, a section written straight into memory, and the same section through the system.
TEST(BitmapTile, TheWindowOriginMovesTheTilesOnEveryKindOfContext)
{
  TqvBitmap tile;
  FillNumbered(tile, 2, 2);
  const TRect dst = Rect(3, 4, 8, 7);
  auto expected = [&](int x, int y) -> TqvColor {
    const int px = x + 2, py = y + 3;  // the logical position of pixel (x, y)
    if (px < dst.Left || px >= dst.Right || py < dst.Top || py >= dst.Bottom) return 0;
    return 1 + ((py - dst.Top) % 2) * 2 + (px - dst.Left) % 2;
  };

  TqvBitmap bitmap;
  Fill(bitmap, 8, 6, std::vector<TqvColor>(48, 0));
  SetWindowOrgEx(bitmap.DC, 2, 3, nullptr);
  tile.Tile(bitmap.DC, dst, Rect(0, 0, 2, 2));
  for (const bool direct : {true, false}) {
    TForeignDib dib(8, 6);
    std::fill_n(dib.Bits, 48, 0);
    SetWindowOrgEx(dib.DC, 2, 3, nullptr);
    EnableDibOperation = direct;
    tile.Tile(dib.DC, dst, Rect(0, 0, 2, 2));
    EnableDibOperation = true;
    GdiFlush();
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(expected(x, y), bitmap.GetPixel(x, y) & 0xFFFFFF) << x << "," << y;
        EXPECT_EQ(expected(x, y), dib.At(x, y) & 0xFFFFFF) << "direct " << direct << ": " << x << "," << y;
      }
  }
}

TEST(BitmapTile, TileClipDrawsOnlyTheCellsTouchingTheClip)
{
  TqvBitmap tile;
  Fill(tile, 10, 10, std::vector<TqvColor>(100, 0xFF00FF00));
  struct Case {
    TRect Clip;
    int Painted;  // pixels of the 25 x 15 grid drawn
  };
  const Case cases[] = {
      {Rect(0, 0, 0, 0), 25 * 15},
      {Rect(12, 2, 14, 4), 100},        // second column, first row only, drawn whole
      {Rect(9, 9, 11, 11), 100 + 50 + 100 + 50},  // where four cells meet
      {Rect(30, 30, 40, 40), 0},
  };
  for (const Case& c : cases) {
    TqvBitmap target;
    Fill(target, 25, 15, std::vector<TqvColor>(375, 0));
    tile.TileClip(&target, Rect(0, 0, 25, 15), c.Clip, Rect(0, 0, 10, 10));
    int painted = 0;
    for (TqvColor p : PixelsOf(target)) painted += p != 0;
    EXPECT_EQ(c.Painted, painted) << c.Clip.Left;
  }
}

// Merging, filling and graphics

TEST(BitmapMergeDraw, TheSourceGoesUnderneath)
{
  TqvBitmap top;
  Fill(top, 4, 1, {0x00000000, 0xFF123456, 0x80FF0000, 0x00000000});
  TqvBitmap under;
  Fill(under, 4, 1, {0xFF0000FF, 0xFF0000FF, 0xFF0000FF, 0x40ABCDEF});
  top.MergeDraw(&under, 0, 0, Rect(0, 0, 4, 1));
  EXPECT_EQ((std::vector<TqvColor>{0xFF0000FF, 0xFF123456, PixelAlphaBlendFunc(0x80FF0000, 0xFF0000FF), 0x40ABCDEF}),
            PixelsOf(top));

  // A source rectangle starting left of the source moves the destination right; parts outside
  // either bitmap are skipped.
  TqvBitmap shifted;
  Fill(shifted, 4, 1, std::vector<TqvColor>(4, 0));
  TqvBitmap source;
  FillNumbered(source, 2, 1);
  shifted.MergeDraw(&source, 0, 0, Rect(-3, 0, 5, 3));
  EXPECT_EQ((std::vector<TqvColor>{0, 0, 0, 0xFF000001}), PixelsOf(shifted));
}

TEST(BitmapFillRect, ReplacesOrComposesByTheFlag)
{
  struct Case {
    bool AlphaBlend;
    TRect R;
    TqvColor Color;
    std::vector<TqvColor> Expected;
  };
  const TqvColor b = 0xFF0000FF;
  const Case cases[] = {
      {false, Rect(1, 0, 3, 1), 0x00FF0000, {b, 0x00FF0000, 0x00FF0000}},
      {true, Rect(1, 0, 3, 1), 0x00FF0000, {b, b, b}},
      {true, Rect(-5, -5, 9, 9), 0xFF00FF00, {0xFF00FF00, 0xFF00FF00, 0xFF00FF00}},
      {false, Rect(3, 0, 9, 1), 0xFF00FF00, {b, b, b}},
      {false, Rect(0, -3, 3, 0), 0xFF00FF00, {b, b, b}},
  };
  for (const Case& c : cases) {
    TqvBitmap bitmap;
    Fill(bitmap, 3, 1, {b, b, b});
    bitmap.AlphaBlend = c.AlphaBlend;
    bitmap.FillRect(c.R, c.Color);
    EXPECT_EQ(c.Expected, PixelsOf(bitmap)) << c.R.Left;
  }
}

TEST(BitmapDrawGraphic, KeepsWhatTheGraphicLeavesUncovered)
{
  TBitmap graphic;
  graphic.SetPixelFormat(pf24bit);
  graphic.SetSize(2, 2);
  graphic.GetCanvas()->GetBrush()->SetColor(RGB(0, 128, 0));
  graphic.GetCanvas()->FillRect(Rect(0, 0, 2, 2));
  SetPixelV(graphic.GetCanvas()->GetHandle(), 1, 1, RGB(255, 0, 255));  // pure magenta is not copied

  TqvBitmap bitmap;
  Fill(bitmap, 4, 4, std::vector<TqvColor>(16, 0x11111111));
  bitmap.DrawGraphic(&graphic, Rect(1, 1, 3, 3));
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      const bool covered = x >= 1 && x < 3 && y >= 1 && y < 3 && !(x == 2 && y == 2);
      EXPECT_EQ(covered ? 0x008000u : 0x111111u, bitmap.GetPixel(x, y) & 0xFFFFFF) << x << "," << y;
    }
  }
}

}  // namespace
