#include "flash_control/com/Window.h"

#include <mutex>

#include "flash_control/com/Module.h"

namespace flash_control {

namespace {

constexpr wchar_t ClassName[] = L"QvFlashControlWindow";

std::mutex ClassLock;
int ClassUsers = 0;

bool AddClassUser(WNDPROC procedure)
{
  std::lock_guard<std::mutex> guard(ClassLock);
  if (ClassUsers == 0) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = procedure;
    wc.hInstance = ControlModule();
    wc.lpszClassName = ClassName;
    if (!RegisterClassExW(&wc)) return false;
  }
  ++ClassUsers;
  return true;
}

void RemoveClassUser()
{
  std::lock_guard<std::mutex> guard(ClassLock);
  if (--ClassUsers == 0) UnregisterClassW(ClassName, ControlModule());
}

}  // namespace

TWindow::~TWindow()
{
  Destroy();
}

bool TWindow::Create(DWORD style, const RECT& bounds, HWND parent)
{
  if (!AddClassUser(&TWindow::Dispatch)) return false;
  // The creation parameter carries the object; Dispatch binds it on WM_NCCREATE.
  FHandle =
    CreateWindowExW(0, ClassName, L"", style, bounds.left, bounds.top, bounds.right - bounds.left,
                    bounds.bottom - bounds.top, parent, nullptr, ControlModule(), this);
  if (!FHandle) {
    RemoveClassUser();
    return false;
  }
  return true;
}

void TWindow::Destroy()
{
  if (!FHandle) return;
  HWND handle = FHandle;
  FHandle = nullptr;
  // The object is going away: the messages that destruction sends go to the default procedure.
  SetWindowLongPtrW(handle, GWLP_USERDATA, 0);
  DestroyWindow(handle);
  RemoveClassUser();
}

LRESULT TWindow::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
  return DefWindowProcW(FHandle, message, wParam, lParam);
}

LRESULT CALLBACK TWindow::Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == WM_NCCREATE) {
    auto* created = static_cast<TWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    created->FHandle = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  auto* self = reinterpret_cast<TWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self) return self->WndProc(message, wParam, lParam);
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace flash_control
