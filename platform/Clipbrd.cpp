#include "platform/Clipbrd.h"

#include <cstring>
#include <string>

#include "platform/Graphics.h"

TClipboard::~TClipboard()
{
  if (FOwner) DestroyWindow(FOwner);
}

TClipboard* Clipboard()
{
  static TClipboard clipboard;
  return &clipboard;
}

void TClipboard::Open()
{
  if (FOpenCount == 0) {
    if (!FOwner)
      FOwner = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                               nullptr);
    if (!FOwner || !OpenClipboard(FOwner)) throw EOSError("Cannot open clipboard", GetLastError());
  }
  ++FOpenCount;
}

void TClipboard::Close()
{
  if (FOpenCount == 0) return;
  if (--FOpenCount == 0) CloseClipboard();
}

void TClipboard::Clear()
{
  Open();
  EmptyClipboard();
  Close();
}

void TClipboard::SetData(UINT Format, HANDLE Data)
{
  if (Data && SetClipboardData(Format, Data)) return;
  const DWORD error = GetLastError();
  if (Data) {
    if (Format == CF_DIB)
      GlobalFree(Data);
    else
      DeleteObject(Data);
  }
  throw EOSError("Cannot place the data on the clipboard", error);
}

namespace {

HGLOBAL GlobalCopy(const std::string& Bytes)
{
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, Bytes.size());
  if (!memory) return nullptr;
  std::memcpy(GlobalLock(memory), Bytes.data(), Bytes.size());
  GlobalUnlock(memory);
  return memory;
}

}  // namespace

void TClipboard::Assign(TPersistent* Source)
{
  if (auto* picture = dynamic_cast<TPicture*>(Source)) {
    Assign(picture->GetGraphic());
    return;
  }
  auto* bitmap = dynamic_cast<TBitmap*>(Source);
  if (!bitmap) {
    inherited::Assign(Source);
    return;
  }
  // Separate copies: the clipboard owns what it is given, and the bitmap keeps its own image.
  TBitmap device;
  device.Assign(bitmap);
  device.SetHandleType(bmDDB);
  const std::string packed = bitmap->SavePackedDib();

  Open();
  try {
    EmptyClipboard();
    if (!packed.empty()) {
      SetData(CF_DIB, GlobalCopy(packed));
      if (HPALETTE palette = device.ReleasePalette()) SetData(CF_PALETTE, palette);
      SetData(CF_BITMAP, device.ReleaseHandle());
    }
  } catch (...) {
    Close();
    throw;
  }
  Close();
}
