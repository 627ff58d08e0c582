// Test doubles for the control's container: a site that records every call the control makes on
// it, an event sink and a property-change sink. Their reference counts are plain counters checked
// by the tests; the objects live on the test's stack.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>
#include <wrl/client.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace flash_control_test {

class TTestSite final : public IOleClientSite, public IOleInPlaceSiteWindowless {
public:
  // A windowless site answers IOleInPlaceSiteWindowless and accepts windowless activation.
  explicit TTestSite(bool windowless) : Windowless(windowless) {}

  // Answers.
  bool Windowless;
  bool AllowInPlace = true;
  // GetWindow's answer: the parent of a windowed control, the owner of a windowless control's
  // menu. None: E_FAIL.
  HWND Window = nullptr;
  RECT Position{0, 0, 100, 100};
  // Runs inside InvalidateRect, as a host that repaints at once does.
  std::function<void(const RECT*)> OnInvalidate;

  // Record.
  std::vector<std::string> Calls;
  std::vector<std::optional<RECT>> Invalidated;
  bool Captured = false;
  std::vector<bool> CaptureRequests;
  // The control; its view is taken on activation and let go on deactivation, as a host keeps it.
  IUnknown* Object = nullptr;
  Microsoft::WRL::ComPtr<IViewObject> View;

  LONG Refs() const { return FRefs; }
  int Count(const std::string& call) const;
  // Whether `calls` were made in this order (other calls may come between them).
  bool CalledInOrder(const std::vector<std::string>& calls) const;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FRefs; }
  ULONG STDMETHODCALLTYPE Release() override { return --FRefs; }

  // IOleClientSite
  HRESULT STDMETHODCALLTYPE SaveObject() override;
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override;
  HRESULT STDMETHODCALLTYPE ShowObject() override;
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override;
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override;

  // IOleWindow
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override;

  // IOleInPlaceSite
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override;
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override;
  HRESULT STDMETHODCALLTYPE OnUIActivate() override;
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame,
                                             IOleInPlaceUIWindow** document, LPRECT position,
                                             LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
  HRESULT STDMETHODCALLTYPE Scroll(SIZE) override;
  HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override;
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override;
  HRESULT STDMETHODCALLTYPE DiscardUndoState() override;
  HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override;
  HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override;

  // IOleInPlaceSiteEx
  HRESULT STDMETHODCALLTYPE OnInPlaceActivateEx(BOOL* noRedraw, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivateEx(BOOL) override;
  HRESULT STDMETHODCALLTYPE RequestUIActivate() override;

  // IOleInPlaceSiteWindowless
  HRESULT STDMETHODCALLTYPE CanWindowlessActivate() override;
  HRESULT STDMETHODCALLTYPE GetCapture() override;
  HRESULT STDMETHODCALLTYPE SetCapture(BOOL capture) override;
  HRESULT STDMETHODCALLTYPE GetFocus() override;
  HRESULT STDMETHODCALLTYPE SetFocus(BOOL) override;
  HRESULT STDMETHODCALLTYPE GetDC(LPCRECT, DWORD, HDC* dc) override;
  HRESULT STDMETHODCALLTYPE ReleaseDC(HDC) override;
  HRESULT STDMETHODCALLTYPE InvalidateRect(LPCRECT rect, BOOL) override;
  HRESULT STDMETHODCALLTYPE InvalidateRgn(HRGN, BOOL) override;
  HRESULT STDMETHODCALLTYPE ScrollRect(INT, INT, LPCRECT, LPCRECT) override;
  HRESULT STDMETHODCALLTYPE AdjustRect(LPRECT) override;
  HRESULT STDMETHODCALLTYPE OnDefWindowMessage(UINT, WPARAM, LPARAM, LRESULT* result) override;

private:
  HRESULT Record(const char* call, HRESULT result = S_OK);
  void TakeView();

  LONG FRefs = 0;
};

// One event the control fired, its arguments in declaration order as texts.
struct TEvent {
  DISPID Id;
  std::vector<std::wstring> Arguments;

  friend bool operator==(const TEvent&, const TEvent&) = default;
};

class TEventSink final : public IDispatch {
public:
  std::vector<TEvent> Events;
  // Runs after an event is recorded, inside the control's call.
  std::function<void(const TEvent&)> OnEvent;

  LONG Refs() const { return FRefs; }
  std::vector<TEvent> Take();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FRefs; }
  ULONG STDMETHODCALLTYPE Release() override { return --FRefs; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                   EXCEPINFO*, UINT*) override;

private:
  LONG FRefs = 0;
};

class TPropertySink final : public IPropertyNotifySink {
public:
  std::vector<DISPID> Changed;

  LONG Refs() const { return FRefs; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FRefs; }
  ULONG STDMETHODCALLTYPE Release() override { return --FRefs; }
  HRESULT STDMETHODCALLTYPE OnChanged(DISPID id) override;
  HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID) override { return S_OK; }

private:
  LONG FRefs = 0;
};

}  // namespace flash_control_test
