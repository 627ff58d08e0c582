#include "flash_control/com/ClassFactory.h"

#include <new>

#include "flash_control/com/ComObject.h"
#include "flash_control/com/FlashControl.h"
#include "flash_control/com/Module.h"

namespace flash_control {

namespace {

class TClassFactory final : public TComObject<TClassFactory, IClassFactory> {
public:
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
