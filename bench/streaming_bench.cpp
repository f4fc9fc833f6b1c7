// What decides the speed of a conversion beyond the caches: Int8 into Int32
// over 64 MiB of source (the pair that writes the most per byte read), and
// memcpy moving the same bytes, in milliseconds (best of 5 calls) under
// three conditions: the buffers as the last call left them; both flushed
// from the caches before each call; the target's pages never touched
// before (fresh from the system for each call; memcpy's 160 MiB there span
// fewer fresh pages than the conversion's 256 MiB).
//
// Usage: streaming_bench [--runs N]   medians of N runs, each in a process
// of its own (runs.h).
#include "numconv.h"
#include "runs.h"
#include "timing.h"

#include <emmintrin.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
#endif

namespace {

constexpr int32_t kCount = 64 << 20;
constexpr size_t kTargetBytes = size_t(kCount) * 4;
constexpr size_t kCopyBytes = (size_t(kCount) + kTargetBytes) / 2;
constexpr int kCalls = 5;

unsigned char *FreshPages(size_t bytes) {
#ifdef _WIN32
  return static_cast<unsigned char *>(
      VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
#else
  void *p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE,
                 MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return p == MAP_FAILED ? nullptr : static_cast<unsigned char *>(p);
#endif
}

void ReleasePages(unsigned char *p, size_t bytes) {
#ifdef _WIN32
  (void)bytes;
  VirtualFree(p, 0, MEM_RELEASE);
#else
  munmap(p, bytes);
#endif
}

void Flush(const unsigned char *p, size_t bytes) {
  for (size_t at = 0; at < bytes; at += 64)
    _mm_clflush(p + at);
  _mm_mfence();
}

// Milliseconds of the best of kCalls calls of work(target), each after
// prepare(); a null target fails the run.
double BestMs(const std::function<unsigned char *()> &prepare,
              const std::function<void(unsigned char *)> &work,
              const std::function<void(unsigned char *)> &finish) {
  double best = 1e300;
  for (int call = 0; call < kCalls; ++call) {
    unsigned char *target = prepare();
    if (target == nullptr) return -1;
    auto start = std::chrono::steady_clock::now();
    work(target);
    std::chrono::duration<double, std::milli> took =
        std::chrono::steady_clock::now() - start;
    finish(target);
    best = std::min(best, took.count());
  }
  return best;
}

// Per condition: conversion, then memcpy.
std::vector<double> MeasureCells() {
  std::vector<unsigned char> source(kCount, 3), target(kTargetBytes),
      copyFrom(kCopyBytes, 5);
  auto convert = [&](unsigned char *to) {
    ConvertValues(source.data(), to, kCount, 1, NumKindSigned, 4,
                  NumKindSigned);
  };
  auto copy = [&](unsigned char *to) {
    gMemcpy(to, copyFrom.data(), kCopyBytes);
  };
  auto kept = [&] { return target.data(); };
  auto flushed = [&] {
    Flush(source.data(), kCount);
    Flush(copyFrom.data(), kCopyBytes);
    Flush(target.data(), kTargetBytes);
    return target.data();
  };
  auto fresh = [] { return FreshPages(kTargetBytes); };
  auto none = [](unsigned char *) {};
  auto release = [](unsigned char *p) { ReleasePages(p, kTargetBytes); };
  std::vector<double> cells;
  convert(target.data()); // first touch of the kept buffers, untimed
  for (auto [prepare, finish] :
       {std::make_pair<std::function<unsigned char *()>,
                       std::function<void(unsigned char *)>>(kept, none),
        {flushed, none},
        {fresh, release}}) {
    cells.push_back(BestMs(prepare, convert, finish));
    cells.push_back(BestMs(prepare, copy, finish));
  }
  return cells;
}

} // namespace

int main(int argc, char **argv) {
  RunOptions options = ParseRunOptions(argc, argv);
  std::vector<double> cells =
      options.runs > 1 ? MedianCells(options, 6) : MeasureCells();
  if (cells.size() != 6 || *std::min_element(cells.begin(), cells.end()) < 0)
    return 1;
  if (options.cells) {
    PrintCells(cells);
    return 0;
  }
  std::printf("Int8 into Int32, 64 MiB of source, and memcpy of the same "
              "bytes: ms, best of %d calls%s\n",
              kCalls, options.runs > 1 ? ", median of the runs" : "");
  const char *const conditions[] = {"as the last call left them",
                                    "flushed from the caches",
                                    "target pages never touched"};
  for (int c = 0; c < 3; ++c)
    std::printf("%-28s conversion %7.1f  memcpy %7.1f  ratio %5.2f\n",
                conditions[c], cells[2 * c], cells[2 * c + 1],
                cells[2 * c + 1] / cells[2 * c]);
  return 0;
}
