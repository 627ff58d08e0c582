// TqvBitmap: the pixel store and its errors, the live-bitmap list, scans, pixel access, the stream
// record, copies to and from the platform's graphics, resources, and the release of system objects.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "graphics/Qv_bitmap.h"
#include "graphics/Qv_library.h"
#include "graphics/utils/Processor.h"
#include "platform/Clipbrd.h"
#include "platform/Graphics.h"
#include "platform/Lists.h"
#include "platform/Streams.h"
#include "tests/graphics/bitmap/support.h"

namespace {

// The store

TEST(BitmapStore, NewBitmapIsEmptyWithATopDownHeader)
{
  TqvBitmap bitmap;
  EXPECT_TRUE(bitmap.Empty());
  EXPECT_EQ(nullptr, bitmap.Bits);
  EXPECT_EQ(nullptr, bitmap.DC);
  EXPECT_EQ(40u, bitmap.BitmapInfo.bmiHeader.biSize);
  EXPECT_EQ(32, bitmap.BitmapInfo.bmiHeader.biBitCount);

  bitmap.SetSize(-10, 5);
  EXPECT_EQ(10, bitmap.Width);
  EXPECT_EQ(5, bitmap.Height);
  EXPECT_EQ(-5, bitmap.BitmapInfo.bmiHeader.biHeight);
  // Row 0 is at Bits, which the system's drawing must agree with: the rows are top first.
  bitmap.Clear(0);
  SetPixelV(bitmap.DC, 3, 0, RGB(1, 2, 3));
  GdiFlush();
  EXPECT_EQ(0x010203u, bitmap.GetPixel(3, 0) & 0xFFFFFF);
}

TEST(BitmapStore, ZeroAndUnchangedSizesKeepTheImage)
{
  TqvBitmap bitmap;
  FillNumbered(bitmap, 4, 3);
  const HDC dc = bitmap.DC;
  for (auto [w, h] : {std::pair{0, 5}, {5, 0}, {4, 3}, {-4, -3}}) {
    bitmap.SetSize(w, h);
    EXPECT_EQ(4, bitmap.Width);
    EXPECT_EQ(dc, bitmap.DC);
    EXPECT_EQ(0xFF000001u, bitmap.Bits[0]);
  }
  bitmap.SetSize(5, 3);
  EXPECT_NE(nullptr, bitmap.Bits);
  EXPECT_EQ(5, bitmap.Width);
}

TEST(BitmapStore, SizesBeyondTheSystemRaiseAndLeaveNoStore)
{
  struct Case {
    int32_t Width, Height;
  };
  // Byte counts past 32 bits, past 2 GB, past the sign bit of 64 bits, and one the 32-bit address
  // space cannot hold.
  for (const Case c : {Case{70000, 70000}, Case{INT32_MIN, 2}, Case{40000, 14000}, Case{0x60000000, 0x60000000},
                       Case{23000, 23000}}) {
    SCOPED_TRACE(testing::Message() << c.Width << " x " << c.Height);
    TqvBitmap bitmap;
    bitmap.SetSize(8, 8);
    bitmap.GetCanvas();
    try {
      bitmap.SetSize(c.Width, c.Height);
      ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
      EXPECT_STREQ("Can't allocate the DIB handle", e.what());
    }
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(nullptr, bitmap.Bits);
    EXPECT_EQ(nullptr, bitmap.DC);
    EXPECT_EQ(8, bitmap.Width);
    EXPECT_FALSE(bitmap.Canvas->HandleAllocated());
    EXPECT_EQ(nullptr, FindBitmapByDC(nullptr));
    EXPECT_EQ(0u, bitmap.GetPixel(0, 0));

    // A failed bitmap gets a store again, at its old size too.
    bitmap.SetSize(8, 8);
    EXPECT_FALSE(bitmap.Empty());
    EXPECT_EQ(bitmap.DC, bitmap.Canvas->GetHandle());
  }
}

TEST(BitmapStore, FindBitmapByDCFollowsResizeAndDestruction)
{
  auto bitmap = std::make_unique<TqvBitmap>();
  TqvBitmap other;
  other.SetSize(2, 2);
  EXPECT_EQ(nullptr, FindBitmapByDC(bitmap->DC));  // no DC yet: 0 is nobody's
  bitmap->SetSize(4, 4);
  const HDC first = bitmap->DC;
  EXPECT_EQ(bitmap.get(), FindBitmapByDC(first));
  EXPECT_EQ(&other, FindBitmapByDC(other.DC));

  bitmap->GetCanvas();
  bitmap->SetSize(6, 6);
  EXPECT_EQ(bitmap.get(), FindBitmapByDC(bitmap->DC));
  EXPECT_EQ(bitmap->DC, bitmap->Canvas->GetHandle());
  EXPECT_EQ(1, [&] {
    int count = 0;
    for (int i = 0; i < LiveBitmaps->Count(); ++i) count += LiveBitmaps->Get(i) == bitmap.get();
    return count;
  }());

  const HDC last = bitmap->DC;
  bitmap.reset();
  EXPECT_EQ(nullptr, FindBitmapByDC(last));
  EXPECT_EQ(&other, FindBitmapByDC(other.DC));
}

TEST(BitmapStore, CreatingResizingAndDestroyingReleasesEverySystemObject)
{
  auto cycle = [] {
    TqvBitmap bitmap;
    bitmap.SetSize(16, 16);
    bitmap.GetCanvas()->Rectangle(0, 0, 4, 4);
    bitmap.SetSize(32, 8);
    TqvBitmap copy;
    copy.Assign(&bitmap);
    TBitmap platform;
    platform.Assign(&copy);
    copy.Draw(platform.GetCanvas(), 0, 0);
  };
  cycle();  // the first round may create lasting system caches
  const DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  for (int i = 0; i < 20; ++i) cycle();
  EXPECT_EQ(before, GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
}

// Scans and pixels

TEST(BitmapPixels, OutsideTheImageReadsZeroAndWritesNothing)
{
  TqvBitmap empty;
  EXPECT_EQ(0u, empty.GetPixel(0, 0));
  empty.SetPixel(0, 0, 1);
  empty.SetAlpha(7);
  empty.Clear(5);

  TqvBitmap bitmap;
  Fill(bitmap, 2, 2, {1, 2, 3, 4});
  for (auto [x, y] : {std::pair{-1, 0}, {2, 0}, {0, -1}, {0, 2}}) {
    EXPECT_EQ(0u, bitmap.GetPixel(x, y));
    bitmap.SetPixel(x, y, 99);
  }
  EXPECT_EQ((std::vector<TqvColor>{1, 2, 3, 4}), PixelsOf(bitmap));
  bitmap.SetPixel(1, 1, 99);
  EXPECT_EQ(99u, bitmap.GetPixel(1, 1));
}

TEST(BitmapPixels, CheckingAlphaBlendLooksForPartialAlpha)
{
  TqvBitmap bitmap;
  bitmap.CheckingAlphaBlend();
  EXPECT_FALSE(bitmap.AlphaBlend);
  Fill(bitmap, 2, 1, {0x00123456, 0xFF654321});
  bitmap.AlphaBlend = true;
  bitmap.CheckingAlphaBlend();
  EXPECT_FALSE(bitmap.AlphaBlend);
  bitmap.SetPixel(1, 0, 0x80654321);
  bitmap.CheckingAlphaBlend(Rect(0, 0, 1, 1));  // the rectangle is not consulted
  EXPECT_TRUE(bitmap.AlphaBlend);
}

TEST(BitmapPixels, CheckingTransparentKeysColoursWithinFive)
{
  TqvBitmap bitmap;
  // Against magenta: 250,5,251 is within 5; 249,0,255 is 6 off in red; alpha plays no part.
  Fill(bitmap, 3, 1, {0xFFFA05FB, 0xFFF900FF, 0x12FF00FF});
  bitmap.CheckingTransparent(0xFFFF00FF);
  EXPECT_TRUE(bitmap.Transparent);
  EXPECT_EQ((std::vector<TqvColor>{0x007F007F, 0xFFF900FF, 0x007F007F}), PixelsOf(bitmap));

  bitmap.CheckingTransparent(Rect(0, 0, 1, 1), 0xFF000000);
  EXPECT_FALSE(bitmap.Transparent);
}

TEST(BitmapPixels, SetAlphaWithARectangleClampsToTheImage)
{
  struct Case {
    TRect R;
    std::vector<TqvColor> Expected;
  };
  const Case cases[] = {
      {Rect(-5, -5, 1, 1), {0x77000001, 0x00000002, 0x00000003, 0x00000004}},
      {Rect(1, 0, 9, 9), {0x00000001, 0x77000002, 0x00000003, 0x77000004}},
      {Rect(2, 0, 5, 2), {1, 2, 3, 4}},   // wholly outside
      {Rect(1, 1, 1, 2), {1, 2, 3, 4}},   // no width
  };
  for (const Case& c : cases) {
    TqvBitmap bitmap;
    Fill(bitmap, 2, 2, {1, 2, 3, 4});
    bitmap.SetAlpha(0x77, c.R);
    EXPECT_EQ(c.Expected, PixelsOf(bitmap));
  }
}

TEST(BitmapPixels, ColourAdjustmentsSkipTransparentPixelsAndKeepAlpha)
{
  TqvBitmap bitmap;
  Fill(bitmap, 2, 1, {0x00204060, 0x80204060});
  bitmap.ChangeBitmapBrightness(0);
  EXPECT_EQ((std::vector<TqvColor>{0x00204060, 0x80204060}), PixelsOf(bitmap));

  bitmap.ChangeBitmapBrightness(16);
  EXPECT_EQ(0x00204060u, bitmap.Bits[0]);
  EXPECT_EQ((ChangeBrightness(0x80204060, 16) & 0xFFFFFF) | 0x80000000, bitmap.Bits[1]);

  Fill(bitmap, 2, 1, {0x00FF0000, 0xC0FF0000});
  bitmap.SetBitmapHue(0);
  EXPECT_EQ(0x00FF0000u, bitmap.Bits[0]);
  EXPECT_EQ((SetHue(0xC0FF0000, 0) & 0xFFFFFF) | 0xC0000000, bitmap.Bits[1]);
  bitmap.ChangeBitmapSat(-50);
  bitmap.ChangeBitmapHue(40);
  EXPECT_EQ(0x00FF0000u, bitmap.Bits[0]);
  EXPECT_EQ(0xC0000000u, bitmap.Bits[1] & 0xFF000000);
}

TEST(BitmapPixels, FlipHorzTurnsTheRowsAround)
{
  TqvBitmap bitmap;
  Fill(bitmap, 1, 5, {1, 2, 3, 4, 5});
  bitmap.FlipHorz();
  EXPECT_EQ((std::vector<TqvColor>{5, 4, 3, 2, 1}), PixelsOf(bitmap));
}

// The stream record

TEST(BitmapStream, RecordRoundTripsNameSizeAndPixelsButNotTheFlags)
{
  TqvBitmap source;
  Fill(source, 2, 2, {0x80112233, 0xFF445566, 0x00778899, 0x7FAABBCC});
  source.Name = "border";
  source.AlphaBlend = true;
  source.Transparent = true;
  TMemoryStream stream;
  source.SaveToStream(stream);
  ASSERT_EQ(4 + 6 + 8 + 16, stream.GetSize());
  const auto* bytes = static_cast<const uint8_t*>(stream.Memory());
  EXPECT_EQ(0, std::memcmp(bytes, "\x06\0\0\0border\x02\0\0\0\x02\0\0\0\x33\x22\x11\x80", 22));

  stream.SetPosition(0);
  TqvBitmap loaded;
  loaded.LoadFromStream(stream);
  EXPECT_EQ("border", loaded.Name);
  EXPECT_EQ(PixelsOf(source), PixelsOf(loaded));
  EXPECT_FALSE(loaded.AlphaBlend);
  EXPECT_FALSE(loaded.Transparent);
}

// A record written by hand: name, width, height, pixels.
TMemoryStream& Record(TMemoryStream& Stream, int32_t NameLength, const char* Name, int32_t Width, int32_t Height,
                      const std::vector<TqvColor>& Pixels)
{
  Stream.WriteBuffer(&NameLength, 4);
  Stream.WriteBuffer(Name, int32_t(std::strlen(Name)));
  Stream.WriteBuffer(&Width, 4);
  Stream.WriteBuffer(&Height, 4);
  Stream.WriteBuffer(Pixels.data(), int32_t(Pixels.size() * 4));
  Stream.SetPosition(0);
  return Stream;
}

TEST(BitmapStream, NegativeHeightHoldsTheBottomRowFirst)
{
  TMemoryStream stream;
  TqvBitmap bitmap;
  bitmap.LoadFromStream(Record(stream, 1, "n", 2, -2, {1, 2, 3, 4}));
  EXPECT_EQ(2, bitmap.Height);
  EXPECT_EQ((std::vector<TqvColor>{3, 4, 1, 2}), PixelsOf(bitmap));
}

TEST(BitmapStream, DamagedRecordsRaiseOrStopWithoutReadingPastTheStream)
{
  struct Case {
    const char* What;
    int32_t NameLength;
    const char* Name;
    int32_t Width, Height;
    std::vector<TqvColor> Pixels;
    bool Raises;
    const char* ExpectedName;
    int32_t ExpectedWidth;
  };
  const Case cases[] = {
      {"negative name length (an empty name) and too few pixels", -5, "", 4, 1, {9}, true, "old", 3},
      {"absurd size", 0, "", 60000, 60000, {9}, true, "old", 3},
      {"absurd negative size", 0, "", -30000, -30000, {9}, true, "old", 3},
      {"a size whose byte count passes 64 bits", 0, "", INT32_MIN, INT32_MIN, {9}, true, "old", 3},
      {"a size whose byte count passes the sign bit", 0, "", 0x60000000, 0x60000000, {9}, true, "old", 3},
      {"pixels cut short", 0, "", 2, 2, {9, 9, 9}, true, "old", 3},
      {"name longer than the stream", 100, "abc", 0, 0, {}, false, "abc\0\0\0\0\0\0\0\0\0", 3},
      {"zero height reads no pixels", 1, "z", 5, 0, {}, false, "z", 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    TqvBitmap bitmap;
    Fill(bitmap, 3, 1, {7, 7, 7});
    bitmap.Name = "old";
    TMemoryStream stream;
    Record(stream, c.NameLength, c.Name, c.Width, c.Height, c.Pixels);
    if (c.Raises)
      EXPECT_THROW(bitmap.LoadFromStream(stream), EReadError);
    else
      bitmap.LoadFromStream(stream);
    EXPECT_EQ(c.ExpectedName, bitmap.Name.substr(0, std::strlen(c.ExpectedName)));
    EXPECT_EQ(c.ExpectedWidth, bitmap.Width);
    EXPECT_EQ((std::vector<TqvColor>{7, 7, 7}), PixelsOf(bitmap));
  }
}

// Copies

TEST(BitmapAssign, FromAnotherBitmapCopiesPixelsNameAndFlags)
{
  TqvBitmap source;
  Fill(source, 2, 1, {0x80FF0000, 0x007F007F});
  source.Name = "tile";
  source.AlphaBlend = true;
  TqvBitmap target;
  target.Assign(&source);
  EXPECT_EQ(PixelsOf(source), PixelsOf(target));
  EXPECT_EQ("tile", target.Name);
  EXPECT_TRUE(target.AlphaBlend);

  // An empty source leaves the pixels that are there.
  TqvBitmap empty;
  target.Assign(&empty);
  EXPECT_EQ(PixelsOf(source), PixelsOf(target));
}

// A platform bitmap of 2 x 2 with the given format whose pixels are set through its scan lines or,
// for formats without a 32-bit view, drawn by the system.
void MakePlatformBitmap(TBitmap& Bitmap, TPixelFormat Format)
{
  Bitmap.SetPixelFormat(Format);
  Bitmap.SetSize(2, 2);
  const COLORREF colours[4] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(10, 20, 30)};
  for (int i = 0; i < 4; ++i) SetPixelV(Bitmap.GetCanvas()->GetHandle(), i % 2, i / 2, colours[i]);
  GdiFlush();
}

TEST(BitmapAssign, FromPlatformBitmapsByFormat)
{
  TBitmap argb;
  MakePlatformBitmap(argb, pf32bit);
  auto* top = static_cast<TqvColor*>(argb.GetScanLine(0));
  top[0] = 0x80FF0000;
  top[1] = 0x0000FF00;
  TqvBitmap bitmap;
  bitmap.Assign(&argb);
  EXPECT_EQ((std::vector<TqvColor>{0x80FF0000, 0x0000FF00, 0x000000FF, 0x000A141E}), PixelsOf(bitmap));
  EXPECT_TRUE(bitmap.AlphaBlend);

  for (TPixelFormat format : {pf24bit, pfDevice}) {
    TBitmap rgb;
    MakePlatformBitmap(rgb, format);
    TqvBitmap opaque;
    opaque.Assign(&rgb);
    EXPECT_EQ((std::vector<TqvColor>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF0A141E}), PixelsOf(opaque));
  }

  // Through a picture even a 32-bit bitmap arrives opaque.
  TPicture picture;
  picture.GetBitmap()->Assign(&argb);
  bitmap.Assign(&picture);
  EXPECT_EQ(0xFFFF0000u, bitmap.Bits[0]);
}

TEST(BitmapAssign, FromAnotherGraphicDrawsIt)
{
  // A graphic that is not a TBitmap: the picture's copy path must go through DrawGraphic.
  class TSolid : public TGraphic {
  public:
    bool Empty() const override { return false; }
    int GetWidth() const override { return 3; }
    int GetHeight() const override { return 2; }
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    void LoadFromStream(TStream&) override {}
    void SaveToStream(TStream&) override {}
    TGraphic* CreateNew() const override { return new TSolid; }

  protected:
    void Draw(TCanvas& Canvas, const TRect& R) override
    {
      Canvas.GetBrush()->SetColor(RGB(1, 2, 3));
      Canvas.FillRect(R);
    }
  } solid;
  TqvBitmap bitmap;
  bitmap.Assign(&solid);
  EXPECT_EQ(std::vector<TqvColor>(6, 0xFF010203), PixelsOf(bitmap));
}

// A source without pixels has nothing to copy: the bitmap keeps its size, pixels and alpha.
TEST(BitmapAssign, SourcesWithoutPixelsLeaveTheBitmap)
{
  // A graphic that paints wherever it is asked to, whatever its size says.
  class TNoArea : public TGraphic {
  public:
    bool Empty() const override { return false; }
    int GetWidth() const override { return 0; }
    int GetHeight() const override { return 2; }
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    void LoadFromStream(TStream&) override {}
    void SaveToStream(TStream&) override {}
    TGraphic* CreateNew() const override { return new TNoArea; }

  protected:
    void Draw(TCanvas& Canvas, const TRect& R) override
    {
      Canvas.GetBrush()->SetColor(RGB(1, 2, 3));
      Canvas.FillRect(R);
    }
  };
  TBitmap empty32;
  empty32.SetPixelFormat(pf32bit);
  TBitmap noRows32;
  noRows32.SetPixelFormat(pf32bit);
  noRows32.SetSize(5, 0);
  TBitmap empty24;
  empty24.SetPixelFormat(pf24bit);
  TNoArea noArea;
  TPicture emptyPicture;
  TPicture pictureOfEmptyBitmap;
  pictureOfEmptyBitmap.GetBitmap();
  TqvBitmap failed;
  failed.SetSize(8, 8);
  EXPECT_THROW(failed.SetSize(INT32_MIN, 2), Exception);

  struct Case {
    const char* What;
    TPersistent* Source;
  };
  const Case cases[] = {
      {"32-bit section without pixels", &empty32},
      {"32-bit section without rows", &noRows32},
      {"24-bit bitmap without pixels", &empty24},
      {"graphic without width", &noArea},
      {"picture without graphic", &emptyPicture},
      {"picture of an empty bitmap", &pictureOfEmptyBitmap},
      {"bitmap emptied by a failed resize", &failed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    TqvBitmap bitmap;
    Fill(bitmap, 2, 1, {0x80112233, 0x00445566});
    bitmap.Assign(c.Source);
    EXPECT_EQ(2, bitmap.Width);
    EXPECT_EQ((std::vector<TqvColor>{0x80112233, 0x00445566}), PixelsOf(bitmap));
  }
}

TEST(BitmapAssign, UnknownSourcesAndTargetsRaiseTheAssignmentError)
{
  TqvBitmap bitmap;
  TStringList strings;
  EXPECT_THROW(bitmap.Assign(&strings), EConvertError);
  EXPECT_THROW(strings.Assign(&bitmap), EConvertError);
}

TEST(BitmapAssignTo, PlatformBitmapsAndPicturesGetA32BitCopyDrawnByMode)
{
  TqvBitmap source;
  Fill(source, 2, 1, {0xFF102030, 0x80FF0000});

  TBitmap plain;
  plain.Assign(&source);
  EXPECT_EQ(pf32bit, plain.GetPixelFormat());
  EXPECT_EQ(2, plain.GetWidth());
  const auto* row = static_cast<const TqvColor*>(plain.GetScanLine(0));
  EXPECT_EQ(0x102030u, row[0] & 0xFFFFFF);
  EXPECT_EQ(0xFF0000u, row[1] & 0xFFFFFF);

  // Blended over the target's black: red at (255 x 128) div 256.
  source.AlphaBlend = true;
  TPicture picture;
  picture.Assign(&source);
  row = static_cast<const TqvColor*>(picture.GetBitmap()->GetScanLine(0));
  EXPECT_EQ(0x102030u, row[0] & 0xFFFFFF);
  EXPECT_EQ(0x7F0000u, row[1] & 0xFFFFFF);
}

TEST(BitmapAssignTo, ClipboardReceivesTheImage)
{
  TqvBitmap source;
  Fill(source, 3, 2, std::vector<TqvColor>(6, 0xFF336699));
  Clipboard()->Assign(&source);
  ASSERT_TRUE(Clipboard()->HasFormat(CF_DIB));
  ASSERT_TRUE(OpenClipboard(nullptr));
  HGLOBAL data = GetClipboardData(CF_DIB);
  ASSERT_NE(nullptr, data);
  const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(data));
  EXPECT_EQ(3, header->biWidth);
  EXPECT_EQ(2, header->biHeight);
  EXPECT_EQ(32, header->biBitCount);
  EXPECT_EQ(0x336699u, reinterpret_cast<const TqvColor*>(header + 1)[0] & 0xFFFFFF);
  GlobalUnlock(data);
  EXPECT_NE(nullptr, GetClipboardData(CF_BITMAP));
  CloseClipboard();
}

// Resources

AnsiString ThisModule()
{
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

TEST(BitmapResource, LoadsOpaqueOr32BitResourcesOfAnotherModule)
{
  TqvBitmap rgb;
  rgb.LoadFromResource(ThisModule(), "RGB24");
  EXPECT_EQ((std::vector<TqvColor>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000, 0xFF808080}),
            PixelsOf(rgb));
  EXPECT_FALSE(rgb.AlphaBlend);

  TqvBitmap argb;
  argb.LoadFromResource(ThisModule(), "ARGB32");
  EXPECT_EQ((std::vector<TqvColor>{0x80FF0000, 0xFF0000FF, 0x00010203, 0x400A141E}), PixelsOf(argb));
  EXPECT_TRUE(argb.AlphaBlend);

  TqvBitmap byNumber;
  byNumber.LoadFromResource(ThisModule(), "#7");
  EXPECT_EQ(PixelsOf(rgb), PixelsOf(byNumber));
}

TEST(BitmapResource, MissingResourceOrModuleChangesNothing)
{
  TqvBitmap bitmap;
  Fill(bitmap, 1, 1, {42});
  bitmap.LoadFromResource(ThisModule(), "NOSUCHBITMAP");
  bitmap.LoadFromResource("no-such-module.dll", "RGB24");
  EXPECT_EQ((std::vector<TqvColor>{42}), PixelsOf(bitmap));
}

TEST(PlatformBitmapResource, LoadsByNameAndNumber)
{
  TBitmap byName;
  byName.LoadFromResourceName(GetModuleHandleA(nullptr), "ARGB32");
  EXPECT_EQ(pf32bit, byName.GetPixelFormat());
  EXPECT_EQ(0x80FF0000u, *static_cast<const TqvColor*>(byName.GetScanLine(0)));
  TBitmap byNumber;
  byNumber.LoadFromResourceID(GetModuleHandleA(nullptr), 7);
  EXPECT_EQ(pf24bit, byNumber.GetPixelFormat());
  EXPECT_EQ(3, byNumber.GetWidth());
  EXPECT_THROW(byNumber.LoadFromResourceID(GetModuleHandleA(nullptr), 8), EResNotFound);
}

}  // namespace

namespace {

// Start-up reads the switch: it installs the scalar blends where this processor would get SSE2.
TEST(BitmapLibrary, TheScalarSwitchForcesTheScalarBlendsAtStartUp)
{
  ASSERT_TRUE(HasSSE2());
  const char* found = std::getenv("QV_SCALAR_KERNELS");
  const std::string restore = std::string("QV_SCALAR_KERNELS=") + (found ? found : "");
  struct Case {
    const char* Setting;
    TPixelAlphaBlendFunc Pixel;
    TLineFunc Line;
  };
  for (const Case& c : {Case{"QV_SCALAR_KERNELS=1", PixelAlphaBlend, LineAlphaBlend},
                        Case{"QV_SCALAR_KERNELS=", PixelAlphaBlendMMX, LineAlphaBlendMMX}}) {
    _putenv(c.Setting);
    QvLibraryFinalize();
    QvLibraryInitialize();
    EXPECT_EQ(c.Pixel, PixelAlphaBlendFunc) << c.Setting;
    EXPECT_EQ(c.Line, LineAlphaBlendFunc) << c.Setting;
  }
  _putenv(restore.c_str());
  QvLibraryFinalize();
  QvLibraryInitialize();
}

TEST(BitmapLibrary, FinalisingFreesTheLiveListAndStartingAgainSelectsTheKernels)
{
  auto outliving = std::make_unique<TqvBitmap>();
  outliving->SetSize(2, 2);
  ASSERT_NE(nullptr, LiveBitmaps);
  QvLibraryFinalize();
  EXPECT_EQ(nullptr, LiveBitmaps);
  outliving.reset();  // unregisters from no list

  StretchToDCTransparentFunc = nullptr;
  QvLibraryInitialize();
  EXPECT_NE(nullptr, StretchToDCTransparentFunc);
  TqvBitmap bitmap;
  bitmap.SetSize(1, 1);
  EXPECT_EQ(&bitmap, FindBitmapByDC(bitmap.DC));
}

}  // namespace
