// The control's type library, carried by its module as resource TYPELIB 1.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace flash_control {

HRESULT LoadControlTypeLib(ITypeLib** library);
HRESULT LoadControlTypeInfo(REFGUID guid, ITypeInfo** info);

}  // namespace flash_control
