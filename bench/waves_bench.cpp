// CopyWaveToDoubles and CopyDoublesToWave on a 10-million-point wave of
// each number type, next to memcpy of the doubles' bytes.
//
// The wave is locked first, so that the simulated host's MoveHHi does not
// copy the whole block on every call: what is timed is the library's work.
#include <cstdio>
#include <cstring>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "timing.h"
#include "wave_store.h"
#include "waves.h"

namespace {

constexpr int32_t kPoints = 10000000;

struct TypeRow {
  const char *name;
  int32_t numType;
};

constexpr TypeRow kTypes[] = {
    {"Float64", 0x04}, {"Float32", 0x02}, {"Int32", 0x20},  {"Int16", 0x10},
    {"Int8", 0x08},    {"UInt32", 0x60},  {"UInt16", 0x50}, {"UInt8", 0x48}};

double Milliseconds(double nanoseconds) { return nanoseconds / 1e6; }

void BenchType(const TypeRow &type, std::vector<double> &doubles,
               std::vector<double> &copy) {
  Handle wave = hostsim::MakeWave(1, type.numType, {kPoints});
  if (wave == nullptr) {
    std::printf("%-8s no memory for the wave\n", type.name);
    return;
  }
  HLock(wave);
  double toDoubles =
      NanosecondsPerCall(1, [&] { CopyWaveToDoubles(wave, doubles.data()); });
  double fromDoubles =
      NanosecondsPerCall(1, [&] { CopyDoublesToWave(wave, doubles.data()); });
  double memcpyTime = NanosecondsPerCall(1, [&] {
    std::memcpy(copy.data(), doubles.data(), doubles.size() * sizeof(double));
  });
  std::printf("%-8s to doubles %8.2f ms (%5.2fx memcpy)   from doubles %8.2f "
              "ms (%5.2fx memcpy)   memcpy %8.2f ms\n",
              type.name, Milliseconds(toDoubles), toDoubles / memcpyTime,
              Milliseconds(fromDoubles), fromDoubles / memcpyTime,
              Milliseconds(memcpyTime));
  hostsim::ResetWaves();
}

} // namespace

int main() {
#ifdef __GLIBC__
  // Record items are 32 bits: keep every block on the low heap.
  mallopt(M_MMAP_MAX, 0);
#endif
  std::vector<double> doubles(kPoints), copy(kPoints);
  for (int32_t k = 0; k < kPoints; ++k)
    doubles[k] = (k % 200) - 100.5;
  std::printf("%d points, best of 5 runs\n", kPoints);
  for (const TypeRow &type : kTypes)
    BenchType(type, doubles, copy);
  return 0;
}
