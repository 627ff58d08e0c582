// The class object of the control, for DllGetClassObject and for in-process registration with
// CoRegisterClassObject.
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace flash_control {

// A new class object, answering `iid` (IUnknown or IClassFactory).
HRESULT CreateClassFactory(REFIID iid, void** object);

}  // namespace flash_control
