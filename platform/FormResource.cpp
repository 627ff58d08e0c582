#include "platform/FormResource.h"

#include "platform/FileStreams.h"
#include "platform/FormData.h"

TComponent* ReadComponentRes(const AnsiString& resName, TComponent* instance, HMODULE module)
{
  TResourceStream stream(module, resName, RT_RCDATA);
  return ReadComponent(stream, instance);
}
