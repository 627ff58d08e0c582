#include "flash_control/com/ClassFactory.h"

#include <atomic>
#include <new>

#include "flash_control/com/FlashControl.h"
#include "flash_control/com/Module.h"

namespace flash_control {

namespace {

class TClassFactory final : public IClassFactory {
public:
  TClassFactory() { ModuleAddRef(); }
  ~TClassFactory() { ModuleRelease(); }
  TClassFactory(const TClassFactory&) = delete;
  TClassFactory& operator=(const TClassFactory&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
  {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *object = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }

  ULONG STDMETHODCALLTYPE AddRef() override { return ++FRefs; }

  ULONG STDMETHODCALLTYPE Release() override
  {
    const ULONG refs = --FRefs;
    if (refs == 0) delete this;
    return refs;
  }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override
  {
    return TFlashControl::Create(outer, iid, object);
  }

  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
  {
    if (lock)
      ModuleAddRef();
    else
      ModuleRelease();
    return S_OK;
  }

private:
  std::atomic<ULONG> FRefs{1};
};

}  // namespace

HRESULT CreateClassFactory(REFIID iid, void** object)
{
  if (!object) return E_POINTER;
  *object = nullptr;
  auto* factory = new (std::nothrow) TClassFactory();
  if (!factory) return E_OUTOFMEMORY;
  const HRESULT hr = factory->QueryInterface(iid, object);
  factory->Release();
  return hr;
}

}  // namespace flash_control
