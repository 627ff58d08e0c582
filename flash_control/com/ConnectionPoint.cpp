#include "flash_control/com/ConnectionPoint.h"

#include <olectl.h>

#include <algorithm>

#include "flash_control/com/Enumerator.h"

namespace flash_control {

TConnectionPoint::TConnectionPoint(IConnectionPointContainer& container, const IID& iid)
  : FContainer(container), FIid(iid)
{
}

TConnectionPoint::~TConnectionPoint() = default;

void TConnectionPoint::DisconnectAll()
{
  // Releasing a sink may call back into the control; the list is already empty by then.
  std::vector<TConnection> connections;
  connections.swap(FConnections);
}

HRESULT STDMETHODCALLTYPE TConnectionPoint::QueryInterface(REFIID iid, void** object)
{
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IConnectionPoint) {
    *object = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE TConnectionPoint::AddRef()
{
  return FContainer.AddRef();
}

ULONG STDMETHODCALLTYPE TConnectionPoint::Release()
{
  return FContainer.Release();
}

HRESULT STDMETHODCALLTYPE TConnectionPoint::GetConnectionInterface(IID* iid)
{
  if (!iid) return E_POINTER;
  *iid = FIid;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE
TConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container)
{
  if (!container) return E_POINTER;
  *container = &FContainer;
  FContainer.AddRef();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TConnectionPoint::Advise(IUnknown* sink, DWORD* cookie)
{
  if (!cookie) return E_POINTER;
  *cookie = 0;
  if (!sink) return E_POINTER;
  Microsoft::WRL::ComPtr<IUnknown> served;
  if (FAILED(sink->QueryInterface(FIid, reinterpret_cast<void**>(served.GetAddressOf()))))
    return CONNECT_E_CANNOTCONNECT;
  *cookie = FNextCookie++;
  FConnections.push_back({*cookie, std::move(served)});
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TConnectionPoint::Unadvise(DWORD cookie)
{
  const auto it = std::find_if(FConnections.begin(), FConnections.end(),
                               [cookie](const TConnection& c) { return c.Cookie == cookie; });
  if (it == FConnections.end()) return CONNECT_E_NOCONNECTION;
  // Take the sink out first: its release may reach back into this point.
  Microsoft::WRL::ComPtr<IUnknown> sink = std::move(it->Sink);
  FConnections.erase(it);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TConnectionPoint::EnumConnections(IEnumConnections** connections)
{
  std::vector<CONNECTDATA> items;
  for (const TConnection& connection : FConnections)
    items.push_back(AddRefItem(CONNECTDATA{connection.Sink.Get(), connection.Cookie}));
  return TEnumerator<IEnumConnections, CONNECTDATA>::Create(std::move(items), &FContainer,
                                                            connections);
}

}  // namespace flash_control
