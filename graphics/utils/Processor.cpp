#include "graphics/utils/Processor.h"

#include <cpuid.h>

#include "graphics/utils/UtilsInternal.h"

namespace {

constexpr uint32_t FeatureMMX = 1u << 23;
constexpr uint32_t FeatureSSE2 = 1u << 26;

// Set at start-up from HasMMX.
bool MMXFlag = false;

uint32_t Family(uint32_t signature) { return (signature >> 8) & 0xF; }

}  // namespace

TCpuIdentification IdentifyProcessor()
{
  TCpuIdentification cpu;
  // On 32-bit x86 this first tests whether the ID flag (bit 21) of the flags register can be
  // toggled, which tells whether the instruction exists at all. A processor without leaf 1 reports
  // no features.
  const unsigned maxLeaf = __get_cpuid_max(0, nullptr);
  cpu.HasCpuid = maxLeaf != 0;
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (maxLeaf >= 1 && __get_cpuid(1, &eax, &ebx, &ecx, &edx)) {
    cpu.Signature = eax;
    cpu.Features = edx;
  }
  return cpu;
}

bool SupportsMMX(const TCpuIdentification& cpu)
{
  return cpu.HasCpuid && Family(cpu.Signature) >= 5 && (cpu.Features & FeatureMMX) != 0;
}

bool SupportsSSE2(const TCpuIdentification& cpu)
{
  return SupportsMMX(cpu) && (cpu.Features & FeatureSSE2) != 0;
}

bool HasMMX() { return SupportsMMX(IdentifyProcessor()); }
bool HasSSE2() { return SupportsSSE2(IdentifyProcessor()); }

void EMMS()
{
  // emms marks every x87 register empty, so the compiler must not keep values in them across it.
  if (MMXFlag)
    __asm__ __volatile__("emms" ::: "st", "st(1)", "st(2)", "st(3)", "st(4)", "st(5)", "st(6)",
                         "st(7)", "memory");
}

void StartupProcessor() { MMXFlag = HasMMX(); }
