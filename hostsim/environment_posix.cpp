// Outside Windows the host has a monotonic clock of its own, no module
// handles, no windows and no module resources.
#include <chrono>

#include "hostsim.h"

namespace hostsim {

uint32_t RealTicks() {
  using namespace std::chrono;
  auto now = steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(duration_cast<milliseconds>(now).count() * 60 /
                               1000);
}

void *OwnExecutableModule() { return nullptr; }

bool ReadIndexedString(void *, int32_t, int32_t, std::string &) {
  return false;
}

} // namespace hostsim

extern "C" void *GetIgorClientHWND(void) { return nullptr; }
