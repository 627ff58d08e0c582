#include "platform/Graphics.h"

#include "platform/WinTypes.h"

// Brushes and pens

void TBrush::Assign(TPersistent* Source)
{
  if (auto* brush = dynamic_cast<TBrush*>(Source)) {
    SetColor(brush->GetColor());
    return;
  }
  inherited::Assign(Source);
}

HBRUSH TBrush::GetHandle()
{
  if (!FHandle) FHandle = CreateSolidBrush(COLORREF(ColorToRGB(FColor)));
  return FHandle;
}

void TPen::Assign(TPersistent* Source)
{
  if (auto* pen = dynamic_cast<TPen*>(Source)) {
    SetColor(pen->GetColor());
    SetWidth(pen->GetWidth());
    return;
  }
  inherited::Assign(Source);
}

void TPen::SetWidth(int Width)
{
  if (Width == FWidth) return;
  FWidth = Width;
  FreeHandle();
}

HPEN TPen::GetHandle()
{
  if (!FHandle) FHandle = CreatePen(PS_SOLID, FWidth, COLORREF(ColorToRGB(FColor)));
  return FHandle;
}

// Canvas

namespace {

// Selects the canvas's pen and brush into its context for one drawing call.
class TToolSelection {
public:
  TToolSelection(HDC DC, HPEN Pen, HBRUSH Brush)
    : FDC(DC), FOldPen(SelectObject(DC, Pen)), FOldBrush(SelectObject(DC, Brush))
  {
  }
  ~TToolSelection()
  {
    SelectObject(FDC, FOldBrush);
    SelectObject(FDC, FOldPen);
  }
  TToolSelection(const TToolSelection&) = delete;
  TToolSelection& operator=(const TToolSelection&) = delete;

private:
  HDC FDC;
  HGDIOBJ FOldPen;
  HGDIOBJ FOldBrush;
};

}  // namespace

TCanvas::~TCanvas() = default;

HDC TCanvas::GetHandle()
{
  if (!FHandle) CreateHandle();
  if (!FHandle) throw EInvalidOperation("Canvas does not allow drawing");
  return FHandle;
}

void TCanvas::SetHandle(HDC Handle)
{
  FHandle = Handle;
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2)
{
  const HDC dc = GetHandle();
  TToolSelection tools(dc, FPen.GetHandle(), FBrush.GetHandle());
  ::Rectangle(dc, X1, Y1, X2, Y2);
}

void TCanvas::FillRect(const TRect& R)
{
  const RECT rect = ToRECT(R);
  ::FillRect(GetHandle(), &rect, FBrush.GetHandle());
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic)
{
  if (Graphic && !Graphic->Empty())
    Graphic->Draw(*this, Bounds(X, Y, Graphic->GetWidth(), Graphic->GetHeight()));
}

void TCanvas::StretchDraw(const TRect& R, TGraphic* Graphic)
{
  if (Graphic && !Graphic->Empty()) Graphic->Draw(*this, R);
}

// Picture

TPicture::~TPicture()
{
  delete FGraphic;
}

void TPicture::TakeGraphic(TGraphic* Graphic)
{
  delete FGraphic;
  FGraphic = Graphic;
}

void TPicture::SetGraphic(TGraphic* Graphic)
{
  if (!Graphic) {
    TakeGraphic(nullptr);
    return;
  }
  TGraphic* copy = Graphic->CreateNew();
  try {
    copy->Assign(Graphic);
  } catch (...) {
    delete copy;
    throw;
  }
  TakeGraphic(copy);
}

TBitmap* TPicture::GetBitmap()
{
  if (auto* bitmap = dynamic_cast<TBitmap*>(FGraphic)) return bitmap;
  TakeGraphic(new TBitmap);
  return static_cast<TBitmap*>(FGraphic);
}

void TPicture::Assign(TPersistent* Source)
{
  if (!Source) {
    SetGraphic(nullptr);
  } else if (auto* picture = dynamic_cast<TPicture*>(Source)) {
    SetGraphic(picture->GetGraphic());
  } else if (auto* graphic = dynamic_cast<TGraphic*>(Source)) {
    SetGraphic(graphic);
  } else {
    inherited::Assign(Source);
  }
}

void TPicture::AssignTo(TPersistent* Dest)
{
  if (auto* graphic = dynamic_cast<TGraphic*>(Dest); graphic && FGraphic) {
    graphic->Assign(FGraphic);
    return;
  }
  inherited::AssignTo(Dest);
}
