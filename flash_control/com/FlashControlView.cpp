// Drawing: the current frame into a device context, scaled and aligned into the object rectangle
// when in-place active windowless, otherwise into the given bounds.
#include "flash_control/com/FlashControl.h"

#include <algorithm>
#include <cmath>

#include "flash_control/com/DeviceTarget.h"
#include "platform/WinTypes.h"

namespace flash_control {

namespace {

// A rectangle's device coordinates, normalised: mapping modes may run y upwards.
RECT ToDevice(HDC dc, const RECT& logical)
{
  POINT corners[2] = {{logical.left, logical.top}, {logical.right, logical.bottom}};
  LPtoDP(dc, corners, 2);
  return {std::min(corners[0].x, corners[1].x), std::min(corners[0].y, corners[1].y),
          std::max(corners[0].x, corners[1].x), std::max(corners[0].y, corners[1].y)};
}

}  // namespace

void TFlashControl::ApplyBackgroundColor()
{
  const int32_t color = ColorFromText(FState.Text(TStateSlot::BGColor)).value_or(MovieBackground);
  if (color == MovieBackground)
    FPlayer->SetBackgroundOverride(std::nullopt);
  else
    FPlayer->SetBackgroundOverride(
      swf::Rgba{uint8_t(color >> 16), uint8_t(color >> 8), uint8_t(color), 255});
}

HRESULT TFlashControl::DrawInto(HDC dc, const RECT& target, const RECT& bounds)
{
  RECT area;
  if (!IntersectRect(&area, &target, &bounds)) return S_OK;
  RECT clipBox;
  const int clip = GetClipBox(dc, &clipBox);
  if (clip == NULLREGION) return S_OK;
  if (clip != ERROR && !IntersectRect(&area, &area, &clipBox)) return S_OK;

  const RECT deviceTarget = ToDevice(dc, target);
  const RECT deviceArea = ToDevice(dc, area);
  const bool transparent =
    WindowModeFromText(FState.Text(TStateSlot::WMode)) == TWindowMode::Transparent;
  TDeviceTarget pixels(dc, deviceArea, clip != COMPLEXREGION, transparent);
  if (!pixels.Valid()) return E_OUTOFMEMORY;
  // Rendered in the pixels' own coordinates, whose origin is the area's top-left corner.
  swf::StageTransform transform = StageTransform(ToTRect(deviceTarget));
  transform.OffsetX -= deviceArea.left;
  transform.OffsetY -= deviceArea.top;
  FPlayer->Render(pixels.Pixels(), transform,
                  Bounds(0, 0, pixels.Pixels().Width, pixels.Pixels().Height),
                  transparent ? swf::Backdrop::Transparent : swf::Backdrop::Opaque);
  pixels.Commit();
  return S_OK;
}

TStageView TFlashControl::CurrentView() const
{
  if (FZoom) return *FZoom;
  const std::optional<swf::MovieInfo> info = FPlayer->Info();
  return info ? TStageView{0, 0, double(info->Width), double(info->Height)} : TStageView{};
}

swf::StageTransform TFlashControl::StageTransform(const TRect& target) const
{
  const TScaleMode mode =
    ScaleModeFromText(FState.Text(TStateSlot::Scale)).value_or(TScaleMode::ShowAll);
  const unsigned align = AlignFromText(FState.Text(TStateSlot::SAlign)).value_or(0);
  return FitStage(CurrentView(), target, mode, align);
}

void TFlashControl::RepaintStage(const swf::Damage& damage)
{
  if (damage.None()) return;
  if (damage.Everything) {
    Invalidate(nullptr);
    return;
  }
  // Out to whole pixels, and one more for the anti-aliased edges.
  const TRect frame = InputFrame();
  const swf::StageTransform t = StageTransform(frame);
  const double x0 = damage.Area.Left * t.ScaleX + t.OffsetX;
  const double x1 = damage.Area.Right * t.ScaleX + t.OffsetX;
  const double y0 = damage.Area.Top * t.ScaleY + t.OffsetY;
  const double y1 = damage.Area.Bottom * t.ScaleY + t.OffsetY;
  TRect area{int32_t(std::floor(std::min(x0, x1))) - 1, int32_t(std::floor(std::min(y0, y1))) - 1,
             int32_t(std::ceil(std::max(x0, x1))) + 1, int32_t(std::ceil(std::max(y0, y1))) + 1};
  area = {std::max(area.Left, frame.Left), std::max(area.Top, frame.Top),
          std::min(area.Right, frame.Right), std::min(area.Bottom, frame.Bottom)};
  if (area.Right > area.Left && area.Bottom > area.Top) Invalidate(&area);
}

// IViewObject, IViewObject2

HRESULT STDMETHODCALLTYPE TFlashControl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC,
                                              HDC dc, LPCRECTL bounds, LPCRECTL,
                                              BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR)
{
  if (aspect != DVASPECT_CONTENT && aspect != DVASPECT_TRANSPARENT) return DV_E_DVASPECT;
  if (!dc) return E_INVALIDARG;
  const RECT given =
    bounds ? RECT{bounds->left, bounds->top, bounds->right, bounds->bottom} : FPosition;
  if (!bounds && FActivation != TActivation::Windowless) return E_INVALIDARG;
  // A windowless object draws at its object rectangle; the bounds only limit what is painted.
  const RECT target = FActivation == TActivation::Windowless ? FPosition : given;
  return DrawInto(dc, target, given);
}

HRESULT STDMETHODCALLTYPE TFlashControl::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC,
                                                     LOGPALETTE** colors)
{
  if (!colors) return E_POINTER;
  *colors = nullptr;
  return S_FALSE;
}

HRESULT STDMETHODCALLTYPE TFlashControl::Freeze(DWORD, LONG, void*, DWORD* freeze)
{
  if (freeze) *freeze = 0;
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE TFlashControl::Unfreeze(DWORD)
{
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE TFlashControl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink)
{
  FViewSink = sink;
  FViewSinkAspects = aspects;
  FViewSinkFlags = flags;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink)
{
  if (aspects) *aspects = FViewSinkAspects;
  if (flags) *flags = FViewSinkFlags;
  if (sink) FViewSink.CopyTo(sink);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*,
                                                   LPSIZEL size)
{
  return GetExtent(aspect, size);
}

}  // namespace flash_control
