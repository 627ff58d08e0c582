// The screen as the platform describes it to programs.
#pragma once

#include "platform/Classes.h"

class TScreen : public TObject {
  QV_CLASS(TScreen, TObject)
public:
  // The primary display's size in pixels, asked of the system at each call.
  int GetWidth() const;
  int GetHeight() const;
};

// The process's screen object.
TScreen* Screen();
