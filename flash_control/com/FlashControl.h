// The Shockwave Flash control object: one COM object with one hand-written QueryInterface chain
// over every interface it implements. Its sources are split by area: lifetime and interfaces here
// and in FlashControl.cpp; OLE object and control; in-place activation; input; drawing; automation;
// persistence; movie loading and playback.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>
#include <wrl/client.h>

#include <atomic>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "flash_control/ShockwaveFlash.h"
#include "flash_control/com/ConnectionPoint.h"
#include "flash_control/com/ContextMenu.h"
#include "flash_control/com/ControlState.h"
#include "flash_control/com/PropertyText.h"
#include "flash_control/com/StageLayout.h"
#include "flash_control/swf/Host.h"
#include "flash_control/swf/Player.h"
#include "platform/Types.h"

namespace flash_control {

class TFlashControl final : public IShockwaveFlash,
                            public IOleObject,
                            public IOleControl,
                            public IPersistStreamInit,
                            public IConnectionPointContainer,
                            public IProvideClassInfo,
                            public IOleInPlaceObjectWindowless,
                            public IOleInPlaceActiveObject,
                            public IViewObject2,
                            private swf::Host {
public:
  // Creates a control and answers the requested interface; aggregation is not supported.
  static HRESULT Create(IUnknown* outer, REFIID iid, void** object);

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argumentError) override;

  // IShockwaveFlash
  HRESULT STDMETHODCALLTYPE get_ReadyState(LONG* state) override;
  HRESULT STDMETHODCALLTYPE get_TotalFrames(LONG* frames) override;
  HRESULT STDMETHODCALLTYPE get_Playing(VARIANT_BOOL* playing) override;
  HRESULT STDMETHODCALLTYPE put_Playing(VARIANT_BOOL playing) override;
  HRESULT STDMETHODCALLTYPE get_Quality(int* quality) override;
  HRESULT STDMETHODCALLTYPE put_Quality(int quality) override;
  HRESULT STDMETHODCALLTYPE get_ScaleMode(int* mode) override;
  HRESULT STDMETHODCALLTYPE put_ScaleMode(int mode) override;
  HRESULT STDMETHODCALLTYPE get_AlignMode(int* align) override;
  HRESULT STDMETHODCALLTYPE put_AlignMode(int align) override;
  HRESULT STDMETHODCALLTYPE get_BackgroundColor(LONG* color) override;
  HRESULT STDMETHODCALLTYPE put_BackgroundColor(LONG color) override;
  HRESULT STDMETHODCALLTYPE get_Loop(VARIANT_BOOL* loop) override;
  HRESULT STDMETHODCALLTYPE put_Loop(VARIANT_BOOL loop) override;
  HRESULT STDMETHODCALLTYPE get_Movie(BSTR* url) override;
  HRESULT STDMETHODCALLTYPE put_Movie(BSTR url) override;
  HRESULT STDMETHODCALLTYPE get_FrameNum(LONG* frame) override;
  HRESULT STDMETHODCALLTYPE put_FrameNum(LONG frame) override;
  HRESULT STDMETHODCALLTYPE SetZoomRect(LONG left, LONG top, LONG right, LONG bottom) override;
  HRESULT STDMETHODCALLTYPE Zoom(int factor) override;
  HRESULT STDMETHODCALLTYPE Pan(LONG x, LONG y, int mode) override;
  HRESULT STDMETHODCALLTYPE Play() override;
  HRESULT STDMETHODCALLTYPE Stop() override;
  HRESULT STDMETHODCALLTYPE Back() override;
  HRESULT STDMETHODCALLTYPE Forward() override;
  HRESULT STDMETHODCALLTYPE Rewind() override;
  HRESULT STDMETHODCALLTYPE StopPlay() override;
  HRESULT STDMETHODCALLTYPE GotoFrame(LONG frame) override;
  HRESULT STDMETHODCALLTYPE CurrentFrame(LONG* frame) override;
  HRESULT STDMETHODCALLTYPE IsPlaying(VARIANT_BOOL* playing) override;
  HRESULT STDMETHODCALLTYPE PercentLoaded(LONG* percent) override;
  HRESULT STDMETHODCALLTYPE FrameLoaded(LONG frame, VARIANT_BOOL* loaded) override;
  HRESULT STDMETHODCALLTYPE FlashVersion(LONG* version) override;
  HRESULT STDMETHODCALLTYPE get_WMode(BSTR* mode) override;
  HRESULT STDMETHODCALLTYPE put_WMode(BSTR mode) override;
  HRESULT STDMETHODCALLTYPE get_SAlign(BSTR* align) override;
  HRESULT STDMETHODCALLTYPE put_SAlign(BSTR align) override;
  HRESULT STDMETHODCALLTYPE get_Menu(VARIANT_BOOL* menu) override;
  HRESULT STDMETHODCALLTYPE put_Menu(VARIANT_BOOL menu) override;
  HRESULT STDMETHODCALLTYPE get_Base(BSTR* base) override;
  HRESULT STDMETHODCALLTYPE put_Base(BSTR base) override;
  HRESULT STDMETHODCALLTYPE get_Scale(BSTR* scale) override;
  HRESULT STDMETHODCALLTYPE put_Scale(BSTR scale) override;
  HRESULT STDMETHODCALLTYPE get_DeviceFont(VARIANT_BOOL* deviceFont) override;
  HRESULT STDMETHODCALLTYPE put_DeviceFont(VARIANT_BOOL deviceFont) override;
  HRESULT STDMETHODCALLTYPE get_EmbedMovie(VARIANT_BOOL* embed) override;
  HRESULT STDMETHODCALLTYPE put_EmbedMovie(VARIANT_BOOL embed) override;
  HRESULT STDMETHODCALLTYPE get_BGColor(BSTR* color) override;
  HRESULT STDMETHODCALLTYPE put_BGColor(BSTR color) override;
  HRESULT STDMETHODCALLTYPE get_Quality2(BSTR* quality) override;
  HRESULT STDMETHODCALLTYPE put_Quality2(BSTR quality) override;
  HRESULT STDMETHODCALLTYPE LoadMovie(int layer, BSTR url) override;
  HRESULT STDMETHODCALLTYPE TGotoFrame(BSTR target, LONG frame) override;
  HRESULT STDMETHODCALLTYPE TGotoLabel(BSTR target, BSTR label) override;
  HRESULT STDMETHODCALLTYPE TCurrentFrame(BSTR target, LONG* frame) override;
  HRESULT STDMETHODCALLTYPE TCurrentLabel(BSTR target, BSTR* label) override;
  HRESULT STDMETHODCALLTYPE TPlay(BSTR target) override;
  HRESULT STDMETHODCALLTYPE TStopPlay(BSTR target) override;
  HRESULT STDMETHODCALLTYPE SetVariable(BSTR name, BSTR value) override;
  HRESULT STDMETHODCALLTYPE GetVariable(BSTR name, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE TSetProperty(BSTR target, int property, BSTR value) override;
  HRESULT STDMETHODCALLTYPE TGetProperty(BSTR target, int property, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE TCallFrame(BSTR target, int frame) override;
  HRESULT STDMETHODCALLTYPE TCallLabel(BSTR target, BSTR label) override;
  HRESULT STDMETHODCALLTYPE TSetPropertyNum(BSTR target, int property, double value) override;
  HRESULT STDMETHODCALLTYPE TGetPropertyNum(BSTR target, int property, double* value) override;
  HRESULT STDMETHODCALLTYPE TGetPropertyAsNumber(BSTR target, int property, double* value) override;
  HRESULT STDMETHODCALLTYPE get_SWRemote(BSTR* remote) override;
  HRESULT STDMETHODCALLTYPE put_SWRemote(BSTR remote) override;
  HRESULT STDMETHODCALLTYPE get_FlashVars(BSTR* vars) override;
  HRESULT STDMETHODCALLTYPE put_FlashVars(BSTR vars) override;
  HRESULT STDMETHODCALLTYPE get_AllowScriptAccess(BSTR* access) override;
  HRESULT STDMETHODCALLTYPE put_AllowScriptAccess(BSTR access) override;
  HRESULT STDMETHODCALLTYPE get_MovieData(BSTR* data) override;
  HRESULT STDMETHODCALLTYPE put_MovieData(BSTR data) override;
  HRESULT STDMETHODCALLTYPE get_InlineData(IUnknown** data) override;
  HRESULT STDMETHODCALLTYPE put_InlineData(IUnknown* data) override;
  HRESULT STDMETHODCALLTYPE get_SeamlessTabbing(VARIANT_BOOL* seamless) override;
  HRESULT STDMETHODCALLTYPE put_SeamlessTabbing(VARIANT_BOOL seamless) override;

  // IOleObject
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override;
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override;
  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR application, LPCOLESTR document) override;
  HRESULT STDMETHODCALLTYPE Close(DWORD saveOption) override;
  HRESULT STDMETHODCALLTYPE SetMoniker(DWORD which, IMoniker* moniker) override;
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
  HRESULT STDMETHODCALLTYPE InitFromData(IDataObject* data, BOOL creation, DWORD reserved) override;
  HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD reserved, IDataObject** data) override;
  HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG message, IOleClientSite* site, LONG index,
                                   HWND parent, LPCRECT position) override;
  HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** verbs) override;
  HRESULT STDMETHODCALLTYPE Update() override;
  HRESULT STDMETHODCALLTYPE IsUpToDate() override;
  HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) override;
  HRESULT STDMETHODCALLTYPE GetUserType(DWORD form, LPOLESTR* userType) override;
  HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) override;
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) override;
  HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* sink, DWORD* connection) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD connection) override;
  HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** advises) override;
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) override;
  HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE* palette) override;

  // IOleControl
  HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO* info) override;
  HRESULT STDMETHODCALLTYPE OnMnemonic(MSG* message) override;
  HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID id) override;
  HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL freeze) override;

  // IPersist, IPersistStreamInit
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;
  HRESULT STDMETHODCALLTYPE IsDirty() override;
  HRESULT STDMETHODCALLTYPE Load(LPSTREAM stream) override;
  HRESULT STDMETHODCALLTYPE Save(LPSTREAM stream, BOOL clearDirty) override;
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override;
  HRESULT STDMETHODCALLTYPE InitNew() override;

  // IConnectionPointContainer
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

  // IProvideClassInfo
  HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override;

  // IOleWindow (shared by the in-place object and the active object)
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enter) override;

  // IOleInPlaceObject, IOleInPlaceObjectWindowless
  HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
  HRESULT STDMETHODCALLTYPE UIDeactivate() override;
  HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT position, LPCRECT clip) override;
  HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override;
  HRESULT STDMETHODCALLTYPE OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                            LRESULT* result) override;
  HRESULT STDMETHODCALLTYPE GetDropTarget(IDropTarget** target) override;

  // IOleInPlaceActiveObject
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG message) override;
  HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL activate) override;
  HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL activate) override;
  HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window,
                                         BOOL frameWindow) override;
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL enable) override;

  // IViewObject, IViewObject2
  HRESULT STDMETHODCALLTYPE Draw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device,
                                 HDC targetInfo, HDC dc, LPCRECTL bounds, LPCRECTL windowBounds,
                                 BOOL(STDMETHODCALLTYPE* proceed)(ULONG_PTR),
                                 ULONG_PTR proceedArgument) override;
  HRESULT STDMETHODCALLTYPE GetColorSet(DWORD aspect, LONG index, void* aspectInfo,
                                        DVTARGETDEVICE* device, HDC targetInfo,
                                        LOGPALETTE** colors) override;
  HRESULT STDMETHODCALLTYPE Freeze(DWORD aspect, LONG index, void* aspectInfo,
                                   DWORD* freeze) override;
  HRESULT STDMETHODCALLTYPE Unfreeze(DWORD freeze) override;
  HRESULT STDMETHODCALLTYPE SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
  HRESULT STDMETHODCALLTYPE GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* device,
                                      LPSIZEL size) override;

private:
  class TMessageWindow;
  class TControlWindow;
  enum class TActivation { None, Windowless, Windowed };
  struct TLoadRequest {
    int Layer;
    std::u16string Url;
  };

  TFlashControl();
  ~TFlashControl();
  HRESULT Initialize();

  // Lifetime guard for calls that may run a client's code which releases the control.
  Microsoft::WRL::ComPtr<IUnknown> KeepAlive();

  // Properties: change, persist and notify. Each answers whether the value changed.
  bool SetStateText(TStateSlot slot, std::u16string_view text, DISPID id);
  bool SetStateBoolean(TStateSlot slot, bool value, DISPID id);
  HRESULT GetStateText(TStateSlot slot, BSTR* text) const;
  HRESULT GetStateBoolean(TStateSlot slot, VARIANT_BOOL* value) const;
  void ApplyState(const TControlState& state);
  void PropertyChanged(DISPID id);

  // Events.
  // Arguments in declaration order.
  void FireEvent(DISPID id, const std::vector<VARIANT>& arguments);
  void FireNumberEvent(DISPID id, LONG value);
  void FireFSCommand(const std::u16string& command, const std::u16string& arguments);
  void SetReadyState(LONG state);

  // In-place activation.
  HRESULT InPlaceActivate(IOleClientSite* site);
  // Ordinary activation: a child window of the site's window.
  HRESULT OpenControlWindow(IOleInPlaceSite& site, const RECT& position);
  // The rectangle the control draws in and takes the mouse in: the object rectangle, or the
  // client area of the control's own window.
  TRect InputFrame() const;
  void Invalidate(const TRect* area);
  void SetCapture(bool capture);

  // Input, shared by the windowless message path and the control's own window.
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void ShowMenu();
  void RunMenuCommand(TMenuCommand command);

  // Drawing.
  HRESULT DrawInto(HDC dc, const RECT& target, const RECT& bounds);
  TStageView CurrentView() const;
  swf::StageTransform StageTransform(const TRect& target) const;
  // Asks for a repaint of what changed on stage.
  void RepaintStage(const swf::Damage& damage);
  void ApplyBackgroundColor();

  // Loading and playback.
  HRESULT RequestLoad(int layer, std::u16string_view url);
  void RunPendingLoad();
  void LoadLayer(const TLoadRequest& request);
  void StartFrameTimer();
  void StopFrameTimer();
  void AdvanceFrame();
  // Repaints and fires what an engine call left behind: the changed area, then FSCommands.
  void AfterPlayerCall();
  void FirePendingCommands();

  // swf::Host: called from inside engine calls, so commands wait for AfterPlayerCall.
  void FSCommand(std::string_view command, std::string_view args) override;
  void GetUrl(std::string_view url, std::string_view target) override;
  std::optional<std::vector<uint8_t>> ReadFile(std::string_view path, size_t maxBytes) override;

  std::atomic<ULONG> FRefs{1};

  TControlState FState;
  bool FDirty = false;
  std::u16string FMovieData;

  Microsoft::WRL::ComPtr<IOleClientSite> FClientSite;
  Microsoft::WRL::ComPtr<IOleAdviseHolder> FAdviseHolder;
  Microsoft::WRL::ComPtr<IAdviseSink> FViewSink;
  DWORD FViewSinkAspects = 0;
  DWORD FViewSinkFlags = 0;

  TActivation FActivation = TActivation::None;
  Microsoft::WRL::ComPtr<IOleInPlaceSite> FInPlaceSite;
  Microsoft::WRL::ComPtr<IOleInPlaceSiteWindowless> FWindowlessSite;
  RECT FPosition{};
  std::unique_ptr<TControlWindow> FWindow;
  bool FCaptured = false;

  TConnectionPoint FEvents;
  TConnectionPoint FPropertySinks;
  int FFrozenEvents = 0;
  Microsoft::WRL::ComPtr<ITypeInfo> FTypeInfo;

  std::unique_ptr<TMessageWindow> FMessages;
  std::unique_ptr<swf::Player> FPlayer;
  std::optional<TStageView> FZoom;
  std::u16string FMovieFolder;
  std::deque<TLoadRequest> FPendingLoads;
  std::vector<std::pair<std::u16string, std::u16string>> FPendingCommands;
  LONG FReadyState = 4;
  LONG FPercentLoaded = 0;
  bool FTimerRunning = false;
};

}  // namespace flash_control
