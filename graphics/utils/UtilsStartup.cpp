#include "graphics/Qv_utils.h"
#include "graphics/utils/UtilsInternal.h"

const char* volatile SigUtils = "Qv_utils 1.0: general utilities";

void UtilsStartup()
{
  // A volatile read and write keep the signature text in the executable.
  SigUtils = SigUtils;
  GetPixelFormat();
  StartupProcessor();
}

void UtilsShutdown() {}
