// The platform's graphics: bitmaps (formats, scan lines, the file format), canvases, pictures, the
// clipboard and the screen.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/Clipbrd.h"
#include "platform/Graphics.h"
#include "platform/Lists.h"
#include "platform/Screen.h"
#include "platform/Streams.h"

namespace {

uint32_t PixelAt(TBitmap& Bitmap, int X, int Y)
{
  return static_cast<const uint32_t*>(Bitmap.GetScanLine(Y))[X];
}

TEST(PlatformBitmap, FormatsAndHandleTypesFollowEachOther)
{
  TBitmap bitmap;
  EXPECT_TRUE(bitmap.Empty());
  bitmap.SetSize(3, 2);
  EXPECT_EQ(bmDDB, bitmap.GetHandleType());
  EXPECT_EQ(pfDevice, bitmap.GetPixelFormat());
  for (TPixelFormat format : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
    bitmap.SetPixelFormat(format);
    EXPECT_EQ(format, bitmap.GetPixelFormat());
    EXPECT_EQ(bmDIB, bitmap.GetHandleType());
    EXPECT_EQ(3, bitmap.GetWidth());
  }
  bitmap.SetHandleType(bmDDB);
  EXPECT_EQ(pfDevice, bitmap.GetPixelFormat());
  EXPECT_THROW(bitmap.SetPixelFormat(pfCustom), EInvalidGraphic);
  EXPECT_THROW(bitmap.GetScanLine(2), EInvalidGraphicOperation);
}

TEST(PlatformBitmap, ScanLinesRunTopDownAndResizingKeepsTheSharedPixels)
{
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(2, 2);
  SetPixelV(bitmap.GetCanvas()->GetHandle(), 1, 0, RGB(1, 2, 3));
  GdiFlush();
  EXPECT_EQ(0x010203u, PixelAt(bitmap, 1, 0) & 0xFFFFFF);
  static_cast<uint32_t*>(bitmap.GetScanLine(1))[0] = 0x80445566;

  bitmap.SetSize(3, 3);
  EXPECT_EQ(0x010203u, PixelAt(bitmap, 1, 0) & 0xFFFFFF);
  EXPECT_EQ(0x445566u, PixelAt(bitmap, 0, 1) & 0xFFFFFF);
  EXPECT_EQ(0u, PixelAt(bitmap, 2, 2));
  // The canvas follows the new image.
  EXPECT_EQ(RGB(1, 2, 3), GetPixel(bitmap.GetCanvas()->GetHandle(), 1, 0));
}

TEST(PlatformBitmap, StreamsRoundTripEveryFormat)
{
  for (TPixelFormat format : {pf1bit, pf4bit, pf8bit, pf16bit, pf24bit, pf32bit, pfDevice}) {
    SCOPED_TRACE(int(format));
    TBitmap source;
    source.SetPixelFormat(format);
    source.SetSize(5, 3);
    SetPixelV(source.GetCanvas()->GetHandle(), 4, 0, RGB(255, 255, 255));
    SetPixelV(source.GetCanvas()->GetHandle(), 0, 2, RGB(255, 255, 255));
    TMemoryStream stream;
    source.SaveToStream(stream);
    EXPECT_EQ('B', static_cast<const char*>(stream.Memory())[0]);
    stream.SetPosition(0);
    TBitmap loaded;
    loaded.LoadFromStream(stream);
    EXPECT_EQ(5, loaded.GetWidth());
    EXPECT_EQ(3, loaded.GetHeight());
    const HDC dc = loaded.GetCanvas()->GetHandle();
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 4, 0));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 0, 2));
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 1, 1));
  }
}

TEST(PlatformBitmap, TopDownFilesAndDamagedFiles)
{
  // A 1 x 2 top-down 32-bit file: the first row in the file is the top.
  const uint8_t topDown[] = {'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,                    // file header
                             40, 0, 0, 0, 1, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 1, 0, 32, 0,     // size, planes, bits
                             0, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                             0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};
  TMemoryStream stream;
  stream.WriteBuffer(topDown, sizeof topDown);
  stream.SetPosition(0);
  TBitmap bitmap;
  bitmap.LoadFromStream(stream);
  EXPECT_EQ(0x44332211u, PixelAt(bitmap, 0, 0));
  EXPECT_EQ(0x88776655u, PixelAt(bitmap, 0, 1));

  struct Damage {
    const char* What;
    size_t Offset;
    uint8_t Value;
    size_t Length;
  };
  const Damage damages[] = {
      {"signature", 0, 'X', sizeof topDown},        {"pixels cut short", 0, 'B', sizeof topDown - 1},
      {"bits per pixel", 28, 7, sizeof topDown},    {"huge width", 21, 0x40, sizeof topDown},
      {"bits offset past the end", 11, 1, sizeof topDown}, {"compression", 30, 1, sizeof topDown},
  };
  for (const Damage& d : damages) {
    SCOPED_TRACE(d.What);
    uint8_t copy[sizeof topDown];
    std::memcpy(copy, topDown, sizeof topDown);
    copy[d.Offset] = d.Value;
    copy[2] = uint8_t(d.Length);
    TMemoryStream damaged;
    damaged.WriteBuffer(copy, int32_t(d.Length));
    damaged.SetPosition(0);
    TBitmap target;
    EXPECT_THROW(target.LoadFromStream(damaged), Exception);
    EXPECT_TRUE(target.Empty());
  }
}

TEST(PlatformBitmap, AssignCopiesPixelsAndPalette)
{
  TBitmap source;
  source.SetPixelFormat(pf8bit);
  source.SetSize(2, 1);
  alignas(LOGPALETTE) uint8_t buffer[sizeof(LOGPALETTE) + sizeof(PALETTEENTRY)]{};
  auto* logical = reinterpret_cast<LOGPALETTE*>(buffer);
  logical->palVersion = 0x300;
  logical->palNumEntries = 2;
  logical->palPalEntry[0] = {10, 20, 30, 0};
  logical->palPalEntry[1] = {40, 50, 60, 0};
  source.SetPalette(CreatePalette(logical));
  static_cast<uint8_t*>(source.GetScanLine(0))[1] = 1;

  TBitmap copy;
  copy.Assign(&source);
  EXPECT_EQ(pf8bit, copy.GetPixelFormat());
  EXPECT_NE(nullptr, copy.GetPalette());
  EXPECT_NE(source.GetPalette(), copy.GetPalette());
  EXPECT_EQ(RGB(40, 50, 60), GetPixel(copy.GetCanvas()->GetHandle(), 1, 0));
  EXPECT_EQ(RGB(10, 20, 30), GetPixel(copy.GetCanvas()->GetHandle(), 0, 0));

  copy.Assign(nullptr);
  EXPECT_TRUE(copy.Empty());
}

TEST(PlatformCanvas, FiguresUseThePenAndBrushAndLeaveTheContextAsFound)
{
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(6, 6);
  TCanvas canvas;
  EXPECT_THROW(canvas.GetHandle(), EInvalidOperation);
  const HDC dc = bitmap.GetCanvas()->GetHandle();
  canvas.SetHandle(dc);
  const HGDIOBJ brushBefore = GetCurrentObject(dc, OBJ_BRUSH);
  canvas.GetBrush()->SetColor(RGB(0, 0, 200));
  canvas.GetPen()->SetColor(RGB(200, 0, 0));
  canvas.Rectangle(1, 1, 5, 5);
  EXPECT_EQ(RGB(200, 0, 0), GetPixel(dc, 1, 1));
  EXPECT_EQ(RGB(0, 0, 200), GetPixel(dc, 2, 2));
  EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 5, 5));
  EXPECT_EQ(brushBefore, GetCurrentObject(dc, OBJ_BRUSH));

  TBitmap small;
  small.SetPixelFormat(pf24bit);
  small.SetSize(1, 1);
  SetPixelV(small.GetCanvas()->GetHandle(), 0, 0, RGB(9, 9, 9));
  canvas.StretchDraw(Rect(0, 0, 2, 6), &small);
  canvas.Draw(5, 5, &small);
  EXPECT_EQ(RGB(9, 9, 9), GetPixel(dc, 1, 5));
  EXPECT_EQ(RGB(9, 9, 9), GetPixel(dc, 5, 5));
  EXPECT_EQ(RGB(0, 0, 200), GetPixel(dc, 2, 2));
}

TEST(PlatformPicture, HoldsCopiesOfGraphics)
{
  TBitmap bitmap;
  bitmap.SetSize(4, 3);
  TPicture picture;
  EXPECT_EQ(0, picture.GetWidth());
  picture.Assign(&bitmap);
  ASSERT_NE(nullptr, picture.GetGraphic());
  EXPECT_NE(static_cast<TGraphic*>(&bitmap), picture.GetGraphic());
  EXPECT_EQ(4, picture.GetWidth());

  TPicture other;
  other.Assign(&picture);
  EXPECT_EQ(3, other.GetHeight());
  TBitmap back;
  back.Assign(&other);
  EXPECT_EQ(4, back.GetWidth());

  TPicture empty;
  EXPECT_EQ(0, empty.GetBitmap()->GetWidth());
  EXPECT_EQ(empty.GetBitmap(), empty.GetGraphic());
}

TEST(PlatformClipboard, TakesABitmapInBothForms)
{
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(2, 2);
  SetPixelV(bitmap.GetCanvas()->GetHandle(), 0, 0, RGB(7, 8, 9));
  Clipboard()->Assign(&bitmap);
  EXPECT_TRUE(Clipboard()->HasFormat(CF_DIB));
  EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));

  ASSERT_TRUE(OpenClipboard(nullptr));
  HBITMAP placed = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, placed);
  EXPECT_EQ(RGB(7, 8, 9), GetPixel(dc, 0, 0));
  SelectObject(dc, old);
  DeleteDC(dc);
  CloseClipboard();

  TStringList notAGraphic;
  EXPECT_THROW(Clipboard()->Assign(&notAGraphic), EConvertError);
  Clipboard()->Clear();
  EXPECT_FALSE(Clipboard()->HasFormat(CF_DIB));
}

TEST(PlatformScreen, ReportsTheSystemMetrics)
{
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), Screen()->GetWidth());
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), Screen()->GetHeight());
  EXPECT_GT(Screen()->GetWidth(), 0);
}

}  // namespace
