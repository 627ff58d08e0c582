// Lifetime, the interface chain, connection points, property changes and events.
#include "flash_control/com/FlashControl.h"

#include <new>

#include "flash_control/com/Bstr.h"
#include "flash_control/com/Enumerator.h"
#include "flash_control/com/FlashControlWindows.h"
#include "flash_control/com/Module.h"
#include "flash_control/com/TypeInfo.h"

using Microsoft::WRL::ComPtr;

namespace flash_control {

HRESULT TFlashControl::Create(IUnknown* outer, REFIID iid, void** object)
{
  if (!object) return E_POINTER;
  *object = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  auto* control = new (std::nothrow) TFlashControl();
  if (!control) return E_OUTOFMEMORY;
  HRESULT hr = control->Initialize();
  if (SUCCEEDED(hr)) hr = control->QueryInterface(iid, object);
  control->Release();
  return hr;
}

TFlashControl::TFlashControl()
  : FEvents(*this, DIID__IShockwaveFlashEvents), FPropertySinks(*this, IID_IPropertyNotifySink)
{
  ModuleAddRef();
}

TFlashControl::~TFlashControl()
{
  StopFrameTimer();
  FPlayer.reset();
  FMessages.reset();
  FWindow.reset();
  FEvents.DisconnectAll();
  FPropertySinks.DisconnectAll();
  ModuleRelease();
}

ComPtr<IUnknown> TFlashControl::KeepAlive()
{
  return ComPtr<IUnknown>(static_cast<IShockwaveFlash*>(this));
}

// IUnknown

HRESULT STDMETHODCALLTYPE TFlashControl::QueryInterface(REFIID iid, void** object)
{
  if (!object) return E_POINTER;
  // Interfaces that share a base are reached through the branch that implements them, so each
  // pointer carries the vtable its interface expects.
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IShockwaveFlash)
    *object = static_cast<IShockwaveFlash*>(this);
  else if (iid == IID_IOleObject)
    *object = static_cast<IOleObject*>(this);
  else if (iid == IID_IOleControl)
    *object = static_cast<IOleControl*>(this);
  else if (iid == IID_IPersist || iid == IID_IPersistStreamInit)
    *object = static_cast<IPersistStreamInit*>(this);
  else if (iid == IID_IConnectionPointContainer)
    *object = static_cast<IConnectionPointContainer*>(this);
  else if (iid == IID_IProvideClassInfo)
    *object = static_cast<IProvideClassInfo*>(this);
  else if (iid == IID_IOleWindow)
    *object = static_cast<IOleWindow*>(static_cast<IOleInPlaceObject*>(this));
  else if (iid == IID_IOleInPlaceObject)
    *object = static_cast<IOleInPlaceObject*>(static_cast<IOleInPlaceObjectWindowless*>(this));
  else if (iid == IID_IOleInPlaceObjectWindowless)
    *object = static_cast<IOleInPlaceObjectWindowless*>(this);
  else if (iid == IID_IOleInPlaceActiveObject)
    *object = static_cast<IOleInPlaceActiveObject*>(this);
  else if (iid == IID_IViewObject)
    *object = static_cast<IViewObject*>(static_cast<IViewObject2*>(this));
  else if (iid == IID_IViewObject2)
    *object = static_cast<IViewObject2*>(this);
  else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG STDMETHODCALLTYPE TFlashControl::AddRef()
{
  return ++FRefs;
}

ULONG STDMETHODCALLTYPE TFlashControl::Release()
{
  const ULONG refs = --FRefs;
  if (refs == 0) delete this;
  return refs;
}

// IConnectionPointContainer

HRESULT STDMETHODCALLTYPE TFlashControl::EnumConnectionPoints(IEnumConnectionPoints** points)
{
  std::vector<IConnectionPoint*> items{AddRefItem(&FEvents), AddRefItem(&FPropertySinks)};
  return TEnumerator<IEnumConnectionPoints, IConnectionPoint*>::Create(
    std::move(items), static_cast<IConnectionPointContainer*>(this), points);
}

HRESULT STDMETHODCALLTYPE TFlashControl::FindConnectionPoint(REFIID iid, IConnectionPoint** point)
{
  if (!point) return E_POINTER;
  *point = nullptr;
  for (TConnectionPoint* candidate : {&FEvents, &FPropertySinks}) {
    if (candidate->Iid() == iid) {
      *point = candidate;
      candidate->AddRef();
      return S_OK;
    }
  }
  return CONNECT_E_NOCONNECTION;
}

// IProvideClassInfo

HRESULT STDMETHODCALLTYPE TFlashControl::GetClassInfo(ITypeInfo** info)
{
  return LoadControlTypeInfo(CLSID_ShockwaveFlash, info);
}

// Property changes

void TFlashControl::PropertyChanged(DISPID id)
{
  const ComPtr<IUnknown> self = KeepAlive();
  for (const ComPtr<IPropertyNotifySink>& sink : FPropertySinks.Sinks<IPropertyNotifySink>())
    sink->OnChanged(id);
}

bool TFlashControl::SetStateText(TStateSlot slot, std::u16string_view text, DISPID id)
{
  if (!FState.SetText(slot, text)) return false;
  FDirty = true;
  PropertyChanged(id);
  return true;
}

bool TFlashControl::SetStateBoolean(TStateSlot slot, bool value, DISPID id)
{
  if (!FState.SetBoolean(slot, value)) return false;
  FDirty = true;
  PropertyChanged(id);
  return true;
}

// Events

void TFlashControl::FireEvent(DISPID id, const std::vector<VARIANT>& arguments)
{
  if (FFrozenEvents > 0) return;
  const ComPtr<IUnknown> self = KeepAlive();
  // Dispatch arguments run from the last to the first.
  std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
  DISPPARAMS params{reversed.data(), nullptr, UINT(reversed.size()), 0};
  for (const ComPtr<IDispatch>& sink : FEvents.Sinks<IDispatch>())
    sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr,
                 nullptr);
}

void TFlashControl::FireNumberEvent(DISPID id, LONG value)
{
  VARIANT argument;
  V_VT(&argument) = VT_I4;
  V_I4(&argument) = value;
  FireEvent(id, {argument});
}

void TFlashControl::FireFSCommand(const std::u16string& command, const std::u16string& arguments)
{
  std::vector<VARIANT> values(2);
  for (VARIANT& value : values) V_VT(&value) = VT_BSTR;
  V_BSTR(&values[0]) = ToBstr(command);
  V_BSTR(&values[1]) = ToBstr(arguments);
  FireEvent(150, values);
  for (VARIANT& value : values) VariantClear(&value);
}

void TFlashControl::SetReadyState(LONG state)
{
  if (state == FReadyState) return;
  FReadyState = state;
  PropertyChanged(DISPID_READYSTATE);
  FireNumberEvent(DISPID_READYSTATECHANGE, state);
}

}  // namespace flash_control
