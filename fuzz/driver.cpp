// Runs libFuzzer for one target. Record items are 32 bits wide and carry
// addresses, so, as in the native test runner, the heap stays on brk, the
// executable is static and position-dependent, and the inputs are run on a
// thread whose stack is mapped in the low 2 GiB. Each input is copied into
// a block of exactly its size, so that a read past it is a read past a
// heap block.
#include <malloc.h>
#include <pthread.h>
#include <sys/mman.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);
extern "C" int LLVMFuzzerRunDriver(int *argc, char ***argv,
                                   int (*test)(const uint8_t *, size_t));

namespace {

constexpr size_t kStackBytes = 64 << 20;

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
  mallopt(M_ARENA_MAX, 1);
  mallopt(M_MMAP_MAX, 0);
  void *stack =
      mmap(nullptr, kStackBytes, PROT_READ | PROT_WRITE,
           MAP_PRIVATE | MAP_ANONYMOUS | MAP_32BIT | MAP_STACK, -1, 0);
  if (stack == MAP_FAILED) {
    std::perror("low stack");
    return 2;
  }
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstack(&attr, stack, kStackBytes);
  Run run{argc, argv, 1};
  pthread_t thread;
  if (pthread_create(&thread, &attr, RunFuzzer, &run) != 0) return 2;
  pthread_join(thread, nullptr);
  return run.status;
}
