#include "flash_control/server/Registration.h"

#include <oleauto.h>
#include <wrl/client.h>

#include <string>

#include "flash_control/ShockwaveFlash.h"
#include "flash_control/com/TypeInfo.h"

namespace flash_control {

namespace {

constexpr wchar_t ProgId[] = L"ShockwaveFlash.ShockwaveFlash";
constexpr wchar_t ClassName[] = L"Shockwave Flash";

std::wstring GuidText(REFGUID guid)
{
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

std::wstring ClassKey()
{
  return L"CLSID\\" + GuidText(CLSID_ShockwaveFlash);
}

// Creates the key under HKEY_CLASSES_ROOT and sets one value (the default value for an empty name).
HRESULT SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value)
{
  HKEY handle = nullptr;
  LSTATUS status = RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                   nullptr, &handle, nullptr);
  if (status == ERROR_SUCCESS) {
    status = RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            DWORD((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
  }
  return HRESULT_FROM_WIN32(status);
}

HRESULT DeleteTree(const std::wstring& key)
{
  const LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
  return status == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(status);
}

std::wstring ModulePath(HMODULE module)
{
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(module, path.data(), DWORD(path.size()));
    if (length == 0) return {};
    if (length < path.size()) return path.substr(0, length);
    path.resize(path.size() * 2);
  }
}

}  // namespace

HRESULT RegisterServer(HMODULE module)
{
  std::wstring path = ModulePath(module);
  if (path.empty()) return HRESULT_FROM_WIN32(GetLastError());
  const std::wstring classKey = ClassKey();
  const std::wstring classId = GuidText(CLSID_ShockwaveFlash);

  const struct {
    std::wstring Key;
    const wchar_t* Name;
    std::wstring Value;
  } entries[] = {
    {classKey, nullptr, ClassName},
    {classKey + L"\\InprocServer32", nullptr, path},
    {classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
    {classKey + L"\\ProgID", nullptr, ProgId},
    {classKey + L"\\TypeLib", nullptr, GuidText(LIBID_ShockwaveFlashObjects)},
    {classKey + L"\\Version", nullptr, L"1.0"},
    {classKey + L"\\Control", nullptr, L""},
    {ProgId, nullptr, ClassName},
    {std::wstring(ProgId) + L"\\CLSID", nullptr, classId},
  };
  for (const auto& entry : entries) {
    const HRESULT hr = SetValue(entry.Key, entry.Name, entry.Value);
    if (FAILED(hr)) return hr;
  }

  Microsoft::WRL::ComPtr<ITypeLib> library;
  HRESULT hr = LoadControlTypeLib(&library);
  if (SUCCEEDED(hr)) hr = RegisterTypeLib(library.Get(), path.data(), nullptr);
  return hr;
}

HRESULT UnregisterServer()
{
  HRESULT results[] = {DeleteTree(ClassKey()), DeleteTree(ProgId), S_OK};
  BSTR registered = nullptr;
  if (SUCCEEDED(
        QueryPathOfRegTypeLib(LIBID_ShockwaveFlashObjects, 1, 0, LANG_NEUTRAL, &registered))) {
    SysFreeString(registered);
    results[2] = UnRegisterTypeLib(LIBID_ShockwaveFlashObjects, 1, 0, LANG_NEUTRAL, SYS_WIN32);
  }
  for (HRESULT hr : results)
    if (FAILED(hr)) return hr;
  return S_OK;
}

}  // namespace flash_control
