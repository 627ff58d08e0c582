#include "flash_control/com/Module.h"

#include <atomic>

namespace flash_control {

namespace {

std::atomic<long> UseCount{0};

}  // namespace

HMODULE ControlModule()
{
  HMODULE module = nullptr;
  GetModuleHandleExW(
    GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
    reinterpret_cast<LPCWSTR>(&ControlModule), &module);
  return module;
}

void ModuleAddRef()
{
  ++UseCount;
}

void ModuleRelease()
{
  --UseCount;
}

bool ModuleInUse()
{
  return UseCount.load() != 0;
}

}  // namespace flash_control
