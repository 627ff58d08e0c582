#include "tests/flash_control/com/TestSite.h"

#include <algorithm>

#include "flash_control/ShockwaveFlash.h"

namespace flash_control_test {

// TTestSite

int TTestSite::Count(const std::string& call) const
{
  return int(std::count(Calls.begin(), Calls.end(), call));
}

bool TTestSite::CalledInOrder(const std::vector<std::string>& calls) const
{
  auto at = Calls.begin();
  for (const std::string& call : calls) {
    at = std::find(at, Calls.end(), call);
    if (at == Calls.end()) return false;
    ++at;
  }
  return true;
}

HRESULT TTestSite::Record(const char* call, HRESULT result)
{
  Calls.push_back(call);
  return result;
}

void TTestSite::TakeView()
{
  if (Object) Object->QueryInterface(IID_PPV_ARGS(&View));
}

HRESULT STDMETHODCALLTYPE TTestSite::QueryInterface(REFIID iid, void** object)
{
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IOleClientSite)
    *object = static_cast<IOleClientSite*>(this);
  else if (iid == IID_IOleWindow)
    *object = static_cast<IOleWindow*>(static_cast<IOleInPlaceSite*>(this));
  else if (iid == IID_IOleInPlaceSite)
    *object = static_cast<IOleInPlaceSite*>(this);
  else if (Windowless && iid == IID_IOleInPlaceSiteEx)
    *object = static_cast<IOleInPlaceSiteEx*>(this);
  else if (Windowless && iid == IID_IOleInPlaceSiteWindowless)
    *object = static_cast<IOleInPlaceSiteWindowless*>(this);
  else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TTestSite::SaveObject()
{
  return Record("SaveObject");
}

HRESULT STDMETHODCALLTYPE TTestSite::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
  if (moniker) *moniker = nullptr;
  return Record("GetMoniker", E_NOTIMPL);
}

HRESULT STDMETHODCALLTYPE TTestSite::GetContainer(IOleContainer** container)
{
  if (container) *container = nullptr;
  return Record("GetContainer", E_NOINTERFACE);
}

HRESULT STDMETHODCALLTYPE TTestSite::ShowObject()
{
  return Record("ShowObject");
}
HRESULT STDMETHODCALLTYPE TTestSite::OnShowWindow(BOOL)
{
  return Record("OnShowWindow");
}
HRESULT STDMETHODCALLTYPE TTestSite::RequestNewObjectLayout()
{
  return Record("RequestNewObjectLayout", E_NOTIMPL);
}

HRESULT STDMETHODCALLTYPE TTestSite::GetWindow(HWND* window)
{
  Record("GetWindow");
  if (!window) return E_POINTER;
  *window = Window;
  return Window ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE TTestSite::ContextSensitiveHelp(BOOL)
{
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TTestSite::CanInPlaceActivate()
{
  return Record("CanInPlaceActivate", AllowInPlace ? S_OK : S_FALSE);
}

HRESULT STDMETHODCALLTYPE TTestSite::OnInPlaceActivate()
{
  TakeView();
  return Record("OnInPlaceActivate");
}

HRESULT STDMETHODCALLTYPE TTestSite::OnUIActivate()
{
  return Record("OnUIActivate");
}

HRESULT STDMETHODCALLTYPE TTestSite::GetWindowContext(IOleInPlaceFrame** frame,
                                                      IOleInPlaceUIWindow** document,
                                                      LPRECT position, LPRECT clip,
                                                      LPOLEINPLACEFRAMEINFO info)
{
  Record("GetWindowContext");
  if (!frame || !document || !position || !clip || !info) return E_POINTER;
  *frame = nullptr;
  *document = nullptr;
  *position = Position;
  *clip = Position;
  info->fMDIApp = FALSE;
  info->hwndFrame = Window;
  info->haccel = nullptr;
  info->cAccelEntries = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TTestSite::Scroll(SIZE)
{
  return Record("Scroll", E_NOTIMPL);
}
HRESULT STDMETHODCALLTYPE TTestSite::OnUIDeactivate(BOOL)
{
  return Record("OnUIDeactivate");
}

HRESULT STDMETHODCALLTYPE TTestSite::OnInPlaceDeactivate()
{
  View.Reset();
  return Record("OnInPlaceDeactivate");
}

HRESULT STDMETHODCALLTYPE TTestSite::DiscardUndoState()
{
  return Record("DiscardUndoState", E_NOTIMPL);
}
HRESULT STDMETHODCALLTYPE TTestSite::DeactivateAndUndo()
{
  return Record("DeactivateAndUndo");
}
HRESULT STDMETHODCALLTYPE TTestSite::OnPosRectChange(LPCRECT)
{
  return Record("OnPosRectChange");
}

HRESULT STDMETHODCALLTYPE TTestSite::OnInPlaceActivateEx(BOOL* noRedraw, DWORD flags)
{
  Record("OnInPlaceActivateEx");
  if (noRedraw) *noRedraw = FALSE;
  if (!(flags & ACTIVATE_WINDOWLESS)) return E_INVALIDARG;
  TakeView();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TTestSite::OnInPlaceDeactivateEx(BOOL)
{
  View.Reset();
  return Record("OnInPlaceDeactivateEx");
}

HRESULT STDMETHODCALLTYPE TTestSite::RequestUIActivate()
{
  return Record("RequestUIActivate");
}
HRESULT STDMETHODCALLTYPE TTestSite::CanWindowlessActivate()
{
  return Record("CanWindowlessActivate");
}

HRESULT STDMETHODCALLTYPE TTestSite::GetCapture()
{
  return Record("GetCapture", Captured ? S_OK : S_FALSE);
}

HRESULT STDMETHODCALLTYPE TTestSite::SetCapture(BOOL capture)
{
  Captured = capture != FALSE;
  CaptureRequests.push_back(Captured);
  return Record("SetCapture");
}

HRESULT STDMETHODCALLTYPE TTestSite::GetFocus()
{
  return Record("GetFocus");
}
HRESULT STDMETHODCALLTYPE TTestSite::SetFocus(BOOL)
{
  return Record("SetFocus");
}

HRESULT STDMETHODCALLTYPE TTestSite::GetDC(LPCRECT, DWORD, HDC* dc)
{
  if (dc) *dc = nullptr;
  return Record("GetDC", E_NOTIMPL);
}

HRESULT STDMETHODCALLTYPE TTestSite::ReleaseDC(HDC)
{
  return Record("ReleaseDC", E_NOTIMPL);
}

HRESULT STDMETHODCALLTYPE TTestSite::InvalidateRect(LPCRECT rect, BOOL)
{
  Record("InvalidateRect");
  Invalidated.push_back(rect ? std::optional<RECT>(*rect) : std::nullopt);
  if (OnInvalidate) OnInvalidate(rect);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TTestSite::InvalidateRgn(HRGN, BOOL)
{
  return Record("InvalidateRgn");
}
HRESULT STDMETHODCALLTYPE TTestSite::ScrollRect(INT, INT, LPCRECT, LPCRECT)
{
  return Record("ScrollRect");
}
HRESULT STDMETHODCALLTYPE TTestSite::AdjustRect(LPRECT)
{
  return Record("AdjustRect");
}

HRESULT STDMETHODCALLTYPE TTestSite::OnDefWindowMessage(UINT, WPARAM, LPARAM, LRESULT* result)
{
  if (result) *result = 0;
  return Record("OnDefWindowMessage", S_FALSE);
}

// TEventSink

std::vector<TEvent> TEventSink::Take()
{
  std::vector<TEvent> events;
  events.swap(Events);
  return events;
}

HRESULT STDMETHODCALLTYPE TEventSink::QueryInterface(REFIID iid, void** object)
{
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID__IShockwaveFlashEvents) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE TEventSink::GetTypeInfoCount(UINT* count)
{
  if (count) *count = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TEventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE TEventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE TEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params,
                                             VARIANT*, EXCEPINFO*, UINT*)
{
  TEvent event{id, {}};
  for (UINT i = params->cArgs; i-- > 0;) {
    VARIANT text;
    VariantInit(&text);
    VariantChangeType(&text, &params->rgvarg[i], 0, VT_BSTR);
    event.Arguments.emplace_back(V_BSTR(&text) ? V_BSTR(&text) : L"");
    VariantClear(&text);
  }
  Events.push_back(event);
  if (OnEvent) OnEvent(event);
  return S_OK;
}

// TPropertySink

HRESULT STDMETHODCALLTYPE TPropertySink::QueryInterface(REFIID iid, void** object)
{
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IPropertyNotifySink) {
    *object = static_cast<IPropertyNotifySink*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE TPropertySink::OnChanged(DISPID id)
{
  Changed.push_back(id);
  return S_OK;
}

}  // namespace flash_control_test
