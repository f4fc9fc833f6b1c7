// Wall-clock timing for the benchmarks: best of several runs.
#ifndef TAVREL_BENCH_TIMING_H
#define TAVREL_BENCH_TIMING_H

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <vector>

// Nanoseconds per iteration of `body`, the best of `rounds` runs of `n`.
template <typename Body>
double NanosecondsPerCall(long n, Body body, int rounds = 5) {
  double best = 1e300;
  for (int r = 0; r < rounds; ++r) {
    auto start = std::chrono::steady_clock::now();
    for (long k = 0; k < n; ++k)
      body();
    std::chrono::duration<double, std::nano> took =
        std::chrono::steady_clock::now() - start;
    if (took.count() / n < best) best = took.count() / n;
  }
  return best;
}

inline double Seconds(const std::function<void()> &work, int reps) {
  auto start = std::chrono::steady_clock::now();
  for (int r = 0; r < reps; ++r)
    work();
  std::chrono::duration<double> spent =
      std::chrono::steady_clock::now() - start;
  return spent.count() / reps;
}

// Best of several trials of each work, the works taking turns so that a
// busy moment of the machine does not fall on one of them only.
inline std::vector<double>
BestSeconds(const std::vector<std::function<void()>> &works, int reps,
            int trials) {
  std::vector<double> best(works.size(), 1e300);
  for (const auto &work : works)
    work(); // first touch of every page, outside the timing
  for (int t = 0; t < trials; ++t)
    for (size_t w = 0; w < works.size(); ++w)
      best[w] = std::min(best[w], Seconds(works[w], reps));
  return best;
}

// The baseline of every ratio, called through a volatile pointer so that no
// copy is optimised away.
inline void *(*volatile gMemcpy)(void *, const void *, size_t) = std::memcpy;

#endif
