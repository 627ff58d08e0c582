// The unit runs its start-up before the tests and its shut-down after them, as in a program.
#include <gtest/gtest.h>

#include "system/Qv_winapi.h"

namespace {

class WinApiEnvironment : public ::testing::Environment {
public:
  void SetUp() override { Qv_winapi::Startup(); }
  void TearDown() override { Qv_winapi::Shutdown(); }
};

const auto* const Environment = ::testing::AddGlobalTestEnvironment(new WinApiEnvironment);

}  // namespace
