// The four entry points of the in-process server.
#include <windows.h>
#include <unknwn.h>

#include "flash_control/ShockwaveFlash.h"
#include "flash_control/com/ClassFactory.h"
#include "flash_control/com/Module.h"
#include "flash_control/server/Registration.h"

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object)
{
  if (!object) return E_POINTER;
  *object = nullptr;
  if (clsid != CLSID_ShockwaveFlash) return CLASS_E_CLASSNOTAVAILABLE;
  return flash_control::CreateClassFactory(iid, object);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
  return flash_control::ModuleInUse() ? S_FALSE : S_OK;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer()
{
  return flash_control::RegisterServer(flash_control::ControlModule());
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer()
{
  return flash_control::UnregisterServer();
}
