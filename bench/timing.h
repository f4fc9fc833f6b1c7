// Wall-clock timing for the benchmarks: best of several runs.
#ifndef TAVREL_BENCH_TIMING_H
#define TAVREL_BENCH_TIMING_H

#include <chrono>

// Nanoseconds per iteration of `body`, the best of `rounds` runs of `n`.
template <typename Body>
double NanosecondsPerCall(long n, Body body, int rounds = 5) {
  double best = 1e300;
  for (int r = 0; r < rounds; ++r) {
    auto start = std::chrono::steady_clock::now();
    for (long k = 0; k < n; ++k) body();
    std::chrono::duration<double, std::nano> took =
        std::chrono::steady_clock::now() - start;
    if (took.count() / n < best) best = took.count() / n;
  }
  return best;
}

#endif
