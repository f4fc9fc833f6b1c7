// Round trip of the call primitives through the simulated host.
#include <cstdio>

#include "hostlink.h"
#include "hostsim.h"
#include "timing.h"

namespace {

int32_t Nothing(const hostsim::ServiceCall &) { return 0; }
HOSTSIM_SERVICE(9100, Nothing);

} // namespace

int main() {
  HostRecordHandle = hostsim::NewHostRecord();
  const long n = 200000;
  volatile int32_t sink = 0;
  double empty = NanosecondsPerCall(n, [&] { sink = sink + 1; });
  double call0 = NanosecondsPerCall(n, [&] { sink = HostCall0(9100); });
  double call6 =
      NanosecondsPerCall(n, [&] { sink = HostCall6(9100, 1, 2, 3, 4, 5, 6); });
  std::printf("HostCall0 round trip   %8.1f ns\n", call0);
  std::printf("HostCall6 round trip   %8.1f ns\n", call6);
  std::printf("empty loop             %8.1f ns\n", empty);
  std::printf("ratio HostCall6 / HostCall0: %.2f\n", call6 / call0);
  DisposeHandle(HostRecordHandle);
  return 0;
}
