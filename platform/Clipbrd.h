// The system clipboard as a platform object that graphics are assigned to.
#pragma once

#include <windows.h>

#include "platform/Classes.h"

// Holds the clipboard open between Open and the matching Close (calls nest) with a hidden window of
// its own as the owner, so the data it places stays on the clipboard after it closes.
class TClipboard : public TPersistent {
  QV_CLASS(TClipboard, TPersistent)
public:
  TClipboard() = default;
  ~TClipboard() override;

  // Raises EOSError "Cannot open clipboard" when another program holds it.
  void Open();
  void Close();
  // Empties the clipboard and makes this object its owner.
  void Clear();
  bool HasFormat(UINT Format) const { return IsClipboardFormatAvailable(Format) != 0; }

  // A TBitmap is placed as CF_BITMAP and CF_DIB, with CF_PALETTE when it has a palette; a TPicture
  // hands over its graphic. The clipboard's previous contents are replaced.
  void Assign(TPersistent* Source) override;

private:
  // Gives Data to the clipboard, which owns it from then on; frees it when the clipboard refuses.
  void SetData(UINT Format, HANDLE Data);

  HWND FOwner = nullptr;
  int FOpenCount = 0;
};

// The process's clipboard object.
TClipboard* Clipboard();
