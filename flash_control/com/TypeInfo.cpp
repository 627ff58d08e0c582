#include "flash_control/com/TypeInfo.h"

#include <oleauto.h>
#include <wrl/client.h>

#include <string>

#include "flash_control/com/Module.h"

namespace flash_control {

HRESULT LoadControlTypeLib(ITypeLib** library)
{
  if (!library) return E_POINTER;
  *library = nullptr;
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(ControlModule(), path.data(), DWORD(path.size()));
    if (length == 0) return HRESULT_FROM_WIN32(GetLastError());
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return LoadTypeLibEx(path.c_str(), REGKIND_NONE, library);
}

HRESULT LoadControlTypeInfo(REFGUID guid, ITypeInfo** info)
{
  if (!info) return E_POINTER;
  *info = nullptr;
  Microsoft::WRL::ComPtr<ITypeLib> library;
  const HRESULT hr = LoadControlTypeLib(&library);
  if (FAILED(hr)) return hr;
  return library->GetTypeInfoOfGuid(guid, info);
}

}  // namespace flash_control
