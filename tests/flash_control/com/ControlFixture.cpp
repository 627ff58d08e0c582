#include "tests/flash_control/com/ControlFixture.h"

#include "flash_control/com/ClassFactory.h"
#include "flash_control/com/Module.h"

namespace flash_control_test {

void Pump(DWORD milliseconds)
{
  PumpUntil([] { return false; }, milliseconds);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeout)
{
  const DWORD start = GetTickCount();
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (done()) return true;
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= timeout) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, timeout - elapsed, QS_ALLINPUT);
  }
}

std::wstring TakeText(BSTR text)
{
  std::wstring result(text ? text : L"", SysStringLen(text));
  SysFreeString(text);
  return result;
}

void ControlTest::SetUp()
{
  ASSERT_EQ(S_OK, OleInitialize(nullptr));
  ComPtr<IUnknown> factory;
  ASSERT_EQ(S_OK, flash_control::CreateClassFactory(IID_PPV_ARGS(&factory)));
  ASSERT_EQ(S_OK, CoRegisterClassObject(CLSID_ShockwaveFlash, factory.Get(), CLSCTX_INPROC_SERVER,
                                        REGCLS_MULTIPLEUSE, &FFactoryCookie));
}

void ControlTest::TearDown()
{
  if (Object) {
    EXPECT_EQ(S_OK, Object->Close(OLECLOSE_NOSAVE));
    Disconnect(DIID__IShockwaveFlashEvents, FEventCookie);
    Disconnect(IID_IPropertyNotifySink, FPropertyCookie);
    EXPECT_EQ(S_OK, Object->SetClientSite(nullptr));
  }
  Object.Reset();
  Flash.Reset();
  if (FFactoryCookie) CoRevokeClassObject(FFactoryCookie);
  // Messages the control posted to itself must not outlive it.
  Pump(0);
  EXPECT_EQ(0, Site.Refs()) << "references on the site";
  EXPECT_EQ(0, Events.Refs()) << "references on the event sink";
  EXPECT_EQ(0, Properties.Refs()) << "references on the property sink";
  EXPECT_FALSE(flash_control::ModuleInUse()) << "a control, class object or enumerator still lives";
  OleUninitialize();
}

void ControlTest::CreateControl()
{
  ASSERT_EQ(S_OK, CoCreateInstance(CLSID_ShockwaveFlash, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_PPV_ARGS(&Flash)));
  ASSERT_EQ(S_OK, Flash.As(&Object));
  Site.Object = Flash.Get();
  ASSERT_EQ(S_OK, Object->SetClientSite(&Site));
  ComPtr<IPersistStreamInit> persist;
  ASSERT_EQ(S_OK, Flash.As(&persist));
  ASSERT_EQ(S_OK, persist->InitNew());
  Connect(DIID__IShockwaveFlashEvents, static_cast<IDispatch*>(&Events), FEventCookie);
  Connect(IID_IPropertyNotifySink, &Properties, FPropertyCookie);
}

void ControlTest::ActivateWindowless()
{
  ASSERT_EQ(S_OK,
            Object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &Site, 0, nullptr, &Site.Position));
}

void ControlTest::LoadMovie(const std::wstring& url)
{
  BSTR text = SysAllocString(url.c_str());
  const HRESULT hr = Flash->put_Movie(text);
  SysFreeString(text);
  ASSERT_EQ(S_OK, hr);
  ASSERT_TRUE(PumpUntil([this] { return ReadyState() == 4; }));
}

LONG ControlTest::ReadyState()
{
  LONG state = -1;
  EXPECT_EQ(S_OK, Flash->get_ReadyState(&state));
  return state;
}

std::wstring ControlTest::Variable(const wchar_t* name)
{
  BSTR text = SysAllocString(name), value = nullptr;
  EXPECT_EQ(S_OK, Flash->GetVariable(text, &value));
  SysFreeString(text);
  return TakeText(value);
}

void ControlTest::Connect(REFIID iid, IUnknown* sink, DWORD& cookie)
{
  ComPtr<IConnectionPointContainer> container;
  ASSERT_EQ(S_OK, Flash.As(&container));
  ComPtr<IConnectionPoint> point;
  ASSERT_EQ(S_OK, container->FindConnectionPoint(iid, &point));
  ASSERT_EQ(S_OK, point->Advise(sink, &cookie));
}

void ControlTest::Disconnect(REFIID iid, DWORD& cookie)
{
  if (!cookie) return;
  ComPtr<IConnectionPointContainer> container;
  ComPtr<IConnectionPoint> point;
  if (SUCCEEDED(Flash.As(&container)) && SUCCEEDED(container->FindConnectionPoint(iid, &point))) {
    EXPECT_EQ(S_OK, point->Unadvise(cookie));
  }
  cookie = 0;
}

}  // namespace flash_control_test
