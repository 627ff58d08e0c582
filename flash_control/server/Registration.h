// Registry entries of the in-process server: the class, its ProgID and its type library.
#pragma once

#include <windows.h>

namespace flash_control {

HRESULT RegisterServer(HMODULE module);
HRESULT UnregisterServer();

}  // namespace flash_control
