// TqvBitmap: copies from and to the platform's graphics, the resource loader and the stream record.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "graphics/bitmap/Bitmap.h"
#include "graphics/kernels/PixelRuns.h"
#include "graphics/utils/StreamStrings.h"
#include "platform/Clipbrd.h"
#include "platform/Graphics.h"
#include "platform/Streams.h"

// Copies

namespace {

// A source without width or height has nothing to copy. SetSize would keep the current store for
// it, and the copy would then run over the old pixels from a source that has none.
bool HasArea(const TGraphic& Source)
{
  return Source.GetWidth() != 0 && Source.GetHeight() != 0;
}

// An opaque copy of any platform bitmap, through the system.
void CopyOpaque(TqvBitmap& Target, TBitmap& Source)
{
  if (!HasArea(Source)) return;
  Target.SetSize(Source.GetWidth(), Source.GetHeight());
  if (Target.Empty()) return;
  BitBlt(Target.DC, 0, 0, Target.Width, Target.Height, Source.GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
  GdiFlush();
  Target.SetAlpha(255);
}

void CopyGraphic(TqvBitmap& Target, TGraphic& Source)
{
  if (!HasArea(Source)) return;
  Target.SetSize(Source.GetWidth(), Source.GetHeight());
  if (Target.Empty()) return;
  Target.DrawGraphic(&Source, Rect(0, 0, Target.Width, Target.Height));
  Target.SetAlpha(255);
}

}  // namespace

void TqvBitmap::Assign(TPersistent* Source)
{
  if (auto* source = dynamic_cast<TqvBitmap*>(Source)) {
    // An empty source leaves this bitmap alone: there is nothing to copy from, and a source
    // emptied by a failed resize still reports its old size.
    if (source->Empty()) return;
    SetSize(source->Width, source->Height);
    if (Empty()) return;
    MoveLongwordFunc(source->Bits, Bits, Width * Height);
    Name = source->Name;
    Transparent = source->Transparent;
    AlphaBlend = source->AlphaBlend;
  } else if (auto* bitmap = dynamic_cast<TBitmap*>(Source)) {
    if (bitmap->GetPixelFormat() != pf32bit || bitmap->GetHandleType() != bmDIB) {
      CopyOpaque(*this, *bitmap);
      return;
    }
    if (!HasArea(*bitmap)) return;
    SetSize(bitmap->GetWidth(), bitmap->GetHeight());
    if (Empty()) return;
    for (int32_t y = 0; y < Height; ++y)
      std::memcpy(GetScanLine(y), bitmap->GetScanLine(y), size_t(Width) * sizeof(TqvColor));
    CheckingAlphaBlend();
  } else if (auto* graphic = dynamic_cast<TGraphic*>(Source)) {
    CopyGraphic(*this, *graphic);
  } else if (auto* picture = dynamic_cast<TPicture*>(Source)) {
    // A picture's bitmap is copied opaque, whatever its format.
    if (auto* pictureBitmap = dynamic_cast<TBitmap*>(picture->GetGraphic()))
      CopyOpaque(*this, *pictureBitmap);
    else if (picture->GetGraphic())
      CopyGraphic(*this, *picture->GetGraphic());
  } else {
    inherited::Assign(Source);
  }
}

void TqvBitmap::AssignTo(TPersistent* Dest)
{
  auto fill = [this](TBitmap& Target) {
    Target.SetPixelFormat(pf32bit);
    Target.SetWidth(Width);
    Target.SetHeight(Height);
    Draw(Target.GetCanvas(), 0, 0);
    GdiFlush();
  };
  if (auto* picture = dynamic_cast<TPicture*>(Dest)) {
    fill(*picture->GetBitmap());
  } else if (auto* bitmap = dynamic_cast<TBitmap*>(Dest)) {
    fill(*bitmap);
  } else if (auto* clipboard = dynamic_cast<TClipboard*>(Dest)) {
    TBitmap temporary;
    fill(temporary);
    clipboard->Assign(&temporary);
  } else {
    inherited::AssignTo(Dest);
  }
}

// Resources

void TqvBitmap::LoadFromResource(const AnsiString& ModuleName, const AnsiString& ResName)
{
  HMODULE module = LoadLibraryExA(ModuleName.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  // Without the module there is nothing to look in (a null module would mean this program).
  if (!module) return;
  struct TModuleRelease {
    HMODULE Module;
    ~TModuleRelease() { FreeLibrary(Module); }
  } release{module};

  HRSRC resource = FindResourceA(module, ResName.c_str(), RT_BITMAP);
  HGLOBAL data = resource ? LoadResource(module, resource) : nullptr;
  const auto* header = data ? static_cast<const uint8_t*>(LockResource(data)) : nullptr;
  if (!header || SizeofResource(module, resource) < sizeof(BITMAPINFOHEADER)) return;
  uint16_t bitCount;
  std::memcpy(&bitCount, header + 14, sizeof bitCount);

  TBitmap bitmap;
  if (bitCount == 32) {
    bitmap.LoadFromResourceName(module, ResName);
  } else if (HBITMAP handle = LoadBitmapA(module, ResName.c_str())) {
    bitmap.SetHandle(handle);
  } else {
    bitmap.LoadFromResourceName(module, ResName);
  }
  Assign(&bitmap);
}

// The stream record

void TqvBitmap::LoadFromStream(TStream& Stream)
{
  // A negative name length reads as an empty name; a long one gives what the stream holds.
  const AnsiString name = ReadString(Stream);
  // A record cut short before its size reads zeros for what is missing, so a size it does not
  // reach changes no pixels.
  int32_t storedWidth = 0;
  int32_t storedHeight = 0;
  Stream.Read(&storedWidth, sizeof storedWidth);
  Stream.Read(&storedHeight, sizeof storedHeight);

  const int64_t rows = std::llabs(storedHeight);
  // Two 32-bit sizes give a pixel count that fits 64 bits; its byte count may not, so the stream's
  // remainder is measured in pixels.
  const int64_t pixels = std::llabs(storedWidth) * rows;
  const int64_t remaining = std::max<int64_t>(Stream.GetSize() - Stream.GetPosition(), 0);
  // A record that promises more pixels than the stream holds is damaged: refuse it before making
  // a store for it.
  if (pixels > remaining / int64_t(sizeof(TqvColor))) throw EReadError("Stream read error");

  Name = name;
  SetSize(storedWidth, storedHeight);
  if (Width != storedWidth || Height != rows || !Bits) return;
  Stream.ReadBuffer(Bits, int32_t(pixels * int64_t(sizeof(TqvColor))));
  if (storedHeight < 0) FlipHorz();
}

void TqvBitmap::SaveToStream(TStream& Stream)
{
  WriteString(Stream, Name);
  // A bitmap without a store records no pixels.
  const int32_t width = Bits ? Width : 0;
  const int32_t height = Bits ? Height : 0;
  Stream.WriteBuffer(&width, sizeof width);
  Stream.WriteBuffer(&height, sizeof height);
  Stream.WriteBuffer(Bits, width * height * int32_t(sizeof(TqvColor)));
}
