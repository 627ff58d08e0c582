// In-place activation: windowless when the site allows it, otherwise in a child window of the
// site's window; the object rectangles; invalidation and capture through whichever is active.
#include "flash_control/com/FlashControlWindows.h"
#include "platform/WinTypes.h"

using Microsoft::WRL::ComPtr;

namespace flash_control {

// The control's own window

bool TFlashControl::TControlWindow::Open(HWND parent, const RECT& bounds)
{
  return Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, bounds, parent);
}

TRect TFlashControl::TControlWindow::ClientRect() const
{
  RECT client{};
  GetClientRect(Handle(), &client);
  return ToTRect(client);
}

LRESULT TFlashControl::TControlWindow::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
  switch (message) {
  case WM_PAINT: {
    PAINTSTRUCT paint;
    if (BeginPaint(Handle(), &paint)) {
      const RECT client = ToRECT(ClientRect());
      FOwner.DrawInto(paint.hdc, client, client);
      EndPaint(Handle(), &paint);
    }
    return 0;
  }
  case WM_ERASEBKGND:
    return 1;
  case WM_CAPTURECHANGED:
    FOwner.FCaptured = false;
    break;
  default: {
    const ComPtr<IUnknown> self = FOwner.KeepAlive();
    LRESULT result = 0;
    if (FOwner.HandleMessage(message, wParam, lParam, result)) return result;
    break;
  }
  }
  return TWindow::WndProc(message, wParam, lParam);
}

// Activation

HRESULT TFlashControl::InPlaceActivate(IOleClientSite* site)
{
  if (FActivation != TActivation::None) return S_OK;
  if (!site) return E_UNEXPECTED;
  const ComPtr<IUnknown> self = KeepAlive();

  ComPtr<IOleInPlaceSiteWindowless> windowless;
  ComPtr<IOleInPlaceSite> inPlace;
  if (SUCCEEDED(site->QueryInterface(IID_PPV_ARGS(&windowless))))
    inPlace = windowless;
  else if (FAILED(site->QueryInterface(IID_PPV_ARGS(&inPlace))))
    return E_NOINTERFACE;
  if (inPlace->CanInPlaceActivate() != S_OK) return E_FAIL;

  const bool asWindowless = windowless && windowless->CanWindowlessActivate() == S_OK;
  BOOL noRedraw = FALSE;
  HRESULT hr = asWindowless ? windowless->OnInPlaceActivateEx(&noRedraw, ACTIVATE_WINDOWLESS)
                            : inPlace->OnInPlaceActivate();
  if (FAILED(hr)) return hr;

  ComPtr<IOleInPlaceFrame> frame;
  ComPtr<IOleInPlaceUIWindow> document;
  RECT position{}, clip{};
  OLEINPLACEFRAMEINFO frameInfo{};
  frameInfo.cb = sizeof frameInfo;
  hr = inPlace->GetWindowContext(&frame, &document, &position, &clip, &frameInfo);
  if (SUCCEEDED(hr) && !asWindowless) hr = OpenControlWindow(*inPlace.Get(), position);
  if (FAILED(hr)) {
    inPlace->OnInPlaceDeactivate();
    return hr;
  }

  FPosition = position;
  FInPlaceSite = inPlace;
  if (asWindowless) FWindowlessSite = windowless;
  FActivation = asWindowless ? TActivation::Windowless : TActivation::Windowed;
  StartFrameTimer();
  Invalidate(nullptr);
  return S_OK;
}

HRESULT TFlashControl::OpenControlWindow(IOleInPlaceSite& site, const RECT& position)
{
  HWND parent = nullptr;
  if (FAILED(site.GetWindow(&parent)) || !parent) return E_FAIL;
  auto window = std::make_unique<TControlWindow>(*this);
  if (!window->Open(parent, position)) {
    const DWORD error = GetLastError();
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
  }
  FWindow = std::move(window);
  return S_OK;
}

void TFlashControl::Invalidate(const TRect* area)
{
  if (FActivation == TActivation::Windowless) {
    RECT rect = area ? ToRECT(*area) : RECT{};
    FWindowlessSite->InvalidateRect(area ? &rect : nullptr, FALSE);
  } else if (FActivation == TActivation::Windowed) {
    RECT rect = area ? ToRECT(*area) : RECT{};
    InvalidateRect(FWindow->Handle(), area ? &rect : nullptr, FALSE);
  }
  if (FViewSink) {
    const ComPtr<IAdviseSink> sink = FViewSink;
    if (FViewSinkFlags & ADVF_ONLYONCE) FViewSink.Reset();
    sink->OnViewChange(DVASPECT_CONTENT, -1);
  }
}

TRect TFlashControl::InputFrame() const
{
  return FActivation == TActivation::Windowed ? FWindow->ClientRect() : ToTRect(FPosition);
}

void TFlashControl::SetCapture(bool capture)
{
  if (capture == FCaptured) return;
  if (FActivation == TActivation::Windowless) {
    if (FWindowlessSite->SetCapture(capture) != S_OK) return;
  } else if (FActivation == TActivation::Windowed) {
    if (capture)
      ::SetCapture(FWindow->Handle());
    else
      ReleaseCapture();
  } else {
    return;
  }
  FCaptured = capture;
}

// IOleWindow

HRESULT STDMETHODCALLTYPE TFlashControl::GetWindow(HWND* window)
{
  if (!window) return E_POINTER;
  *window = FWindow ? FWindow->Handle() : nullptr;
  return FWindow ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE TFlashControl::ContextSensitiveHelp(BOOL)
{
  return S_OK;
}

// IOleInPlaceObject, IOleInPlaceObjectWindowless

HRESULT STDMETHODCALLTYPE TFlashControl::InPlaceDeactivate()
{
  if (FActivation == TActivation::None) return S_OK;
  const ComPtr<IUnknown> self = KeepAlive();
  SetCapture(false);
  FWindow.reset();
  const ComPtr<IOleInPlaceSite> site = std::move(FInPlaceSite);
  FWindowlessSite.Reset();
  FActivation = TActivation::None;
  // Also after a windowless activation: this is where a site lets go of the in-place interfaces
  // it took.
  site->OnInPlaceDeactivate();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::UIDeactivate()
{
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::SetObjectRects(LPCRECT position, LPCRECT)
{
  if (!position) return E_POINTER;
  FPosition = *position;
  if (FWindow)
    SetWindowPos(FWindow->Handle(), nullptr, FPosition.left, FPosition.top,
                 FPosition.right - FPosition.left, FPosition.bottom - FPosition.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::ReactivateAndUndo()
{
  return INPLACE_E_NOTUNDOABLE;
}

HRESULT STDMETHODCALLTYPE TFlashControl::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                                         LRESULT* result)
{
  if (FActivation != TActivation::Windowless) return E_UNEXPECTED;
  const ComPtr<IUnknown> self = KeepAlive();
  LRESULT answer = 0;
  const bool handled = HandleMessage(message, wParam, lParam, answer);
  if (result) *result = answer;
  return handled ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE TFlashControl::GetDropTarget(IDropTarget** target)
{
  if (!target) return E_POINTER;
  *target = nullptr;
  return E_NOTIMPL;
}

// IOleInPlaceActiveObject

HRESULT STDMETHODCALLTYPE TFlashControl::TranslateAccelerator(LPMSG)
{
  return S_FALSE;
}

HRESULT STDMETHODCALLTYPE TFlashControl::OnFrameWindowActivate(BOOL)
{
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::OnDocWindowActivate(BOOL)
{
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL)
{
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::EnableModeless(BOOL)
{
  return S_OK;
}

}  // namespace flash_control
