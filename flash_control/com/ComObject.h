// The IUnknown of the control's small helper objects (its class factory, its enumerators): one
// interface, a real reference count, and the module kept in use while the object lives.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <atomic>

#include "flash_control/com/Module.h"

namespace flash_control {

// `Derived` is the final class; it is created with one reference, which its creator owns.
template <class Derived, class Interface>
class TComObject : public Interface {
public:
  TComObject(const TComObject&) = delete;
  TComObject& operator=(const TComObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
  {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == __uuidof(Interface)) {
      *object = static_cast<Interface*>(this);
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
    if (refs == 0) delete static_cast<Derived*>(this);
    return refs;
  }

protected:
  TComObject() { ModuleAddRef(); }
  ~TComObject() { ModuleRelease(); }

private:
  std::atomic<ULONG> FRefs{1};
};

}  // namespace flash_control
