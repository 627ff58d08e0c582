// The platform's graphics objects: brushes and pens, the canvas over a device context, the abstract
// graphic, the bitmap and the picture that holds any graphic.
#pragma once

#include <windows.h>

#include <string>

#include "platform/Classes.h"
#include "platform/Colors.h"
#include "platform/GraphicsTypes.h"
#include "platform/Types.h"

class TStream;
class TCanvas;

// An image that cannot be read, or an operation an image cannot do.
class EInvalidGraphic : public Exception {
public:
  using Exception::Exception;
};

class EInvalidGraphicOperation : public Exception {
public:
  using Exception::Exception;
};

// A drawing tool whose system object is made on first use and remade after a change.
template <class THandle>
class TGraphicsObject : public TPersistent {
public:
  ~TGraphicsObject() override { FreeHandle(); }

  TColor GetColor() const { return FColor; }
  void SetColor(TColor Color)
  {
    if (Color == FColor) return;
    FColor = Color;
    FreeHandle();
  }

protected:
  explicit TGraphicsObject(TColor Color) : FColor(Color) {}

  void FreeHandle()
  {
    if (FHandle) DeleteObject(FHandle);
    FHandle = nullptr;
  }

  TColor FColor;
  THandle FHandle = nullptr;
};

// A solid brush; white until changed.
class TBrush : public TGraphicsObject<HBRUSH> {
  QV_CLASS(TBrush, TPersistent)
public:
  TBrush() : TGraphicsObject(0xFFFFFF) {}
  void Assign(TPersistent* Source) override;
  HBRUSH GetHandle();
};

// A solid pen; black and one pixel wide until changed.
class TPen : public TGraphicsObject<HPEN> {
  QV_CLASS(TPen, TPersistent)
public:
  TPen() : TGraphicsObject(0x000000) {}
  void Assign(TPersistent* Source) override;
  int GetWidth() const { return FWidth; }
  void SetWidth(int Width);
  HPEN GetHandle();

private:
  int FWidth = 1;
};

class TGraphic;

// Drawing on a device context. A plain canvas draws on the context it is given and never owns it;
// descendants that own one (the bitmap's) make it on first use. The pen and brush are selected into
// the context for the length of each drawing call only, so the context is left as it was found.
class TCanvas : public TPersistent {
  QV_CLASS(TCanvas, TPersistent)
public:
  TCanvas() = default;
  ~TCanvas() override;

  // Raises EInvalidOperation "Canvas does not allow drawing" when there is no context to draw on.
  HDC GetHandle();
  void SetHandle(HDC Handle);
  bool HandleAllocated() const { return FHandle != nullptr; }

  TBrush* GetBrush() { return &FBrush; }
  TPen* GetPen() { return &FPen; }

  // Outlined with the pen and filled with the brush; the right and bottom edges are outside.
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
  // Filled with the brush, no outline.
  void FillRect(const TRect& R);
  // The graphic at its own size with its top-left at (X, Y), or stretched into R.
  void Draw(int X, int Y, TGraphic* Graphic);
  void StretchDraw(const TRect& R, TGraphic* Graphic);

protected:
  // Descendants that own their context create it here; the plain canvas has none to make.
  virtual void CreateHandle() {}

private:
  HDC FHandle = nullptr;
  TBrush FBrush;
  TPen FPen;
};

// An image that can draw itself on a canvas and be stored in a stream.
class TGraphic : public TPersistent {
  QV_CLASS(TGraphic, TPersistent)
public:
  virtual bool Empty() const = 0;
  virtual int GetWidth() const = 0;
  virtual int GetHeight() const = 0;
  virtual void SetWidth(int Width) = 0;
  virtual void SetHeight(int Height) = 0;
  virtual void LoadFromStream(TStream& Stream) = 0;
  virtual void SaveToStream(TStream& Stream) = 0;
  // A new, empty graphic of this one's class (copies are made by assigning into it).
  virtual TGraphic* CreateNew() const = 0;

protected:
  friend class TCanvas;
  // Draws the whole image stretched into R of the canvas.
  virtual void Draw(TCanvas& Canvas, const TRect& R) = 0;
};

enum TBitmapHandleType { bmDIB, bmDDB };

// A bitmap held as a system bitmap: a device-independent section (bmDIB, with scan lines) or a
// device-dependent bitmap (bmDDB, pixel format pfDevice). Changing the size or the format keeps the
// pixels the old and new images share; pixels a change adds start black (0).
class TBitmap : public TGraphic {
  QV_CLASS(TBitmap, TGraphic)
public:
  TBitmap();
  ~TBitmap() override;

  // From another TBitmap (a copy of its pixels, format and palette) or nothing (empties this
  // bitmap); a TPicture hands over its graphic.
  void Assign(TPersistent* Source) override;

  bool Empty() const override { return FHandle == nullptr; }
  int GetWidth() const override { return FWidth; }
  int GetHeight() const override { return FHeight; }
  void SetWidth(int Width) override { SetSize(Width, FHeight); }
  void SetHeight(int Height) override { SetSize(FWidth, Height); }
  // Negative sizes count as 0; an image with no pixels has no handle.
  void SetSize(int Width, int Height);

  TPixelFormat GetPixelFormat() const { return FPixelFormat; }
  // pfDevice makes a device-dependent bitmap, any other format a section of that format; pfCustom
  // raises EInvalidGraphic "Invalid pixel format".
  void SetPixelFormat(TPixelFormat Format);
  TBitmapHandleType GetHandleType() const { return FHandleType; }
  void SetHandleType(TBitmapHandleType Type);

  // The bitmap takes ownership of a handle it is given and frees it; its size, format and handle
  // type follow from the handle.
  HBITMAP GetHandle() const { return FHandle; }
  void SetHandle(HBITMAP Handle);
  // Gives up the handle to the caller, leaving the bitmap empty.
  HBITMAP ReleaseHandle();
  // The palette handle, owned like the bitmap handle; 0 when there is none. Giving a section of 8
  // bits or fewer a palette also writes the palette's colours into its colour table.
  HPALETTE GetPalette() const { return FPalette; }
  void SetPalette(HPALETTE Palette);
  HPALETTE ReleasePalette();

  // The first byte of picture row Row (0 is the top). A device-dependent bitmap is turned into a
  // section first. Raises EInvalidGraphicOperation "Scan line index out of range".
  void* GetScanLine(int Row);

  // A canvas drawing on this bitmap through a memory device context the bitmap owns.
  TCanvas* GetCanvas();

  // A bitmap resource (RT_BITMAP) of a module; EResNotFound when it is missing.
  void LoadFromResourceName(HINSTANCE Instance, const AnsiString& ResName);
  void LoadFromResourceID(HINSTANCE Instance, int ResID);

  // The bitmap file format: a file header and a packed device-independent bitmap. Reading accepts
  // uncompressed and bit-field images of 1, 4, 8, 16, 24 and 32 bits and raises EInvalidGraphic
  // "Bitmap image is not valid" for anything else. Writing stores a bottom-up section.
  void LoadFromStream(TStream& Stream) override;
  void SaveToStream(TStream& Stream) override;
  TGraphic* CreateNew() const override { return new TBitmap; }

  // The image as a packed device-independent bitmap (the clipboard's CF_DIB): header, masks or
  // colour table, then the rows bottom first; empty for an empty bitmap. BitsOffset receives where
  // the rows start.
  std::string SavePackedDib(size_t* BitsOffset = nullptr);

protected:
  void Draw(TCanvas& Canvas, const TRect& R) override;

private:
  class TBitmapCanvas;
  friend class TBitmapCanvas;

  // Replaces the image by Handle (owned from now on), or by nothing.
  void ReplaceHandle(HBITMAP Handle);
  // A new image of the given size, format and handle type with the old pixels copied in.
  void Rebuild(int Width, int Height, TPixelFormat Format, TBitmapHandleType Type);
  // Frees the canvas's memory device context so the image can change under it.
  void FreeContext();
  // A device context with the image selected: the canvas's.
  HDC ImageDC() { return GetCanvas()->GetHandle(); }
  void LoadFromPackedDib(const uint8_t* Data, size_t Size, size_t BitsOffset);

  HBITMAP FHandle = nullptr;
  HPALETTE FPalette = nullptr;
  int FWidth = 0;
  int FHeight = 0;
  TPixelFormat FPixelFormat = pfDevice;
  TBitmapHandleType FHandleType = bmDDB;
  TBitmapCanvas* FCanvas = nullptr;
};

// Holds one graphic of any kind, owned, and copies graphics in and out.
class TPicture : public TPersistent {
  QV_CLASS(TPicture, TPersistent)
public:
  TPicture() = default;
  ~TPicture() override;

  // From another picture, a graphic (copied into a new graphic of its class) or nothing.
  void Assign(TPersistent* Source) override;

  TGraphic* GetGraphic() const { return FGraphic; }
  // A copy of Graphic, or nothing for nullptr.
  void SetGraphic(TGraphic* Graphic);
  // The picture's bitmap; a picture holding no bitmap gets a new empty one, replacing its graphic.
  TBitmap* GetBitmap();

  int GetWidth() const { return FGraphic ? FGraphic->GetWidth() : 0; }
  int GetHeight() const { return FGraphic ? FGraphic->GetHeight() : 0; }

protected:
  void AssignTo(TPersistent* Dest) override;

private:
  void TakeGraphic(TGraphic* Graphic);

  TGraphic* FGraphic = nullptr;
};
