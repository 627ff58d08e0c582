// TqvBitmap: the library's 32-bit image, a top-down DIB section selected into a memory device
// context, so code, the system's drawing functions and hosted controls all reach the same pixels.
#pragma once

#include <windows.h>

#include <cstdint>

#include "graphics/kernels/ColorModel.h"
#include "platform/Classes.h"
#include "platform/Types.h"

class TCanvas;
class TList;
class TGraphic;
class TStream;

class TqvBitmap : public TPersistent {
  QV_CLASS(TqvBitmap, TPersistent)
public:
  TqvBitmap();
  ~TqvBitmap() override;

  // (Re)creates the pixel store at |Width| x |Height|; the old pixels are discarded, not copied. A
  // zero size, or the size the store already has, changes nothing. Raises Exception with "Can't
  // allocate the DIB handle", "Can't create compatible DC" or "Can't select an object into DC",
  // leaving the bitmap without a store (Width and Height keep their old values).
  void SetSize(int32_t Width, int32_t Height);
  bool Empty() const { return Handle == nullptr; }
  void Clear(TqvColor Color);

  // From a TqvBitmap (pixels, Name and flags), a TBitmap (a 32-bit section keeps its alpha, anything
  // else becomes opaque), a TPicture or any other TGraphic (opaque).
  void Assign(TPersistent* Source) override;

  // A bitmap resource of another module. A module or resource that cannot be found changes nothing.
  void LoadFromResource(const AnsiString& ModuleName, const AnsiString& ResName);

  // The stream record: name (length-prefixed), width, height, then the pixels rows top first (bottom
  // first when the stored height is negative). The flags are not stored.
  void LoadFromStream(TStream& Stream);
  void SaveToStream(TStream& Stream);

  // AlphaBlend := some pixel has an alpha other than 0 and 255. The rectangle is not consulted.
  void CheckingAlphaBlend();
  void CheckingAlphaBlend(const TRect& R);
  // Pixels whose red, green and blue each lie within 5 of Color's become the transparent key;
  // Transparent := any did. The rectangle is not consulted.
  void CheckingTransparent(TqvColor Color);
  void CheckingTransparent(const TRect& R, TqvColor Color);

  void SetAlpha(uint8_t Alpha);
  void SetAlpha(uint8_t Alpha, const TRect& R);

  // Unchecked: the coordinates must lie inside the image.
  TqvColor* GetScanLine(int32_t Y) const { return Bits + ptrdiff_t(Y) * Width; }
  TqvColor* GetPixelPtr(int32_t X, int32_t Y) const { return Bits + ptrdiff_t(Y) * Width + X; }
  // Checked: 0 and no effect outside the image or without pixels.
  TqvColor GetPixel(int32_t X, int32_t Y) const;
  void SetPixel(int32_t X, int32_t Y, TqvColor Color);

  // Adjust the colour of every pixel whose alpha is not 0, keeping its alpha.
  void ChangeBitmapBrightness(int32_t Amount);
  void ChangeBitmapSat(int32_t Amount);
  void ChangeBitmapHue(int32_t Amount);
  void SetBitmapHue(int32_t Hue);

  // Turns the image upside down.
  void FlipHorz();

  // The canvas over DC, made on first use and moved to each new DC.
  TCanvas* GetCanvas();

  // Drawing - the mode follows AlphaBlend (blended), then Transparent (colour-keyed), else plain.
  // A device context that belongs to a live TqvBitmap is drawn into that bitmap's pixels, moved by
  // the context's window origin.

  void Draw(HDC DC, int32_t X, int32_t Y);
  void Draw(HDC DC, int32_t X, int32_t Y, const TRect& SrcRect);
  void Draw(HDC DC, const TRect& DstRect);
  void Draw(HDC DC, const TRect& DstRect, const TRect& SrcRect);
  void Draw(TCanvas* Canvas, int32_t X, int32_t Y);
  void Draw(TCanvas* Canvas, int32_t X, int32_t Y, const TRect& SrcRect);
  void Draw(TCanvas* Canvas, const TRect& DstRect);
  void Draw(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect);
  void Draw(TqvBitmap* Dst, int32_t X, int32_t Y);
  void Draw(TqvBitmap* Dst, int32_t X, int32_t Y, const TRect& SrcRect);
  void Draw(TqvBitmap* Dst, const TRect& DstRect);
  void Draw(TqvBitmap* Dst, const TRect& DstRect, const TRect& SrcRect);

  // DstRect covered with unscaled copies of SrcRect from its top-left; cells cut by DstRect's right
  // and bottom edges show the top-left part of SrcRect.
  void Tile(HDC DC, const TRect& DstRect, const TRect& SrcRect);
  void Tile(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect);
  void Tile(TqvBitmap* Dst, const TRect& DstRect, const TRect& SrcRect);
  // As Tile, drawing only the cells that overlap ClipRect (all of them when ClipRect is empty).
  void TileClip(HDC DC, const TRect& DstRect, const TRect& ClipRect, const TRect& SrcRect);
  void TileClip(TCanvas* Canvas, const TRect& DstRect, const TRect& ClipRect, const TRect& SrcRect);
  void TileClip(TqvBitmap* Dst, const TRect& DstRect, const TRect& ClipRect, const TRect& SrcRect);

  // Puts SrcRect of Src underneath this bitmap's pixels at (X, Y): where this bitmap is transparent
  // the source shows, where it is partly transparent it is composed over the source.
  void MergeDraw(TqvBitmap* Src, int32_t X, int32_t Y, const TRect& SrcRect);
  // Fills R (cut to the image) with Color; composed by Color's alpha when AlphaBlend is set.
  void FillRect(const TRect& R, TqvColor Color);
  // Renders Graphic stretched into R, keeping the pixels it leaves untouched (or paints pure magenta).
  void DrawGraphic(TGraphic* Graphic, const TRect& R);

  // First pixel of row 0; null while the bitmap has no store.
  TqvColor* Bits = nullptr;
  int32_t Width = 0;
  int32_t Height = 0;
  AnsiString Name;
  BITMAPINFO BitmapInfo{};
  HBITMAP Handle = nullptr;
  HDC DC = nullptr;
  TCanvas* Canvas = nullptr;
  bool AlphaBlend = false;
  bool Transparent = false;

protected:
  // Into a TBitmap, a TPicture's bitmap or the clipboard, as a 32-bit image drawn by this bitmap's
  // mode over the target's pixels.
  void AssignTo(TPersistent* Dest) override;

private:
  void ReleaseStore();
  void DrawToBitmap(TqvBitmap* Dst, const TRect& DstRect, const TRect& SrcRect);
  template <class TCellDraw>
  void ForEachTile(const TRect& DstRect, const TRect& SrcRect, TCellDraw DrawCell);
  template <class TAdjust>
  void AdjustColors(TAdjust Adjust);
};

// The live bitmaps: every TqvBitmap that owns a device context, so that a device context handed to
// a drawing call can be recognised as a bitmap's own. Made by the first RegisterBitmap; searched
// linearly.
extern TList* LiveBitmaps;
void RegisterBitmap(TqvBitmap* Bitmap);
void UnregisterBitmap(TqvBitmap* Bitmap);
// The first live bitmap whose DC is DC, or nullptr.
TqvBitmap* FindBitmapByDC(HDC DC);
// Drops the list; the library's finalisation calls it.
void FreeLiveBitmaps();
