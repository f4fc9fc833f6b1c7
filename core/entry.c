/* The module's entry point and its message dispatch. */
#include "hostlink.h"
#include "ports.h"

enum { MsgCleanup = 12, MsgFunctionAddress = 15 };

void HandleHostMessage(void);
void *LookupFunctionAddress(void);

/* The host calls this once with its record handle; the outcome goes back in
   the record's result. */
__declspec(dllexport) void main(Handle recordHandle) {
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
