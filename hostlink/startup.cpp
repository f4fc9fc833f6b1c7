// Start-up state: the record handle, the host's version, and the handles and
// window the host hands out.
#include "hostlink.h"

int32_t HostVersion = 0; // declared extern "C" in hostlink.h

extern "C" {

void InitHostLink(Handle recordHandle) {
  HostRecordHandle = recordHandle;
  HostVersion = ReadHostVersion();
}

void *OwnModuleHandle(void) { return GetXOPModule(HostRecordHandle); }
void *HostModuleHandle(void) { return GetIgorModule(); }
void *HostClientWindow(void) { return GetIgorClientHWND(); }

int32_t ForwardWinMessage(uint32_t a, uint32_t b, uint32_t c, uint32_t d,
                          uint32_t e) {
  return HandleXOPWinMessage(OwnModuleHandle(), a, b, c, d, e);
}

} // extern "C"
