/* The module's entry point and its message dispatch. */
#include "entry.h"
#include "ports.h"

void StartExtension(Handle recordHandle) {
  InitHostLink(recordHandle);
  SetMessageEntry(HandleHostMessage);
  SetHostResult(BindPortLibrary());
}

void *LookupFunctionAddress(void) {
  switch (GetHostItem(0)) {
  case 0:
    return (void *)WritePort;
  case 1:
    return (void *)ReadPort;
  default:
    return NULL;
  }
}

void HandleHostMessage(void) {
  int32_t answer = 0;
  switch (GetHostMessage()) {
  case MsgCleanup:
    ReleasePortLibrary();
    break;
  case MsgFunctionAddress:
    answer = (int32_t)(uintptr_t)LookupFunctionAddress();
    break;
  default:
    break;
  }
  SetHostResult(answer);
}
