// The control's interfaces: what QueryInterface answers, that each answer carries its own vtable,
// the dual interface's published layout, dispatch through the type library and connection points.
#include <olectl.h>

#include "tests/flash_control/com/ControlFixture.h"

namespace flash_control_test {

namespace {

using InterfacesTest = ControlTest;

ComPtr<IUnknown> Query(IUnknown* object, REFIID iid)
{
  ComPtr<IUnknown> answer;
  object->QueryInterface(iid, reinterpret_cast<void**>(answer.GetAddressOf()));
  return answer;
}

template <class I>
ComPtr<I> As(IUnknown* object)
{
  ComPtr<I> answer;
  EXPECT_EQ(S_OK, object->QueryInterface(IID_PPV_ARGS(&answer)));
  return answer;
}

}  // namespace

TEST_F(InterfacesTest, EachAnswerIsTheSameObjectAndCallsThroughItsOwnVtable)
{
  CreateControl();
  ComPtr<IUnknown> identity = Query(Flash.Get(), IID_IUnknown);
  ASSERT_TRUE(identity);

  // Each call below reaches a method that only the right vtable has at that slot: a pointer to a
  // sibling interface that shares the base would answer differently.
  const struct {
    const char* name;
    const IID& iid;
    std::function<void(IUnknown*)> call;
  } interfaces[] = {
    {"IDispatch", IID_IDispatch,
     [](IUnknown* p) {
       UINT count = 0;
       EXPECT_EQ(S_OK, static_cast<IDispatch*>(p)->GetTypeInfoCount(&count));
       EXPECT_EQ(1u, count);
     }},
    {"IShockwaveFlash", IID_IShockwaveFlash,
     [](IUnknown* p) {
       LONG version = 0;
       EXPECT_EQ(S_OK, static_cast<IShockwaveFlash*>(p)->FlashVersion(&version));
       EXPECT_EQ(8, HIWORD(version));
     }},
    {"IOleObject", IID_IOleObject,
     [](IUnknown* p) {
       DWORD status = 0;
       EXPECT_EQ(S_OK, static_cast<IOleObject*>(p)->GetMiscStatus(DVASPECT_CONTENT, &status));
       EXPECT_TRUE(status & OLEMISC_SETCLIENTSITEFIRST);
     }},
    {"IOleControl", IID_IOleControl,
     [](IUnknown* p) {
       CONTROLINFO info{};
       info.cb = sizeof info;
       EXPECT_EQ(S_OK, static_cast<IOleControl*>(p)->GetControlInfo(&info));
       EXPECT_EQ(0, info.cAccel);
     }},
    {"IPersist", IID_IPersist,
     [](IUnknown* p) {
       CLSID clsid{};
       EXPECT_EQ(S_OK, static_cast<IPersist*>(p)->GetClassID(&clsid));
       EXPECT_EQ(CLSID_ShockwaveFlash, clsid);
     }},
    {"IPersistStreamInit", IID_IPersistStreamInit,
     [](IUnknown* p) { EXPECT_EQ(S_FALSE, static_cast<IPersistStreamInit*>(p)->IsDirty()); }},
    {"IConnectionPointContainer", IID_IConnectionPointContainer,
     [](IUnknown* p) {
       ComPtr<IEnumConnectionPoints> points;
       EXPECT_EQ(S_OK, static_cast<IConnectionPointContainer*>(p)->EnumConnectionPoints(&points));
       IConnectionPoint* found[3] = {};
       ULONG fetched = 0;
       EXPECT_EQ(S_FALSE, points->Next(3, found, &fetched));
       EXPECT_EQ(2u, fetched);
       for (ULONG i = 0; i < fetched; ++i) found[i]->Release();
     }},
    {"IProvideClassInfo", IID_IProvideClassInfo,
     [](IUnknown* p) {
       ComPtr<ITypeInfo> info;
       ASSERT_EQ(S_OK, static_cast<IProvideClassInfo*>(p)->GetClassInfo(&info));
       TYPEATTR* attributes = nullptr;
       ASSERT_EQ(S_OK, info->GetTypeAttr(&attributes));
       EXPECT_EQ(TKIND_COCLASS, attributes->typekind);
       EXPECT_EQ(CLSID_ShockwaveFlash, attributes->guid);
       info->ReleaseTypeAttr(attributes);
     }},
    {"IOleWindow", IID_IOleWindow,
     [](IUnknown* p) {
       HWND window = HWND(1);
       EXPECT_EQ(E_FAIL, static_cast<IOleWindow*>(p)->GetWindow(&window));
       EXPECT_EQ(nullptr, window);
     }},
    {"IOleInPlaceObject", IID_IOleInPlaceObject,
     [](IUnknown* p) {
       EXPECT_EQ(INPLACE_E_NOTUNDOABLE, static_cast<IOleInPlaceObject*>(p)->ReactivateAndUndo());
     }},
    {"IOleInPlaceObjectWindowless", IID_IOleInPlaceObjectWindowless,
     [](IUnknown* p) {
       IDropTarget* target = reinterpret_cast<IDropTarget*>(1);
       EXPECT_EQ(E_NOTIMPL, static_cast<IOleInPlaceObjectWindowless*>(p)->GetDropTarget(&target));
       EXPECT_EQ(nullptr, target);
     }},
    {"IOleInPlaceActiveObject", IID_IOleInPlaceActiveObject,
     [](IUnknown* p) {
       MSG message{};
       EXPECT_EQ(S_FALSE, static_cast<IOleInPlaceActiveObject*>(p)->TranslateAccelerator(&message));
     }},
    {"IViewObject", IID_IViewObject,
     [](IUnknown* p) {
       LOGPALETTE* palette = reinterpret_cast<LOGPALETTE*>(1);
       EXPECT_EQ(S_FALSE, static_cast<IViewObject*>(p)->GetColorSet(DVASPECT_CONTENT, -1, nullptr,
                                                                    nullptr, nullptr, &palette));
       EXPECT_EQ(nullptr, palette);
     }},
    {"IViewObject2", IID_IViewObject2,
     [](IUnknown* p) {
       SIZEL size{};
       EXPECT_EQ(S_OK,
                 static_cast<IViewObject2*>(p)->GetExtent(DVASPECT_CONTENT, -1, nullptr, &size));
       EXPECT_EQ(5080, size.cx);
     }},
  };
  for (const auto& entry : interfaces) {
    SCOPED_TRACE(entry.name);
    ComPtr<IUnknown> answer = Query(Flash.Get(), entry.iid);
    ASSERT_TRUE(answer);
    EXPECT_EQ(identity, Query(answer.Get(), IID_IUnknown));
    entry.call(answer.Get());
  }
}

TEST_F(InterfacesTest, AnswersNothingItDoesNotImplement)
{
  CreateControl();
  const IID* absent[] = {&IID_IPersistStream,
                         &IID_IPersistStorage,
                         &IID_IPersistPropertyBag,
                         &IID_IQuickActivate,
                         &IID_IViewObjectEx,
                         &IID_IDataObject,
                         &IID_IOleCache,
                         &IID_IRunnableObject,
                         &IID_IExternalConnection,
                         &IID_IPointerInactive,
                         &IID_IOleInPlaceSite,
                         &IID_IProvideClassInfo2,
                         &IID_IPerPropertyBrowsing,
                         &IID_ISpecifyPropertyPages};
  for (const IID* iid : absent) {
    void* answer = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, Flash->QueryInterface(*iid, &answer));
    EXPECT_EQ(nullptr, answer);
  }
}

TEST_F(InterfacesTest, TheDualInterfaceHasThePublishedLayout)
{
  CreateControl();
  ComPtr<ITypeInfo> info;
  ASSERT_EQ(S_OK, Flash->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info));
  // Slot by slot after IDispatch's seven: name, dispatch identifier, get (g), put (p) or method
  // (m).
  const struct {
    const wchar_t* name;
    DISPID id;
    char kind;
  } slots[] = {
    {L"ReadyState", -525, 'g'},
    {L"TotalFrames", 124, 'g'},
    {L"Playing", 125, 'g'},
    {L"Playing", 125, 'p'},
    {L"Quality", 105, 'g'},
    {L"Quality", 105, 'p'},
    {L"ScaleMode", 120, 'g'},
    {L"ScaleMode", 120, 'p'},
    {L"AlignMode", 121, 'g'},
    {L"AlignMode", 121, 'p'},
    {L"BackgroundColor", 123, 'g'},
    {L"BackgroundColor", 123, 'p'},
    {L"Loop", 106, 'g'},
    {L"Loop", 106, 'p'},
    {L"Movie", 102, 'g'},
    {L"Movie", 102, 'p'},
    {L"FrameNum", 107, 'g'},
    {L"FrameNum", 107, 'p'},
    {L"SetZoomRect", 109, 'm'},
    {L"Zoom", 118, 'm'},
    {L"Pan", 119, 'm'},
    {L"Play", 112, 'm'},
    {L"Stop", 113, 'm'},
    {L"Back", 114, 'm'},
    {L"Forward", 115, 'm'},
    {L"Rewind", 116, 'm'},
    {L"StopPlay", 126, 'm'},
    {L"GotoFrame", 127, 'm'},
    {L"CurrentFrame", 128, 'm'},
    {L"IsPlaying", 129, 'm'},
    {L"PercentLoaded", 130, 'm'},
    {L"FrameLoaded", 131, 'm'},
    {L"FlashVersion", 132, 'm'},
    {L"WMode", 133, 'g'},
    {L"WMode", 133, 'p'},
    {L"SAlign", 134, 'g'},
    {L"SAlign", 134, 'p'},
    {L"Menu", 135, 'g'},
    {L"Menu", 135, 'p'},
    {L"Base", 136, 'g'},
    {L"Base", 136, 'p'},
    {L"Scale", 137, 'g'},
    {L"Scale", 137, 'p'},
    {L"DeviceFont", 138, 'g'},
    {L"DeviceFont", 138, 'p'},
    {L"EmbedMovie", 139, 'g'},
    {L"EmbedMovie", 139, 'p'},
    {L"BGColor", 140, 'g'},
    {L"BGColor", 140, 'p'},
    {L"Quality2", 141, 'g'},
    {L"Quality2", 141, 'p'},
    {L"LoadMovie", 142, 'm'},
    {L"TGotoFrame", 143, 'm'},
    {L"TGotoLabel", 144, 'm'},
    {L"TCurrentFrame", 145, 'm'},
    {L"TCurrentLabel", 146, 'm'},
    {L"TPlay", 147, 'm'},
    {L"TStopPlay", 148, 'm'},
    {L"SetVariable", 151, 'm'},
    {L"GetVariable", 152, 'm'},
    {L"TSetProperty", 153, 'm'},
    {L"TGetProperty", 154, 'm'},
    {L"TCallFrame", 155, 'm'},
    {L"TCallLabel", 156, 'm'},
    {L"TSetPropertyNum", 157, 'm'},
    {L"TGetPropertyNum", 158, 'm'},
    {L"TGetPropertyAsNumber", 172, 'm'},
    {L"SWRemote", 159, 'g'},
    {L"SWRemote", 159, 'p'},
    {L"FlashVars", 170, 'g'},
    {L"FlashVars", 170, 'p'},
    {L"AllowScriptAccess", 171, 'g'},
    {L"AllowScriptAccess", 171, 'p'},
    {L"MovieData", 190, 'g'},
    {L"MovieData", 190, 'p'},
    {L"InlineData", 191, 'g'},
    {L"InlineData", 191, 'p'},
    {L"SeamlessTabbing", 192, 'g'},
    {L"SeamlessTabbing", 192, 'p'},
  };
  // The dual interface's own type information lists its functions by vtable slot.
  HREFTYPE reference = 0;
  ComPtr<ITypeInfo> dual;
  ASSERT_EQ(S_OK, info->GetRefTypeOfImplType(-1, &reference));
  ASSERT_EQ(S_OK, info->GetRefTypeInfo(reference, &dual));
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(S_OK, dual->GetTypeAttr(&attributes));
  EXPECT_EQ(IID_IShockwaveFlash, attributes->guid);
  const UINT count = attributes->cFuncs;
  dual->ReleaseTypeAttr(attributes);
  ASSERT_EQ(std::size(slots), count);
  for (UINT i = 0; i < count; ++i) {
    FUNCDESC* function = nullptr;
    ASSERT_EQ(S_OK, dual->GetFuncDesc(i, &function));
    BSTR name = nullptr;
    dual->GetDocumentation(function->memid, &name, nullptr, nullptr, nullptr);
    const auto& slot = slots[function->oVft / sizeof(void*) - 7];
    EXPECT_EQ(slot.name, TakeText(name)) << "slot " << function->oVft / sizeof(void*);
    EXPECT_EQ(slot.id, function->memid) << "slot " << function->oVft / sizeof(void*);
    const char kind = function->invkind == INVOKE_PROPERTYGET   ? 'g'
                      : function->invkind == INVOKE_PROPERTYPUT ? 'p'
                                                                : 'm';
    EXPECT_EQ(slot.kind, kind) << "slot " << function->oVft / sizeof(void*);
    dual->ReleaseFuncDesc(function);
  }
}

TEST_F(InterfacesTest, DispatchGoesThroughTheTypeLibrary)
{
  CreateControl();
  ComPtr<IDispatch> dispatch = As<IDispatch>(Flash.Get());
  const struct {
    const wchar_t* name;
    DISPID id;
  } names[] = {{L"Movie", 102}, {L"WMode", 133}, {L"ReadyState", -525}, {L"loadmovie", 142}};
  for (const auto& entry : names) {
    LPOLESTR name = const_cast<LPOLESTR>(entry.name);
    DISPID id = 0;
    EXPECT_EQ(S_OK, dispatch->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id));
    EXPECT_EQ(entry.id, id) << entry.name;
  }

  // A property put and get by DISPID land on the interface's methods.
  VARIANT value;
  V_VT(&value) = VT_BSTR;
  V_BSTR(&value) = SysAllocString(L"Transparent");
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS put{&value, &named, 1, 1};
  EXPECT_EQ(S_OK, dispatch->Invoke(133, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &put,
                                   nullptr, nullptr, nullptr));
  VariantClear(&value);
  DISPPARAMS none{};
  VARIANT result;
  VariantInit(&result);
  EXPECT_EQ(S_OK, dispatch->Invoke(133, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                                   &result, nullptr, nullptr));
  ASSERT_EQ(VT_BSTR, V_VT(&result));
  EXPECT_STREQ(L"Transparent", V_BSTR(&result));
  VariantClear(&result);

  EXPECT_EQ(DISP_E_MEMBERNOTFOUND,
            dispatch->Invoke(4242, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr,
                             nullptr, nullptr));
  EXPECT_EQ(DISP_E_UNKNOWNINTERFACE,
            dispatch->Invoke(133, IID_IDispatch, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                             &result, nullptr, nullptr));
  // A rejected value comes back as a failure, whatever form the type library gives it.
  V_VT(&value) = VT_BSTR;
  V_BSTR(&value) = SysAllocString(L"Sideways");
  EXPECT_TRUE(FAILED(dispatch->Invoke(133, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                                      &put, nullptr, nullptr, nullptr)));
  VariantClear(&value);
}

TEST_F(InterfacesTest, MalformedDispatchArgumentsAreRefused)
{
  CreateControl();
  ComPtr<IDispatch> dispatch = As<IDispatch>(Flash.Get());
  LPOLESTR name = const_cast<LPOLESTR>(L"Movie");
  DISPID id = 0;
  EXPECT_EQ(E_POINTER, dispatch->GetIDsOfNames(IID_NULL, nullptr, 1, LOCALE_USER_DEFAULT, &id));
  EXPECT_EQ(E_POINTER, dispatch->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, nullptr));

  VARIANT argument;
  V_VT(&argument) = VT_I4;
  V_I4(&argument) = 0;
  DISPID named = DISPID_PROPERTYPUT;
  const struct {
    const char* what;
    DISPPARAMS params;
  } malformed[] = {
    {"arguments counted but absent", {nullptr, nullptr, 2, 0}},
    {"named arguments counted but absent", {&argument, nullptr, 1, 1}},
    {"more named arguments than arguments", {&argument, &named, 1, 2}},
  };
  for (const auto& m : malformed) {
    DISPPARAMS params = m.params;
    EXPECT_EQ(E_INVALIDARG, dispatch->Invoke(142, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                             &params, nullptr, nullptr, nullptr))
      << m.what;
  }
  EXPECT_EQ(E_INVALIDARG, dispatch->Invoke(142, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                           nullptr, nullptr, nullptr, nullptr));

  DWORD connection = 1;
  EXPECT_EQ(E_INVALIDARG, Object->Advise(nullptr, &connection));
  EXPECT_EQ(0u, connection);
}

TEST_F(InterfacesTest, ConnectionPointsTakeOnlySinksOfTheirInterface)
{
  CreateControl();
  ComPtr<IConnectionPointContainer> container = As<IConnectionPointContainer>(Flash.Get());
  ComPtr<IConnectionPoint> events, missing;
  ASSERT_EQ(S_OK, container->FindConnectionPoint(DIID__IShockwaveFlashEvents, &events));
  EXPECT_EQ(CONNECT_E_NOCONNECTION, container->FindConnectionPoint(IID_IAdviseSink, &missing));
  EXPECT_EQ(nullptr, missing);

  ComPtr<IConnectionPointContainer> owner;
  ASSERT_EQ(S_OK, events->GetConnectionPointContainer(&owner));
  EXPECT_EQ(container, owner);
  IID iid{};
  EXPECT_EQ(S_OK, events->GetConnectionInterface(&iid));
  EXPECT_EQ(DIID__IShockwaveFlashEvents, iid);

  // The property sink does not answer the event interface.
  DWORD cookie = 1;
  EXPECT_EQ(CONNECT_E_CANNOTCONNECT, events->Advise(&Properties, &cookie));
  EXPECT_EQ(0u, cookie);

  TEventSink second;
  ASSERT_EQ(S_OK, events->Advise(static_cast<IDispatch*>(&second), &cookie));
  ComPtr<IEnumConnections> connections;
  ASSERT_EQ(S_OK, events->EnumConnections(&connections));
  CONNECTDATA data[3] = {};
  ULONG fetched = 0;
  EXPECT_EQ(S_FALSE, connections->Next(3, data, &fetched));
  ASSERT_EQ(2u, fetched);
  EXPECT_EQ(cookie, data[1].dwCookie);
  for (ULONG i = 0; i < fetched; ++i) data[i].pUnk->Release();
  connections.Reset();

  EXPECT_EQ(S_OK, events->Unadvise(cookie));
  EXPECT_EQ(CONNECT_E_NOCONNECTION, events->Unadvise(cookie));
  EXPECT_EQ(0, second.Refs());
}

}  // namespace flash_control_test
