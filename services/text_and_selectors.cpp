// Routines that combine a service with a little logic: text delivery,
// resource strings and the selector requests.
#include <cstring>

#include "detail/address_item.h"
#include "wrappers.h"

uint32_t LastThrottleTick = 0; // declared extern "C" in wrappers.h

namespace {

enum : int32_t { kSelector = 33, kThrottledSelector = 5, kThrottleTicks = 6 };
enum : uint32_t { kTextScrapType = 0x54455854 }; // "TEXT"

} // namespace

extern "C" {

int32_t SendTextByKind(const char *text, int32_t kind) {
  switch (kind) {
  case TextKindMode3:
    return SendTextWithMode(text, 3);
  case TextKindMode1:
    return SendTextWithMode(text, 1);
  case TextKindClipboard:
    return SetScrapData(0, static_cast<int32_t>(std::strlen(text)),
                        kTextScrapType, text);
  default:
    return 0; // nothing to send
  }
}

void LoadModuleString(char *buffer, int32_t listNumber, int32_t itemNumber) {
  buffer[0] = 0;
  GetWinIndString(OwnModuleHandle(), buffer, listNumber, itemNumber);
}

int32_t ReportResourceString(int32_t listNumber, int32_t itemNumber) {
  char buffer[256];
  LoadModuleString(buffer, listNumber, itemNumber);
  return ReportToHost(buffer);
}

int32_t HostSelect1(void) { return HostCall1(kSelector, 1); }
int32_t HostSelect2(void) { return HostCall1(kSelector, 2); }
int32_t HostSelect3(void) { return HostCall1(kSelector, 3); }
int32_t HostSelect4(void) { return HostCall1(kSelector, 4); }

void ThrottledSelect5(void) {
  uint32_t now = TickCount();
  if (now <= LastThrottleTick + kThrottleTicks) return;
  HostCall1(kSelector, kThrottledSelector);
  LastThrottleTick = TickCount();
}

} // extern "C"
