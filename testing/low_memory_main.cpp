// Test runner for the native build. Record items are 32 bits wide and carry
// addresses, so every address a test hands the library must lie below
// 4 GiB. The executable is static and position-dependent (code and data sit
// low), the heap is kept on brk (low, next to the data), and the tests run
// on a thread whose stack is mapped in the low 2 GiB.
#include <gtest/gtest.h>
#include <malloc.h>
#include <pthread.h>
#include <sys/mman.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr size_t kStackBytes = 64 << 20;

struct Run {
  int argc;
  char **argv;
  int status;
};

bool IsLow(const void *p) {
  return reinterpret_cast<uintptr_t>(p) <= UINT32_MAX;
}

void *RunTests(void *arg) {
  Run *run = static_cast<Run *>(arg);
  int onStack = 0;
  void *onHeap = std::malloc(1 << 20);
  if (!IsLow(&onStack) || !IsLow(onHeap) ||
      !IsLow(reinterpret_cast<const void *>(&std::malloc))) {
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
  // One brk arena for every thread, and no allocation from a high mapping.
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
  if (pthread_create(&thread, &attr, RunTests, &run) != 0) return 2;
  pthread_join(thread, nullptr);
  return run.status;
}
