// Test runner for the native build: every address a test hands the library
// must lie below 4 GiB (see low_addresses.h).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "low_addresses.h"

namespace {

struct Run {
  int argc;
  char **argv;
  int status;
};

void *RunTests(void *arg) {
  Run *run = static_cast<Run *>(arg);
  int onStack = 0;
  void *onHeap = std::malloc(1 << 20);
  if (!IsLowAddress(&onStack) || !IsLowAddress(onHeap) ||
      !IsLowAddress(reinterpret_cast<const void *>(&std::malloc))) {
    std::fprintf(stderr, "test addresses do not fit 32 bits\n");
    return nullptr;
  }
  std::free(onHeap);
  ::testing::InitGoogleTest(&run->argc, run->argv);
  run->status = RUN_ALL_TESTS();
  return nullptr;
}

} // namespace

int main(int argc, char **argv) {
  Run run{argc, argv, 1};
  if (!RunWithLowAddresses(RunTests, &run)) return 2;
  return run.status;
}
