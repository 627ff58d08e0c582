// A connection point for one outgoing interface of the control. It lives inside the control:
// references taken on it count on the control, which it names as its container.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <vector>

namespace flash_control {

class TConnectionPoint final : public IConnectionPoint {
public:
  TConnectionPoint(IConnectionPointContainer& container, const IID& iid);
  ~TConnectionPoint();
  TConnectionPoint(const TConnectionPoint&) = delete;
  TConnectionPoint& operator=(const TConnectionPoint&) = delete;

  const IID& Iid() const { return FIid; }

  // The connected sinks as the interface this point serves, each counted, so that firing an event
  // survives a sink that disconnects meanwhile.
  template <class I>
  std::vector<Microsoft::WRL::ComPtr<I>> Sinks() const
  {
    std::vector<Microsoft::WRL::ComPtr<I>> sinks;
    for (const TConnection& connection : FConnections)
      sinks.emplace_back(static_cast<I*>(connection.Sink.Get()));
    return sinks;
  }

  void DisconnectAll();

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IConnectionPoint
  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
  HRESULT STDMETHODCALLTYPE
  GetConnectionPointContainer(IConnectionPointContainer** container) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

private:
  struct TConnection {
    DWORD Cookie;
    // The sink as the interface of FIid.
    Microsoft::WRL::ComPtr<IUnknown> Sink;
  };

  IConnectionPointContainer& FContainer;
  const IID FIid;
  std::vector<TConnection> FConnections;
  DWORD FNextCookie = 1;
};

}  // namespace flash_control
