// The in-process server: registration in the test prefix's registry, creation through it, the
// type library it registers, unregistration, and in-process registration of the class object.
#include "tests/flash_control/com/ControlFixture.h"

namespace flash_control_test {

namespace {

using ServerFunction = HRESULT(STDAPICALLTYPE*)();

// The server DLL, copied beside the test program by the build.
class TServer {
public:
  TServer() : FModule(LoadLibraryW(L"FlashControl.dll")) {}
  ~TServer()
  {
    if (FModule) FreeLibrary(FModule);
  }
  HMODULE Module() const { return FModule; }
  // An export, untyped: the caller casts it to its type.
  void (*Procedure(const char* name) const)()
  {
    return reinterpret_cast<void (*)()>(GetProcAddress(FModule, name));
  }
  HRESULT Call(const char* name) const
  {
    auto function = reinterpret_cast<ServerFunction>(Procedure(name));
    return function ? function() : E_NOTIMPL;
  }

private:
  HMODULE FModule;
};

std::wstring ReadValue(const std::wstring& key, const wchar_t* name)
{
  wchar_t value[MAX_PATH] = {};
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS)
    return L"<missing>";
  return value;
}

HMODULE ModuleOf(void* address)
{
  HMODULE module = nullptr;
  GetModuleHandleExW(
    GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
    static_cast<LPCWSTR>(address), &module);
  return module;
}

// Only OLE: the class is found through the registry, not through a class object of this program.
class ServerTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_EQ(S_OK, OleInitialize(nullptr)); }
  void TearDown() override { OleUninitialize(); }
};

using RegistrationTest = ControlTest;

}  // namespace

TEST_F(ServerTest, RegisteredServerCreatesTheControlThroughTheRegistry)
{
  const TServer server;
  ASSERT_TRUE(server.Module());
  ASSERT_EQ(S_OK, server.Call("DllRegisterServer"));

  const std::wstring classKey = L"CLSID\\{D27CDB6E-AE6D-11CF-96B8-444553540000}";
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(server.Module(), path, MAX_PATH);
  EXPECT_EQ(path, ReadValue(classKey + L"\\InprocServer32", nullptr));
  EXPECT_EQ(L"Apartment", ReadValue(classKey + L"\\InprocServer32", L"ThreadingModel"));
  EXPECT_EQ(L"ShockwaveFlash.ShockwaveFlash", ReadValue(classKey + L"\\ProgID", nullptr));
  CLSID clsid{};
  ASSERT_EQ(S_OK, CLSIDFromProgID(L"ShockwaveFlash.ShockwaveFlash", &clsid));
  EXPECT_EQ(CLSID_ShockwaveFlash, clsid);

  // COM loads the registered DLL: the object's code lives there, not in this program.
  ComPtr<IShockwaveFlash> flash;
  ASSERT_EQ(S_OK, CoCreateInstance(CLSID_ShockwaveFlash, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_PPV_ARGS(&flash)));
  EXPECT_EQ(server.Module(), ModuleOf(*reinterpret_cast<void**>(flash.Get())));
  EXPECT_EQ(S_FALSE, server.Call("DllCanUnloadNow"));
  LONG state = 0;
  EXPECT_EQ(S_OK, flash->get_ReadyState(&state));
  flash.Reset();
  EXPECT_EQ(S_OK, server.Call("DllCanUnloadNow"));

  // The type library is registered and loads from the DLL's resource.
  ComPtr<ITypeLib> library;
  ASSERT_EQ(S_OK, LoadRegTypeLib(LIBID_ShockwaveFlashObjects, 1, 0, LANG_NEUTRAL, &library));
  ComPtr<ITypeInfo> events;
  EXPECT_EQ(S_OK, library->GetTypeInfoOfGuid(DIID__IShockwaveFlashEvents, &events));

  ASSERT_EQ(S_OK, server.Call("DllUnregisterServer"));
  EXPECT_EQ(L"<missing>", ReadValue(classKey + L"\\InprocServer32", nullptr));
  EXPECT_NE(S_OK, CLSIDFromProgID(L"ShockwaveFlash.ShockwaveFlash", &clsid));
  EXPECT_EQ(REGDB_E_CLASSNOTREG, CoCreateInstance(CLSID_ShockwaveFlash, nullptr,
                                                  CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&flash)));
  EXPECT_EQ(S_OK, server.Call("DllUnregisterServer")) << "unregistering twice is harmless";
  CoFreeUnusedLibraries();
}

TEST_F(ServerTest, TheClassObjectServesOnlyItsClass)
{
  const TServer server;
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  auto get = reinterpret_cast<GetClassObject>(server.Procedure("DllGetClassObject"));
  ASSERT_TRUE(get);
  ComPtr<IClassFactory> factory;
  EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, get(IID_IUnknown, IID_PPV_ARGS(&factory)));
  ASSERT_EQ(S_OK, get(CLSID_ShockwaveFlash, IID_PPV_ARGS(&factory)));

  ComPtr<IUnknown> object;
  EXPECT_EQ(CLASS_E_NOAGGREGATION,
            factory->CreateInstance(factory.Get(), IID_IUnknown,
                                    reinterpret_cast<void**>(object.GetAddressOf())));
  EXPECT_EQ(E_NOINTERFACE,
            factory->CreateInstance(nullptr, IID_IOleClientSite,
                                    reinterpret_cast<void**>(object.GetAddressOf())));
  EXPECT_EQ(S_OK, factory->LockServer(TRUE));
  factory.Reset();
  EXPECT_EQ(S_FALSE, server.Call("DllCanUnloadNow")) << "a server lock keeps the DLL";
  ASSERT_EQ(S_OK, get(CLSID_ShockwaveFlash, IID_PPV_ARGS(&factory)));
  EXPECT_EQ(S_OK, factory->LockServer(FALSE));
  factory.Reset();
  EXPECT_EQ(S_OK, server.Call("DllCanUnloadNow"));
}

TEST_F(RegistrationTest, InProcessRegistrationCreatesTheControl)
{
  // The fixture registered this program's class object with CoRegisterClassObject.
  CreateControl();
  EXPECT_EQ(GetModuleHandleW(nullptr), ModuleOf(*reinterpret_cast<void**>(Flash.Get())));
}

}  // namespace flash_control_test
