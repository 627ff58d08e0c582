// Processor features for the SIMD blending kernels, in Qv_utils. Pure: no Windows header.
#pragma once

#include <cstdint>

// What the processor's identification instruction reports.
struct TCpuIdentification {
  bool HasCpuid = false;   // the identification instruction exists
  uint32_t Signature = 0;  // leaf 1, EAX: stepping, model, family
  uint32_t Features = 0;   // leaf 1, EDX: the feature bits
};

TCpuIdentification IdentifyProcessor();

// MMX needs the identification instruction, a family of 5 or more and feature bit 23.
bool SupportsMMX(const TCpuIdentification& cpu);
// SSE2 is feature bit 26 on a processor that passes the MMX test.
bool SupportsSSE2(const TCpuIdentification& cpu);

// Asks this processor.
bool HasMMX();
bool HasSSE2();

// Empties the MMX state when the processor has MMX; the kernels call it when they are done. Cheap
// and harmless everywhere.
void EMMS();
