// The module that carries the control (its DLL, or the program that links the library) and the
// count of what keeps that module in use.
#pragma once

#include <windows.h>

namespace flash_control {

HMODULE ControlModule();

// Live objects and server locks; the DLL may unload only when the count is 0.
void ModuleAddRef();
void ModuleRelease();
bool ModuleInUse();

}  // namespace flash_control
