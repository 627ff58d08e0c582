// The OLE object and control: site, verbs, extent, status and the object's advise sinks.
#include "flash_control/com/FlashControl.h"

using Microsoft::WRL::ComPtr;

namespace flash_control {

// IOleObject

HRESULT STDMETHODCALLTYPE TFlashControl::SetClientSite(IOleClientSite* site)
{
  FClientSite = site;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::GetClientSite(IOleClientSite** site)
{
  if (!site) return E_POINTER;
  return FClientSite.CopyTo(site);
}

HRESULT STDMETHODCALLTYPE TFlashControl::SetHostNames(LPCOLESTR, LPCOLESTR)
{
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::Close(DWORD saveOption)
{
  const ComPtr<IUnknown> self = KeepAlive();
  if (saveOption != OLECLOSE_NOSAVE && FDirty && FClientSite) FClientSite->SaveObject();
  InPlaceDeactivate();
  FPlayer->Stop();
  StopFrameTimer();
  if (FAdviseHolder) FAdviseHolder->SendOnClose();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::SetMoniker(DWORD, IMoniker*)
{
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE TFlashControl::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
  if (moniker) *moniker = nullptr;
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE TFlashControl::InitFromData(IDataObject*, BOOL, DWORD)
{
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE TFlashControl::GetClipboardData(DWORD, IDataObject** data)
{
  if (data) *data = nullptr;
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE TFlashControl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND,
                                                LPCRECT)
{
  switch (verb) {
  case OLEIVERB_PRIMARY:
  case OLEIVERB_SHOW:
  case OLEIVERB_UIACTIVATE:
  case OLEIVERB_INPLACEACTIVATE:
    return InPlaceActivate(site ? site : FClientSite.Get());
  case OLEIVERB_HIDE:
    return InPlaceDeactivate();
  default:
    if (verb < 0) return E_NOTIMPL;
    // Unknown positive verbs act as the primary verb.
    const HRESULT hr = InPlaceActivate(site ? site : FClientSite.Get());
    return FAILED(hr) ? hr : OLEOBJ_S_INVALIDVERB;
  }
}

HRESULT STDMETHODCALLTYPE TFlashControl::EnumVerbs(IEnumOLEVERB** verbs)
{
  if (verbs) *verbs = nullptr;
  return OLE_S_USEREG;
}

HRESULT STDMETHODCALLTYPE TFlashControl::Update()
{
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::IsUpToDate()
{
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::GetUserClassID(CLSID* clsid)
{
  return GetClassID(clsid);
}

HRESULT STDMETHODCALLTYPE TFlashControl::GetUserType(DWORD, LPOLESTR* userType)
{
  if (userType) *userType = nullptr;
  return OLE_S_USEREG;
}

HRESULT STDMETHODCALLTYPE TFlashControl::SetExtent(DWORD aspect, SIZEL* size)
{
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  if (size->cx < 0 || size->cy < 0) return E_INVALIDARG;
  if (FState.SetExtent(size->cx, size->cy)) FDirty = true;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::GetExtent(DWORD aspect, SIZEL* size)
{
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  size->cx = FState.ExtentX();
  size->cy = FState.ExtentY();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::Advise(IAdviseSink* sink, DWORD* connection)
{
  if (!connection) return E_POINTER;
  *connection = 0;
  if (!sink) return E_INVALIDARG;
  if (!FAdviseHolder) {
    const HRESULT hr = CreateOleAdviseHolder(&FAdviseHolder);
    if (FAILED(hr)) return hr;
  }
  return FAdviseHolder->Advise(sink, connection);
}

HRESULT STDMETHODCALLTYPE TFlashControl::Unadvise(DWORD connection)
{
  if (!FAdviseHolder) return OLE_E_NOCONNECTION;
  return FAdviseHolder->Unadvise(connection);
}

HRESULT STDMETHODCALLTYPE TFlashControl::EnumAdvise(IEnumSTATDATA** advises)
{
  if (!advises) return E_POINTER;
  *advises = nullptr;
  if (!FAdviseHolder) return S_OK;
  return FAdviseHolder->EnumAdvise(advises);
}

HRESULT STDMETHODCALLTYPE TFlashControl::GetMiscStatus(DWORD, DWORD* status)
{
  if (!status) return E_POINTER;
  *status = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT |
            OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::SetColorScheme(LOGPALETTE*)
{
  return E_NOTIMPL;
}

// IOleControl

HRESULT STDMETHODCALLTYPE TFlashControl::GetControlInfo(CONTROLINFO* info)
{
  if (!info) return E_POINTER;
  info->hAccel = nullptr;
  info->cAccel = 0;
  info->dwFlags = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::OnMnemonic(MSG*)
{
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::OnAmbientPropertyChange(DISPID)
{
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::FreezeEvents(BOOL freeze)
{
  if (freeze)
    ++FFrozenEvents;
  else if (FFrozenEvents > 0)
    --FFrozenEvents;
  return S_OK;
}

}  // namespace flash_control
