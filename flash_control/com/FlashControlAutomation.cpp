// Automation: IDispatch over the type library's dual interface, and IShockwaveFlash.
#include "flash_control/com/FlashControl.h"

#include "flash_control/com/Bstr.h"
#include "flash_control/com/TypeInfo.h"
#include "flash_control/com/Utf8.h"

using Microsoft::WRL::ComPtr;

namespace flash_control {

namespace {

constexpr LONG PlayerVersion = 0x00080000;

// The engine's name for a timeline given by a caller: the root when empty.
std::string Target(BSTR target)
{
  return ToUtf8(FromBstr(target));
}

HRESULT ReturnBoolean(bool value, VARIANT_BOOL* result)
{
  if (!result) return E_POINTER;
  *result = value ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

template <class T>
HRESULT ReturnValue(T value, T* result)
{
  if (!result) return E_POINTER;
  *result = value;
  return S_OK;
}

}  // namespace

// IDispatch

HRESULT STDMETHODCALLTYPE TFlashControl::GetTypeInfoCount(UINT* count)
{
  return ReturnValue(1u, count);
}

HRESULT STDMETHODCALLTYPE TFlashControl::GetTypeInfo(UINT index, LCID, ITypeInfo** info)
{
  if (!info) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  if (!FTypeInfo) {
    const HRESULT hr = LoadControlTypeInfo(IID_IShockwaveFlash, &FTypeInfo);
    if (FAILED(hr)) return hr;
  }
  return FTypeInfo.CopyTo(info);
}

HRESULT STDMETHODCALLTYPE TFlashControl::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count,
                                                       LCID locale, DISPID* ids)
{
  // The type library's lookup reads both arrays unchecked.
  if (!names || !ids) return E_POINTER;
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  ComPtr<ITypeInfo> info;
  const HRESULT hr = GetTypeInfo(0, locale, &info);
  if (FAILED(hr)) return hr;
  return info->GetIDsOfNames(names, count, ids);
}

HRESULT STDMETHODCALLTYPE TFlashControl::Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                                DISPPARAMS* params, VARIANT* result,
                                                EXCEPINFO* exception, UINT* argumentError)
{
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  // The type library's call reads the argument arrays unchecked.
  if (!params || (params->cArgs && !params->rgvarg) ||
      (params->cNamedArgs && !params->rgdispidNamedArgs) || params->cNamedArgs > params->cArgs)
    return E_INVALIDARG;
  ComPtr<ITypeInfo> info;
  const HRESULT hr = GetTypeInfo(0, locale, &info);
  if (FAILED(hr)) return hr;
  const ComPtr<IUnknown> self = KeepAlive();
  return info->Invoke(static_cast<IShockwaveFlash*>(this), id, flags, params, result, exception,
                      argumentError);
}

// Persisted properties

HRESULT TFlashControl::GetStateText(TStateSlot slot, BSTR* text) const
{
  return ReturnText(FState.Text(slot), text);
}

HRESULT TFlashControl::GetStateBoolean(TStateSlot slot, VARIANT_BOOL* value) const
{
  return ReturnBoolean(FState.Boolean(slot), value);
}

HRESULT STDMETHODCALLTYPE TFlashControl::get_ReadyState(LONG* state)
{
  return ReturnValue(FReadyState, state);
}

HRESULT STDMETHODCALLTYPE TFlashControl::get_TotalFrames(LONG* frames)
{
  const std::optional<swf::MovieInfo> info = FPlayer->Info();
  return ReturnValue(LONG(info ? info->FrameCount : 0), frames);
}

HRESULT STDMETHODCALLTYPE TFlashControl::get_Playing(VARIANT_BOOL* playing)
{
  // Without a movie: whether the next movie starts playing.
  if (!FPlayer->HasMovie()) return GetStateBoolean(TStateSlot::Playing, playing);
  return ReturnBoolean(FPlayer->IsPlaying().value_or(false), playing);
}

HRESULT STDMETHODCALLTYPE TFlashControl::put_Playing(VARIANT_BOOL playing)
{
  if (playing)
    FPlayer->Play();
  else
    FPlayer->Stop();
  SetStateBoolean(TStateSlot::Playing, playing != VARIANT_FALSE, 125);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::get_Quality(int* quality)
{
  return ReturnValue(QualityFromText(FState.Text(TStateSlot::Quality2)).value_or(1), quality);
}

HRESULT STDMETHODCALLTYPE TFlashControl::put_Quality(int quality)
{
  const std::optional<std::u16string> text = QualityText(quality);
  if (!text) return E_INVALIDARG;
  SetStateText(TStateSlot::Quality2, *text, 105);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::get_ScaleMode(int* mode)
{
  const TScaleMode scale =
    ScaleModeFromText(FState.Text(TStateSlot::Scale)).value_or(TScaleMode::ShowAll);
  return ReturnValue(int(scale), mode);
}

HRESULT STDMETHODCALLTYPE TFlashControl::put_ScaleMode(int mode)
{
  if (mode < int(TScaleMode::ShowAll) || mode > int(TScaleMode::NoScale)) return E_INVALIDARG;
  if (SetStateText(TStateSlot::Scale, ScaleModeText(TScaleMode(mode)), 120)) Invalidate(nullptr);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::get_AlignMode(int* align)
{
  return ReturnValue(int(AlignFromText(FState.Text(TStateSlot::SAlign)).value_or(0)), align);
}

HRESULT STDMETHODCALLTYPE TFlashControl::put_AlignMode(int align)
{
  if (align < 0 || unsigned(align) > AlignMask) return E_INVALIDARG;
  if (SetStateText(TStateSlot::SAlign, AlignText(unsigned(align)), 121)) Invalidate(nullptr);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::get_BackgroundColor(LONG* color)
{
  return ReturnValue(
    LONG(ColorFromText(FState.Text(TStateSlot::BGColor)).value_or(MovieBackground)), color);
}

HRESULT STDMETHODCALLTYPE TFlashControl::put_BackgroundColor(LONG color)
{
  const std::optional<std::u16string> text = ColorText(color);
  if (!text) return E_INVALIDARG;
  if (SetStateText(TStateSlot::BGColor, *text, 123)) {
    ApplyBackgroundColor();
    Invalidate(nullptr);
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::get_Loop(VARIANT_BOOL* loop)
{
  return GetStateBoolean(TStateSlot::Loop, loop);
}

HRESULT STDMETHODCALLTYPE TFlashControl::put_Loop(VARIANT_BOOL loop)
{
  FPlayer->SetLoop(loop != VARIANT_FALSE);
  SetStateBoolean(TStateSlot::Loop, loop != VARIANT_FALSE, 106);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::get_Movie(BSTR* url)
{
  return GetStateText(TStateSlot::Movie, url);
}

HRESULT STDMETHODCALLTYPE TFlashControl::put_Movie(BSTR url)
{
  const std::u16string text = FromBstr(url);
  SetStateText(TStateSlot::Movie, text, 102);
  return RequestLoad(0, text);
}

HRESULT STDMETHODCALLTYPE TFlashControl::get_FrameNum(LONG* frame)
{
  return CurrentFrame(frame);
}

HRESULT STDMETHODCALLTYPE TFlashControl::put_FrameNum(LONG frame)
{
  return GotoFrame(frame);
}

HRESULT STDMETHODCALLTYPE TFlashControl::get_WMode(BSTR* mode)
{
  return GetStateText(TStateSlot::WMode, mode);
}

HRESULT STDMETHODCALLTYPE TFlashControl::put_WMode(BSTR mode)
{
  const std::u16string text = FromBstr(mode);
  if (!WindowModeFromText(text)) return E_INVALIDARG;
  if (SetStateText(TStateSlot::WMode, text, 133)) Invalidate(nullptr);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::get_SAlign(BSTR* align)
{
  return GetStateText(TStateSlot::SAlign, align);
}

HRESULT STDMETHODCALLTYPE TFlashControl::put_SAlign(BSTR align)
{
  const std::u16string text = FromBstr(align);
  if (!AlignFromText(text)) return E_INVALIDARG;
  if (SetStateText(TStateSlot::SAlign, text, 134)) Invalidate(nullptr);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::get_Menu(VARIANT_BOOL* menu)
{
  return GetStateBoolean(TStateSlot::Menu, menu);
}

HRESULT STDMETHODCALLTYPE TFlashControl::put_Menu(VARIANT_BOOL menu)
{
  SetStateBoolean(TStateSlot::Menu, menu != VARIANT_FALSE, 135);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::get_Base(BSTR* base)
{
  return GetStateText(TStateSlot::Base, base);
}

HRESULT STDMETHODCALLTYPE TFlashControl::put_Base(BSTR base)
{
  SetStateText(TStateSlot::Base, FromBstr(base), 136);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::get_Scale(BSTR* scale)
{
  return GetStateText(TStateSlot::Scale, scale);
}

HRESULT STDMETHODCALLTYPE TFlashControl::put_Scale(BSTR scale)
{
  const std::u16string text = FromBstr(scale);
  if (!ScaleModeFromText(text)) return E_INVALIDARG;
  if (SetStateText(TStateSlot::Scale, text, 137)) Invalidate(nullptr);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::get_DeviceFont(VARIANT_BOOL* deviceFont)
{
  return GetStateBoolean(TStateSlot::DeviceFont, deviceFont);
}

HRESULT STDMETHODCALLTYPE TFlashControl::put_DeviceFont(VARIANT_BOOL deviceFont)
{
  SetStateBoolean(TStateSlot::DeviceFont, deviceFont != VARIANT_FALSE, 138);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::get_EmbedMovie(VARIANT_BOOL* embed)
{
  return GetStateBoolean(TStateSlot::EmbedMovie, embed);
}

HRESULT STDMETHODCALLTYPE TFlashControl::put_EmbedMovie(VARIANT_BOOL embed)
{
  SetStateBoolean(TStateSlot::EmbedMovie, embed != VARIANT_FALSE, 139);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::get_BGColor(BSTR* color)
{
  return GetStateText(TStateSlot::BGColor, color);
}

HRESULT STDMETHODCALLTYPE TFlashControl::put_BGColor(BSTR color)
{
  const std::u16string text = FromBstr(color);
  if (!ColorFromText(text)) return E_INVALIDARG;
  if (SetStateText(TStateSlot::BGColor, text, 140)) {
    ApplyBackgroundColor();
    Invalidate(nullptr);
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::get_Quality2(BSTR* quality)
{
  return GetStateText(TStateSlot::Quality2, quality);
}

HRESULT STDMETHODCALLTYPE TFlashControl::put_Quality2(BSTR quality)
{
  const std::u16string text = FromBstr(quality);
  if (!QualityFromText(text)) return E_INVALIDARG;
  SetStateText(TStateSlot::Quality2, text, 141);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::get_SWRemote(BSTR* remote)
{
  return GetStateText(TStateSlot::SWRemote, remote);
}

HRESULT STDMETHODCALLTYPE TFlashControl::put_SWRemote(BSTR remote)
{
  SetStateText(TStateSlot::SWRemote, FromBstr(remote), 159);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::get_FlashVars(BSTR* vars)
{
  return GetStateText(TStateSlot::FlashVars, vars);
}

HRESULT STDMETHODCALLTYPE TFlashControl::put_FlashVars(BSTR vars)
{
  SetStateText(TStateSlot::FlashVars, FromBstr(vars), 170);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::get_AllowScriptAccess(BSTR* access)
{
  return GetStateText(TStateSlot::AllowScriptAccess, access);
}

HRESULT STDMETHODCALLTYPE TFlashControl::put_AllowScriptAccess(BSTR access)
{
  SetStateText(TStateSlot::AllowScriptAccess, FromBstr(access), 171);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::get_SeamlessTabbing(VARIANT_BOOL* seamless)
{
  return GetStateBoolean(TStateSlot::SeamlessTabbing, seamless);
}

HRESULT STDMETHODCALLTYPE TFlashControl::put_SeamlessTabbing(VARIANT_BOOL seamless)
{
  SetStateBoolean(TStateSlot::SeamlessTabbing, seamless != VARIANT_FALSE, 192);
  return S_OK;
}

// Properties held only while the control lives

HRESULT STDMETHODCALLTYPE TFlashControl::get_MovieData(BSTR* data)
{
  return ReturnText(FMovieData, data);
}

HRESULT STDMETHODCALLTYPE TFlashControl::put_MovieData(BSTR data)
{
  std::u16string text = FromBstr(data);
  if (text == FMovieData) return S_OK;
  FMovieData = std::move(text);
  PropertyChanged(190);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::get_InlineData(IUnknown** data)
{
  return ReturnValue<IUnknown*>(nullptr, data);
}

HRESULT STDMETHODCALLTYPE TFlashControl::put_InlineData(IUnknown*)
{
  return E_NOTIMPL;
}

// The view: zoom and pan

HRESULT STDMETHODCALLTYPE TFlashControl::SetZoomRect(LONG left, LONG top, LONG right, LONG bottom)
{
  // Twips of the stage.
  if (right <= left || bottom <= top) return E_INVALIDARG;
  FZoom = TStageView{left / 20.0, top / 20.0, (right - left) / 20.0, (bottom - top) / 20.0};
  Invalidate(nullptr);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::Zoom(int factor)
{
  if (factor < 0) return E_INVALIDARG;
  if (factor == 0) {
    FZoom.reset();
  } else {
    // A factor of 50 shows half the width and height, around the same centre.
    const TStageView view = CurrentView();
    const double width = view.Width * factor / 100.0;
    const double height = view.Height * factor / 100.0;
    FZoom = TStageView{view.Left + (view.Width - width) / 2, view.Top + (view.Height - height) / 2,
                       width, height};
  }
  Invalidate(nullptr);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::Pan(LONG x, LONG y, int mode)
{
  if (mode != 0 && mode != 1) return E_INVALIDARG;
  TStageView view = CurrentView();
  // Mode 0 moves by pixels of the control, mode 1 by percent of the visible width and height.
  const swf::StageTransform t = StageTransform(InputFrame());
  const double scaleX = t.ScaleX > 0 ? t.ScaleX : 1;
  const double scaleY = t.ScaleY > 0 ? t.ScaleY : 1;
  view.Left += mode == 0 ? x / scaleX : view.Width * x / 100.0;
  view.Top += mode == 0 ? y / scaleY : view.Height * y / 100.0;
  FZoom = view;
  Invalidate(nullptr);
  return S_OK;
}

// Playback of the root timeline

HRESULT STDMETHODCALLTYPE TFlashControl::Play()
{
  FPlayer->Play();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::Stop()
{
  FPlayer->Stop();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::StopPlay()
{
  return Stop();
}

HRESULT STDMETHODCALLTYPE TFlashControl::Back()
{
  FPlayer->Back();
  AfterPlayerCall();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::Forward()
{
  FPlayer->Forward();
  AfterPlayerCall();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::Rewind()
{
  FPlayer->Rewind();
  AfterPlayerCall();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::GotoFrame(LONG frame)
{
  return TGotoFrame(nullptr, frame);
}

HRESULT STDMETHODCALLTYPE TFlashControl::CurrentFrame(LONG* frame)
{
  if (!frame) return E_POINTER;
  *frame = LONG(FPlayer->CurrentFrame().value_or(0));
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::IsPlaying(VARIANT_BOOL* playing)
{
  return ReturnBoolean(FPlayer->IsPlaying().value_or(false), playing);
}

HRESULT STDMETHODCALLTYPE TFlashControl::PercentLoaded(LONG* percent)
{
  return ReturnValue(FPercentLoaded, percent);
}

HRESULT STDMETHODCALLTYPE TFlashControl::FrameLoaded(LONG frame, VARIANT_BOOL* loaded)
{
  const std::optional<swf::MovieInfo> info = FPlayer->Info();
  return ReturnBoolean(info && frame >= 0 && uint32_t(frame) < info->FramesLoaded, loaded);
}

HRESULT STDMETHODCALLTYPE TFlashControl::FlashVersion(LONG* version)
{
  return ReturnValue(PlayerVersion, version);
}

HRESULT STDMETHODCALLTYPE TFlashControl::LoadMovie(int layer, BSTR url)
{
  return RequestLoad(layer, FromBstr(url));
}

// Timelines by target path

HRESULT STDMETHODCALLTYPE TFlashControl::TGotoFrame(BSTR target, LONG frame)
{
  const std::string path = Target(target);
  const std::optional<uint32_t> total = FPlayer->TotalFrames(path);
  if (!total || frame < 0 || uint32_t(frame) >= *total) return E_INVALIDARG;
  FPlayer->GotoFrame(path, uint32_t(frame));
  AfterPlayerCall();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::TGotoLabel(BSTR target, BSTR label)
{
  if (!FPlayer->GotoLabel(Target(target), ToUtf8(FromBstr(label)))) return E_INVALIDARG;
  AfterPlayerCall();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::TCurrentFrame(BSTR target, LONG* frame)
{
  if (!frame) return E_POINTER;
  const std::optional<uint32_t> current = FPlayer->CurrentFrame(Target(target));
  if (!current) return E_INVALIDARG;
  *frame = LONG(*current);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::TCurrentLabel(BSTR target, BSTR* label)
{
  if (!label) return E_POINTER;
  *label = nullptr;
  const std::optional<std::string> current = FPlayer->CurrentLabel(Target(target));
  if (!current) return E_INVALIDARG;
  return ReturnText(FromUtf8(*current), label);
}

HRESULT STDMETHODCALLTYPE TFlashControl::TPlay(BSTR target)
{
  return FPlayer->Play(Target(target)) ? S_OK : E_INVALIDARG;
}

HRESULT STDMETHODCALLTYPE TFlashControl::TStopPlay(BSTR target)
{
  return FPlayer->Stop(Target(target)) ? S_OK : E_INVALIDARG;
}

HRESULT STDMETHODCALLTYPE TFlashControl::TCallFrame(BSTR target, int frame)
{
  if (frame < 0 || !FPlayer->CallFrame(Target(target), uint32_t(frame))) return E_INVALIDARG;
  AfterPlayerCall();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::TCallLabel(BSTR target, BSTR label)
{
  if (!FPlayer->CallLabel(Target(target), ToUtf8(FromBstr(label)))) return E_INVALIDARG;
  AfterPlayerCall();
  return S_OK;
}

// Variables and properties

HRESULT STDMETHODCALLTYPE TFlashControl::SetVariable(BSTR name, BSTR value)
{
  if (SysStringLen(name) == 0) return E_INVALIDARG;
  if (!FPlayer->SetVariable(ToUtf8(FromBstr(name)), ToUtf8(FromBstr(value)))) return E_INVALIDARG;
  AfterPlayerCall();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::GetVariable(BSTR name, BSTR* value)
{
  if (!value) return E_POINTER;
  *value = nullptr;
  if (SysStringLen(name) == 0) return E_INVALIDARG;
  const std::optional<std::string> text = FPlayer->GetVariable(ToUtf8(FromBstr(name)));
  return text ? ReturnText(FromUtf8(*text), value) : S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::TSetProperty(BSTR target, int property, BSTR value)
{
  if (!FPlayer->SetProperty(Target(target), property, ToUtf8(FromBstr(value)))) return E_INVALIDARG;
  AfterPlayerCall();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::TGetProperty(BSTR target, int property, BSTR* value)
{
  if (!value) return E_POINTER;
  *value = nullptr;
  const std::optional<std::string> text = FPlayer->GetProperty(Target(target), property);
  if (!text) return E_INVALIDARG;
  return ReturnText(FromUtf8(*text), value);
}

HRESULT STDMETHODCALLTYPE TFlashControl::TSetPropertyNum(BSTR target, int property, double value)
{
  if (!FPlayer->SetPropertyNumber(Target(target), property, value)) return E_INVALIDARG;
  AfterPlayerCall();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::TGetPropertyNum(BSTR target, int property, double* value)
{
  if (!value) return E_POINTER;
  const std::optional<double> number = FPlayer->GetPropertyNumber(Target(target), property);
  if (!number) return E_INVALIDARG;
  *value = *number;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::TGetPropertyAsNumber(BSTR target, int property,
                                                              double* value)
{
  return TGetPropertyNum(target, property, value);
}

}  // namespace flash_control
