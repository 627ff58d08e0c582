// The unit runs its start-up before the tests and its shut-down after them, as in a program.
#include <gtest/gtest.h>

#include "graphics/Qv_utils.h"

namespace {

class UtilsEnvironment : public ::testing::Environment {
public:
  void SetUp() override { UtilsStartup(); }
  void TearDown() override { UtilsShutdown(); }
};

const auto* const Environment = ::testing::AddGlobalTestEnvironment(new UtilsEnvironment);

}  // namespace
