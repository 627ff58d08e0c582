#include "graphics/Qv_library.h"

#include "graphics/Qv_bitmap.h"
#include "graphics/Qv_utils.h"
#include "system/Qv_winapi.h"

namespace {

bool Initialized = false;

}  // namespace

void QvLibraryInitialize()
{
  if (Initialized) return;
  Qv_winapi::Startup();
  UtilsStartup();
  SelectBitmapKernels();
  Initialized = true;
}

void QvLibraryFinalize()
{
  if (!Initialized) return;
  Initialized = false;
  FreeLiveBitmaps();
  UtilsShutdown();
  Qv_winapi::Shutdown();
}
