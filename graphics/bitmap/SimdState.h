// Clearing the SIMD state when a routine that may have run a SIMD kernel leaves, by any path.
#pragma once

#include "graphics/utils/Processor.h"

class TEmmsOnExit {
public:
  TEmmsOnExit() = default;
  TEmmsOnExit(const TEmmsOnExit&) = delete;
  TEmmsOnExit& operator=(const TEmmsOnExit&) = delete;
  ~TEmmsOnExit() { EMMS(); }
};
