#include <gtest/gtest.h>

#include "graphics/Qv_utils.h"

TEST(Processor, FeaturesFollowFromTheIdentification)
{
  constexpr uint32_t mmx = 1u << 23;
  constexpr uint32_t sse2 = 1u << 26;
  struct Case {
    const char* Name;
    TCpuIdentification Cpu;
    bool MMX, SSE2;
  };
  const Case cases[] = {
    {"family 4 claiming everything", {true, 0x0480, mmx | sse2}, false, false},
    {"family 5 with MMX", {true, 0x0543, mmx}, true, false},
    {"family 6 with MMX and SSE2", {true, 0x06F6, mmx | sse2}, true, true},
    {"extended family field 15", {true, 0x00A50F10, mmx | sse2}, true, true},
    {"SSE2 bit without MMX", {true, 0x06F6, sse2}, false, false},
    {"no identification instruction", {false, 0x06F6, mmx | sse2}, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.MMX, SupportsMMX(c.Cpu)) << c.Name;
    EXPECT_EQ(c.SSE2, SupportsSSE2(c.Cpu)) << c.Name;
  }
}

TEST(Processor, ThisProcessorHasMMXAndSSE2)
{
  EXPECT_TRUE(HasMMX());
  EXPECT_TRUE(HasSSE2());
}

TEST(Processor, EmmsLeavesFloatingPointIntact)
{
  // The start-up has set the MMX flag, so EMMS runs the instruction between x87 computations.
  volatile double step = 0.5;
  double sum = 0;
  for (int i = 0; i < 100; ++i) {
    const double before = sum * 1.000001;
    EMMS();
    sum = before / 1.000001 + step;
  }
  EXPECT_NEAR(50.0, sum, 1e-9);
}
