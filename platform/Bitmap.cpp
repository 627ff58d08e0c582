// TBitmap: the image as a system bitmap, its canvas and the bitmap file format.
#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/FileStreams.h"
#include "platform/Graphics.h"

namespace {

const char* const SInvalidBitmap = "Bitmap image is not valid";

// A header with room for the largest colour table; bit-field masks take its first three entries.
struct TDibInfo {
  BITMAPINFOHEADER Header{};
  RGBQUAD Colors[256]{};

  BITMAPINFO* Info() { return reinterpret_cast<BITMAPINFO*>(this); }
  DWORD* Masks() { return reinterpret_cast<DWORD*>(Colors); }
};

const DWORD Masks565[3] = {0xF800, 0x07E0, 0x001F};

int BitCountOf(TPixelFormat Format)
{
  switch (Format) {
  case pf1bit: return 1;
  case pf4bit: return 4;
  case pf8bit: return 8;
  case pf15bit:
  case pf16bit: return 16;
  case pf24bit: return 24;
  case pf32bit: return 32;
  case pfDevice:
  case pfCustom: break;
  }
  return 0;
}

TPixelFormat FormatOfSection(const DIBSECTION& Section)
{
  switch (Section.dsBmih.biBitCount) {
  case 1: return pf1bit;
  case 4: return pf4bit;
  case 8: return pf8bit;
  case 16:
    if (Section.dsBmih.biCompression == BI_RGB) return pf15bit;
    return std::equal(Masks565, Masks565 + 3, Section.dsBitfields) ? pf16bit : pfCustom;
  case 24: return pf24bit;
  case 32: return Section.dsBmih.biCompression == BI_RGB ? pf32bit : pfCustom;
  default: return pfCustom;
  }
}

int64_t StrideOf(int64_t Width, int BitCount)
{
  return (Width * BitCount + 31) / 32 * 4;
}

bool QuerySection(HBITMAP Handle, DIBSECTION& Section)
{
  return GetObjectA(Handle, sizeof Section, &Section) == int(sizeof Section);
}

// A memory device context with one bitmap selected, put back and deleted at the end of the scope.
class TMemoryDC {
public:
  explicit TMemoryDC(HBITMAP Bitmap) : FDC(CreateCompatibleDC(nullptr))
  {
    if (!FDC) throw EOutOfMemory("Out of system resources");
    FOld = SelectObject(FDC, Bitmap);
  }
  ~TMemoryDC()
  {
    SelectObject(FDC, FOld);
    DeleteDC(FDC);
  }
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;

  HDC Handle() const { return FDC; }

private:
  HDC FDC;
  HGDIOBJ FOld;
};

// A new bitmap handle, deleted at the end of the scope unless it has been handed on: building a
// bitmap can fail after the handle exists.
class TNewBitmap {
public:
  TNewBitmap() = default;
  ~TNewBitmap()
  {
    if (Handle) DeleteObject(Handle);
  }
  TNewBitmap(const TNewBitmap&) = delete;
  TNewBitmap& operator=(const TNewBitmap&) = delete;

  HBITMAP Release() { return std::exchange(Handle, nullptr); }

  HBITMAP Handle = nullptr;
};

class TScreenDC {
public:
  TScreenDC() : FDC(GetDC(nullptr)) {}
  ~TScreenDC() { ReleaseDC(nullptr, FDC); }
  TScreenDC(const TScreenDC&) = delete;
  TScreenDC& operator=(const TScreenDC&) = delete;
  HDC Handle() const { return FDC; }

private:
  HDC FDC;
};

// The colours a new section of 8 bits or fewer starts with: black and white, the 16 standard
// colours, or the system's halftone palette.
int DefaultColorTable(int BitCount, RGBQUAD* Colors)
{
  static const COLORREF Standard16[16] = {
      0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
      0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
  auto put = [&](int i, BYTE r, BYTE g, BYTE b) { Colors[i] = RGBQUAD{b, g, r, 0}; };
  if (BitCount == 1) {
    put(0, 0, 0, 0);
    put(1, 255, 255, 255);
    return 2;
  }
  if (BitCount == 4) {
    for (int i = 0; i < 16; ++i)
      put(i, GetRValue(Standard16[i]), GetGValue(Standard16[i]), GetBValue(Standard16[i]));
    return 16;
  }
  TScreenDC screen;
  HPALETTE halftone = CreateHalftonePalette(screen.Handle());
  PALETTEENTRY entries[256]{};
  const UINT count = halftone ? GetPaletteEntries(halftone, 0, 256, entries) : 0;
  if (halftone) DeleteObject(halftone);
  for (UINT i = 0; i < count; ++i) put(int(i), entries[i].peRed, entries[i].peGreen, entries[i].peBlue);
  return 256;
}

HBITMAP CreateSection(TDibInfo& Info, void** Bits)
{
  HBITMAP section = CreateDIBSection(nullptr, Info.Info(), DIB_RGB_COLORS, Bits, nullptr, 0);
  if (!section || !*Bits) {
    if (section) DeleteObject(section);
    throw EOutOfMemory("Out of system resources");
  }
  return section;
}

template <class T>
T ReadAt(const uint8_t* Data, size_t Offset)
{
  T value;
  std::memcpy(&value, Data + Offset, sizeof value);
  return value;
}

}  // namespace

// The canvas of a bitmap: a memory device context of its own with the image selected.

class TBitmap::TBitmapCanvas : public TCanvas {
public:
  explicit TBitmapCanvas(TBitmap& Bitmap) : FBitmap(Bitmap) {}
  ~TBitmapCanvas() override { FreeContext(); }

  void FreeContext()
  {
    if (!HandleAllocated()) return;
    const HDC dc = GetHandle();
    SetHandle(nullptr);
    if (FOldBitmap) SelectObject(dc, FOldBitmap);
    if (FOldPalette) SelectPalette(dc, FOldPalette, TRUE);
    FOldBitmap = nullptr;
    FOldPalette = nullptr;
    DeleteDC(dc);
  }

protected:
  void CreateHandle() override
  {
    const HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) throw EOutOfMemory("Out of system resources");
    if (FBitmap.FHandle) FOldBitmap = SelectObject(dc, FBitmap.FHandle);
    if (FBitmap.FPalette) {
      FOldPalette = SelectPalette(dc, FBitmap.FPalette, TRUE);
      RealizePalette(dc);
    }
    SetHandle(dc);
  }

private:
  TBitmap& FBitmap;
  HGDIOBJ FOldBitmap = nullptr;
  HPALETTE FOldPalette = nullptr;
};

// Lifetime and handles

TBitmap::TBitmap() = default;

TBitmap::~TBitmap()
{
  delete FCanvas;
  if (FHandle) DeleteObject(FHandle);
  if (FPalette) DeleteObject(FPalette);
}

TCanvas* TBitmap::GetCanvas()
{
  if (!FCanvas) FCanvas = new TBitmapCanvas(*this);
  return FCanvas;
}

void TBitmap::FreeContext()
{
  if (FCanvas) FCanvas->FreeContext();
}

void TBitmap::ReplaceHandle(HBITMAP Handle)
{
  FreeContext();
  if (FHandle && FHandle != Handle) DeleteObject(FHandle);
  FHandle = Handle;
}

void TBitmap::SetHandle(HBITMAP Handle)
{
  ReplaceHandle(Handle);
  DIBSECTION section;
  BITMAP plain;
  if (!Handle) {
    FWidth = FHeight = 0;
  } else if (QuerySection(Handle, section)) {
    FWidth = section.dsBm.bmWidth;
    FHeight = section.dsBm.bmHeight;
    FHandleType = bmDIB;
    FPixelFormat = FormatOfSection(section);
  } else if (GetObjectA(Handle, sizeof plain, &plain) == int(sizeof plain)) {
    FWidth = plain.bmWidth;
    FHeight = plain.bmHeight;
    FHandleType = bmDDB;
    FPixelFormat = pfDevice;
  } else {
    FHandle = nullptr;
    FWidth = FHeight = 0;
    throw EInvalidGraphic(SInvalidBitmap);
  }
}

HBITMAP TBitmap::ReleaseHandle()
{
  FreeContext();
  HBITMAP handle = FHandle;
  FHandle = nullptr;
  FWidth = FHeight = 0;
  return handle;
}

HPALETTE TBitmap::ReleasePalette()
{
  FreeContext();
  HPALETTE palette = FPalette;
  FPalette = nullptr;
  return palette;
}

void TBitmap::SetPalette(HPALETTE Palette)
{
  if (Palette == FPalette) return;
  FreeContext();
  if (FPalette) DeleteObject(FPalette);
  FPalette = Palette;
  DIBSECTION section;
  if (!FPalette || !FHandle || !QuerySection(FHandle, section) || section.dsBmih.biBitCount > 8) return;
  PALETTEENTRY entries[256]{};
  const UINT count = GetPaletteEntries(FPalette, 0, 1u << section.dsBmih.biBitCount, entries);
  RGBQUAD colors[256]{};
  for (UINT i = 0; i < count; ++i) colors[i] = RGBQUAD{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
  SetDIBColorTable(ImageDC(), 0, count, colors);
}

// Size and format

void TBitmap::SetSize(int Width, int Height)
{
  Width = std::max(Width, 0);
  Height = std::max(Height, 0);
  if (Width == FWidth && Height == FHeight) return;
  Rebuild(Width, Height, FPixelFormat, FHandleType);
}

void TBitmap::SetPixelFormat(TPixelFormat Format)
{
  if (Format == pfCustom) throw EInvalidGraphic("Invalid pixel format");
  if (Format == FPixelFormat) return;
  Rebuild(FWidth, FHeight, Format, Format == pfDevice ? bmDDB : bmDIB);
}

void TBitmap::SetHandleType(TBitmapHandleType Type)
{
  if (Type == FHandleType) return;
  Rebuild(FWidth, FHeight, Type == bmDDB ? pfDevice : FPixelFormat, Type);
}

void TBitmap::Rebuild(int Width, int Height, TPixelFormat Format, TBitmapHandleType Type)
{
  if (Type == bmDIB && Format == pfDevice) {
    TScreenDC screen;
    const int depth = GetDeviceCaps(screen.Handle(), BITSPIXEL) * GetDeviceCaps(screen.Handle(), PLANES);
    Format = depth <= 8 ? pf8bit : depth <= 16 ? pf16bit : depth <= 24 ? pf24bit : pf32bit;
  }
  if (Width <= 0 || Height <= 0) {
    ReplaceHandle(nullptr);
    FWidth = Width;
    FHeight = Height;
    FPixelFormat = Format;
    FHandleType = Type;
    return;
  }

  TNewBitmap image;
  if (Type == bmDDB) {
    TScreenDC screen;
    image.Handle = CreateCompatibleBitmap(screen.Handle(), Width, Height);
    if (!image.Handle) throw EOutOfMemory("Out of system resources");
    TMemoryDC target(image.Handle);
    PatBlt(target.Handle(), 0, 0, Width, Height, BLACKNESS);
  } else {
    TDibInfo info;
    info.Header.biSize = sizeof(BITMAPINFOHEADER);
    info.Header.biWidth = Width;
    info.Header.biHeight = Height;
    info.Header.biPlanes = 1;
    info.Header.biBitCount = WORD(BitCountOf(Format));
    info.Header.biCompression = BI_RGB;
    DIBSECTION old;
    const bool oldIsSection = FHandle && QuerySection(FHandle, old);
    if (Format == pf16bit) {
      info.Header.biCompression = BI_BITFIELDS;
      std::copy(Masks565, Masks565 + 3, info.Masks());
    } else if (info.Header.biBitCount <= 8) {
      const int entries = 1 << info.Header.biBitCount;
      // A change of size keeps the colours the image has.
      if (oldIsSection && old.dsBmih.biBitCount == info.Header.biBitCount)
        GetDIBColorTable(ImageDC(), 0, entries, info.Colors);
      else
        DefaultColorTable(info.Header.biBitCount, info.Colors);
      info.Header.biClrUsed = entries;
    }
    void* bits = nullptr;
    image.Handle = CreateSection(info, &bits);
    std::memset(bits, 0, size_t(StrideOf(Width, info.Header.biBitCount) * Height));
  }

  if (FHandle) {
    const int w = std::min(Width, FWidth);
    const int h = std::min(Height, FHeight);
    TMemoryDC target(image.Handle);
    BitBlt(target.Handle(), 0, 0, w, h, ImageDC(), 0, 0, SRCCOPY);
  }
  ReplaceHandle(image.Release());
  FWidth = Width;
  FHeight = Height;
  FPixelFormat = Type == bmDDB ? pfDevice : Format;
  FHandleType = Type;
}

void* TBitmap::GetScanLine(int Row)
{
  if (!FHandle || Row < 0 || Row >= FHeight) throw EInvalidGraphicOperation("Scan line index out of range");
  if (FHandleType == bmDDB) SetHandleType(bmDIB);
  GdiFlush();
  DIBSECTION section;
  QuerySection(FHandle, section);
  auto* bits = static_cast<uint8_t*>(section.dsBm.bmBits);
  const int line = section.dsBmih.biHeight > 0 ? FHeight - 1 - Row : Row;
  return bits + ptrdiff_t(line) * section.dsBm.bmWidthBytes;
}

// Copies

void TBitmap::Assign(TPersistent* Source)
{
  if (!Source) {
    ReplaceHandle(nullptr);
    FWidth = FHeight = 0;
    SetPalette(nullptr);
    return;
  }
  auto* source = dynamic_cast<TBitmap*>(Source);
  if (!source) {
    inherited::Assign(Source);
    return;
  }
  if (source == this) return;

  TNewBitmap copy;
  DIBSECTION section;
  if (!source->FHandle) {
    // Nothing to copy.
  } else if (QuerySection(source->FHandle, section)) {
    TDibInfo info;
    info.Header = section.dsBmih;
    info.Header.biSize = sizeof(BITMAPINFOHEADER);
    // The section reports its height positive; a top-down section keeps its row order.
    if (section.dsBm.bmBits && section.dsBmih.biHeight < 0) info.Header.biHeight = -section.dsBm.bmHeight;
    if (section.dsBmih.biCompression == BI_BITFIELDS) std::copy(section.dsBitfields, section.dsBitfields + 3, info.Masks());
    if (section.dsBmih.biBitCount <= 8)
      info.Header.biClrUsed = GetDIBColorTable(source->ImageDC(), 0, 256, info.Colors);
    void* bits = nullptr;
    copy.Handle = CreateSection(info, &bits);
    GdiFlush();
    std::memcpy(bits, section.dsBm.bmBits, size_t(section.dsBm.bmWidthBytes) * size_t(section.dsBm.bmHeight));
  } else {
    TScreenDC screen;
    copy.Handle = CreateCompatibleBitmap(screen.Handle(), source->FWidth, source->FHeight);
    if (!copy.Handle) throw EOutOfMemory("Out of system resources");
    TMemoryDC target(copy.Handle);
    BitBlt(target.Handle(), 0, 0, source->FWidth, source->FHeight, source->ImageDC(), 0, 0, SRCCOPY);
  }

  HPALETTE palette = nullptr;
  if (source->FPalette) {
    PALETTEENTRY entries[256]{};
    const UINT count = GetPaletteEntries(source->FPalette, 0, 256, entries);
    alignas(LOGPALETTE) uint8_t buffer[sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY)]{};
    auto* logical = reinterpret_cast<LOGPALETTE*>(buffer);
    logical->palVersion = 0x300;
    logical->palNumEntries = WORD(count);
    std::memcpy(logical->palPalEntry, entries, count * sizeof(PALETTEENTRY));
    palette = CreatePalette(logical);
  }

  SetPalette(nullptr);
  if (copy.Handle) {
    SetHandle(copy.Release());
  } else {
    ReplaceHandle(nullptr);
    FWidth = source->FWidth;
    FHeight = source->FHeight;
    FPixelFormat = source->FPixelFormat;
    FHandleType = source->FHandleType;
  }
  SetPalette(palette);
}

void TBitmap::Draw(TCanvas& Canvas, const TRect& R)
{
  if (!FHandle) return;
  const HDC target = Canvas.GetHandle();
  const int oldMode = SetStretchBltMode(target, COLORONCOLOR);
  StretchBlt(target, R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top, ImageDC(), 0, 0, FWidth, FHeight, SRCCOPY);
  SetStretchBltMode(target, oldMode);
}

// The bitmap file format

void TBitmap::LoadFromPackedDib(const uint8_t* Data, size_t Size, size_t BitsOffset)
{
  if (Size < 16) throw EInvalidGraphic(SInvalidBitmap);
  const uint32_t headerSize = ReadAt<uint32_t>(Data, 0);
  const bool core = headerSize == sizeof(BITMAPCOREHEADER);
  if (!core && (headerSize < sizeof(BITMAPINFOHEADER) || headerSize > Size)) throw EInvalidGraphic(SInvalidBitmap);

  TDibInfo info;
  info.Header.biSize = sizeof(BITMAPINFOHEADER);
  if (core) {
    info.Header.biWidth = ReadAt<uint16_t>(Data, 4);
    info.Header.biHeight = ReadAt<uint16_t>(Data, 6);
    info.Header.biPlanes = ReadAt<uint16_t>(Data, 8);
    info.Header.biBitCount = ReadAt<uint16_t>(Data, 10);
  } else {
    std::memcpy(&info.Header, Data, sizeof(BITMAPINFOHEADER));
    info.Header.biSize = sizeof(BITMAPINFOHEADER);
  }
  const BITMAPINFOHEADER h = info.Header;
  const int bitCount = h.biBitCount;
  const bool knownDepth = bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
                          bitCount == 32;
  const bool knownCompression =
      h.biCompression == BI_RGB || (h.biCompression == BI_BITFIELDS && (bitCount == 16 || bitCount == 32));
  if (h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT32_MIN || h.biPlanes != 1 || !knownDepth ||
      !knownCompression)
    throw EInvalidGraphic(SInvalidBitmap);

  size_t offset = headerSize;
  if (h.biCompression == BI_BITFIELDS) {
    // A plain header is followed by the three masks; the larger headers carry them inside.
    const size_t at = headerSize == sizeof(BITMAPINFOHEADER) ? offset : sizeof(BITMAPINFOHEADER);
    if (at + 12 > Size) throw EInvalidGraphic(SInvalidBitmap);
    std::memcpy(info.Masks(), Data + at, 12);
    if (headerSize == sizeof(BITMAPINFOHEADER)) offset += 12;
  }
  const size_t entrySize = core ? 3 : 4;
  size_t entries = core ? 0 : h.biClrUsed;
  if (bitCount <= 8) {
    const size_t most = size_t(1) << bitCount;
    if (entries == 0) entries = most;
    if (entries > most) throw EInvalidGraphic(SInvalidBitmap);
    if (offset + entries * entrySize > Size) throw EInvalidGraphic(SInvalidBitmap);
    for (size_t i = 0; i < entries; ++i) {
      const uint8_t* e = Data + offset + i * entrySize;
      info.Colors[i] = RGBQUAD{e[0], e[1], e[2], 0};
    }
    info.Header.biClrUsed = DWORD(entries);
  } else {
    info.Header.biClrUsed = 0;
  }
  offset += entries * entrySize;
  if (BitsOffset == 0) BitsOffset = offset;

  const int64_t rows = h.biHeight < 0 ? -int64_t(h.biHeight) : h.biHeight;
  const int64_t stride = StrideOf(h.biWidth, bitCount);
  const int64_t imageSize = stride * rows;
  if (imageSize > INT32_MAX || BitsOffset > Size || uint64_t(imageSize) > Size - BitsOffset)
    throw EInvalidGraphic(SInvalidBitmap);
  info.Header.biSizeImage = DWORD(imageSize);

  // Sections made here are bottom-up, as the system makes them, whatever order the file has.
  info.Header.biHeight = int32_t(rows);
  void* bits = nullptr;
  HBITMAP section = CreateSection(info, &bits);
  if (h.biHeight > 0) {
    std::memcpy(bits, Data + BitsOffset, size_t(imageSize));
  } else {
    for (int64_t y = 0; y < rows; ++y)
      std::memcpy(static_cast<uint8_t*>(bits) + (rows - 1 - y) * stride, Data + BitsOffset + y * stride,
                  size_t(stride));
  }
  SetPalette(nullptr);
  SetHandle(section);
}

void TBitmap::LoadFromResourceName(HINSTANCE Instance, const AnsiString& ResName)
{
  TResourceStream stream(Instance, ResName, RT_BITMAP);
  LoadFromPackedDib(static_cast<const uint8_t*>(stream.Memory()), size_t(stream.GetSize()), 0);
}

void TBitmap::LoadFromResourceID(HINSTANCE Instance, int ResID)
{
  TResourceStream stream(Instance, ResID, RT_BITMAP);
  LoadFromPackedDib(static_cast<const uint8_t*>(stream.Memory()), size_t(stream.GetSize()), 0);
}

void TBitmap::LoadFromStream(TStream& Stream)
{
  const int64_t available = Stream.GetSize() - Stream.GetPosition();
  if (available <= 0) {
    Assign(nullptr);
    return;
  }
  BITMAPFILEHEADER file;
  Stream.ReadBuffer(&file, sizeof file);
  const int64_t rest = available - int64_t(sizeof file);
  int64_t length = file.bfSize == 0 ? rest : int64_t(file.bfSize) - int64_t(sizeof file);
  if (file.bfType != 0x4D42 || length <= 0 || length > rest || file.bfOffBits < sizeof file ||
      file.bfOffBits - sizeof file > uint64_t(length))
    throw EInvalidGraphic(SInvalidBitmap);
  std::string packed(size_t(length), '\0');
  Stream.ReadBuffer(packed.data(), int32_t(length));
  LoadFromPackedDib(reinterpret_cast<const uint8_t*>(packed.data()), packed.size(), file.bfOffBits - sizeof file);
}

std::string TBitmap::SavePackedDib(size_t* BitsOffset)
{
  if (!FHandle) return {};
  TDibInfo info;
  DIBSECTION section;
  const bool isSection = QuerySection(FHandle, section);
  if (isSection) {
    info.Header = section.dsBmih;
    if (section.dsBmih.biCompression == BI_BITFIELDS) std::copy(section.dsBitfields, section.dsBitfields + 3, info.Masks());
    if (section.dsBmih.biBitCount <= 8)
      info.Header.biClrUsed = GetDIBColorTable(ImageDC(), 0, 256, info.Colors);
  } else {
    info.Header.biBitCount = 24;
    info.Header.biPlanes = 1;
    info.Header.biCompression = BI_RGB;
  }
  info.Header.biSize = sizeof(BITMAPINFOHEADER);
  info.Header.biWidth = FWidth;
  info.Header.biHeight = FHeight;
  const size_t stride = size_t(StrideOf(FWidth, info.Header.biBitCount));
  info.Header.biSizeImage = DWORD(stride * size_t(FHeight));

  const size_t masks = info.Header.biCompression == BI_BITFIELDS ? 12 : 0;
  const size_t colors = info.Header.biBitCount <= 8 ? info.Header.biClrUsed * sizeof(RGBQUAD) : 0;
  const size_t offset = sizeof(BITMAPINFOHEADER) + masks + colors;
  std::string packed(offset + info.Header.biSizeImage, '\0');
  std::memcpy(packed.data(), &info, offset);
  char* rows = packed.data() + offset;
  if (isSection) {
    GdiFlush();
    for (int y = 0; y < FHeight; ++y)  // bottom row first
      std::memcpy(rows + size_t(y) * stride, GetScanLine(FHeight - 1 - y), stride);
  } else {
    GetDIBits(ImageDC(), FHandle, 0, UINT(FHeight), rows, info.Info(), DIB_RGB_COLORS);
  }
  if (BitsOffset) *BitsOffset = offset;
  return packed;
}

void TBitmap::SaveToStream(TStream& Stream)
{
  size_t offset = 0;
  const std::string packed = SavePackedDib(&offset);
  if (packed.empty()) return;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfSize = DWORD(sizeof file + packed.size());
  file.bfOffBits = DWORD(sizeof file + offset);
  Stream.WriteBuffer(&file, sizeof file);
  Stream.WriteBuffer(packed.data(), int32_t(packed.size()));
}
