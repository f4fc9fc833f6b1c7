// Record items are 32 bits wide and carry addresses, so native test and fuzz
// runs keep every address below 4 GiB: the executable is static and
// position-dependent (code and data sit low), the heap is kept on brk (low,
// next to the data), and the work runs on a thread whose stack is mapped in
// the low 2 GiB.
#ifndef TAVREL_TESTING_LOW_ADDRESSES_H
#define TAVREL_TESTING_LOW_ADDRESSES_H

#include <malloc.h>
#include <pthread.h>
#include <sys/mman.h>

#include <cstdint>
#include <cstdio>

inline bool IsLowAddress(const void *p) {
  return reinterpret_cast<uintptr_t>(p) <= UINT32_MAX;
}

// The brk heap starts anywhere up to 1 GiB past the data and grows up; when
// it meets a mapping, malloc goes on in high mappings, whose addresses a
// record item cuts short. MAP_32BIT maps from 1 GiB up, possibly right
// above the heap, so the stack goes just under 2 GiB (clear of the address
// sanitizer's shadow at 0x7FFF8000), MAP_32BIT only where that is taken.
inline void *MapLowStack(size_t bytes) {
  const int prot = PROT_READ | PROT_WRITE;
  const int flags = MAP_PRIVATE | MAP_ANONYMOUS | MAP_STACK;
  if (sizeof(void *) > 4) {
    void *wanted = reinterpret_cast<void *>(uintptr_t{0x7F000000} - bytes);
    void *stack = mmap(wanted, bytes, prot, flags | MAP_FIXED_NOREPLACE, -1, 0);
    if (stack == wanted) return stack;
    // A kernel without MAP_FIXED_NOREPLACE takes the address as a hint.
    if (stack != MAP_FAILED) munmap(stack, bytes);
  }
  return mmap(nullptr, bytes, prot, flags | MAP_32BIT, -1, 0);
}

// Runs body(arg) on a thread with a low stack, the heap held on brk; false
// when the thread could not be made.
inline bool RunWithLowAddresses(void *(*body)(void *), void *arg) {
  constexpr size_t kStackBytes = 64 << 20;
  // One brk arena for every thread, and no allocation from a high mapping.
  mallopt(M_ARENA_MAX, 1);
  mallopt(M_MMAP_MAX, 0);
  void *stack = MapLowStack(kStackBytes);
  if (stack == MAP_FAILED) {
    std::perror("low stack");
    return false;
  }
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstack(&attr, stack, kStackBytes);
  pthread_t thread;
  if (pthread_create(&thread, &attr, body, arg) != 0) return false;
  pthread_join(thread, nullptr);
  return true;
}

#endif
