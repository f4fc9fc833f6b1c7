// Runs libFuzzer for one target with every address below 4 GiB, as the
// native test runner does (see testing/low_addresses.h). Each input is
// copied into a heap block of exactly its size, so that a read past it is a
// read past a heap block.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "low_addresses.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);
extern "C" int LLVMFuzzerRunDriver(int *argc, char ***argv,
                                   int (*test)(const uint8_t *, size_t));

namespace {

struct Run {
  int argc;
  char **argv;
  int status;
};

int TestLowCopy(const uint8_t *data, size_t size) {
  auto *copy = static_cast<uint8_t *>(std::malloc(size > 0 ? size : 1));
  if (size > 0) std::memcpy(copy, data, size);
  int status = LLVMFuzzerTestOneInput(copy, size);
  std::free(copy);
  return status;
}

void *RunFuzzer(void *arg) {
  Run *run = static_cast<Run *>(arg);
  run->status = LLVMFuzzerRunDriver(&run->argc, &run->argv, TestLowCopy);
  return nullptr;
}

} // namespace

int main(int argc, char **argv) {
  Run run{argc, argv, 1};
  if (!RunWithLowAddresses(RunFuzzer, &run)) return 2;
  return run.status;
}
