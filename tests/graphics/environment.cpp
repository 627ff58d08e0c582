// The library (system adapters, utilities, kernels) starts before the tests and stops after them,
// as in a program.
#include <gtest/gtest.h>

#include "graphics/Qv_library.h"

namespace {

class LibraryEnvironment : public ::testing::Environment {
public:
  void SetUp() override { QvLibraryInitialize(); }
  void TearDown() override { QvLibraryFinalize(); }
};

const auto* const Environment = ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);

}  // namespace
