// Form data stored as a data resource of a module (RCDATA), as the build puts it there with
// qv_add_form_resource.
#pragma once

#include <windows.h>
#undef RegisterClass  // the platform's own, see Classes.h

#include "platform/Components.h"

// Reads the form data resource `resName` of `module` (the executable by default) into `instance`,
// or into a new component of the stored class when `instance` is null (see ReadComponent).
// Raises EResNotFound when the module has no such resource.
TComponent* ReadComponentRes(const AnsiString& resName, TComponent* instance,
                             HMODULE module = GetModuleHandleA(nullptr));
