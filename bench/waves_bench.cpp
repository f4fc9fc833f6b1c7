// CopyWaveToDoubles and CopyDoublesToWave on a 10-million-point wave of
// each number type, as a ratio to memcpy moving the same bytes (wave plus
// doubles) in the same run, for each block variant. Doubles going into a
// wave are all in range, then about half out of range (NaN, infinities and
// magnitudes from 2^31 to 2^71).
//
// The wave is locked first, so that the simulated host's MoveHHi does not
// copy the whole block on every call: what is timed is the library's work.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "numconv.h"
#include "timing.h"
#include "variants.h"
#include "wave_store.h"
#include "waves.h"

namespace {

constexpr int32_t kPoints = 10000000;

struct TypeRow {
  const char *name;
  int32_t numType;
  int32_t bytes;
};

constexpr TypeRow kTypes[] = {{"Float64", 0x04, 8}, {"Float32", 0x02, 4},
                              {"Int32", 0x20, 4},   {"Int16", 0x10, 2},
                              {"Int8", 0x08, 1},    {"UInt32", 0x60, 4},
                              {"UInt16", 0x50, 2},  {"UInt8", 0x48, 1}};

void FillInRange(std::vector<double> &doubles) {
  for (int32_t k = 0; k < kPoints; ++k)
    doubles[k] = (k % 200) - 100.5;
}

void FillHalfOutOfRange(std::vector<double> &doubles) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> unit(0, 1);
  const double special[] = {std::nan(""),
                            std::numeric_limits<double>::infinity(),
                            -std::numeric_limits<double>::infinity()};
  for (double &value : doubles) {
    double sign = random() & 1 ? -1.0 : 1.0;
    uint64_t choice = random() % 16;
    if (choice < 8)
      value = (unit(random) * 2 - 1) * 100;
    else if (choice < 15)
      value = sign * std::exp2(31 + 40 * unit(random));
    else
      value = special[random() % 3];
  }
}

struct Buffers {
  std::vector<double> doubles = std::vector<double>(kPoints);
  std::vector<unsigned char> copyFrom =
      std::vector<unsigned char>(size_t(kPoints) * 8);
  std::vector<unsigned char> copyTo =
      std::vector<unsigned char>(size_t(kPoints) * 8);
};

// memcpy time over conversion time, memcpy moving half of the traffic; the
// two take turns, best of fifteen.
template <typename Convert>
double RatioToMemcpy(const TypeRow &type, Buffers &buffers, Convert convert) {
  size_t copyBytes = size_t(kPoints) * (type.bytes + 8) / 2;
  std::vector<double> seconds = BestSeconds(
      {[&] {
         std::memcpy(buffers.copyTo.data(), buffers.copyFrom.data(), copyBytes);
       },
       convert},
      1, 15);
  return seconds[0] / seconds[1];
}

void BenchType(const TypeRow &type, const std::vector<NamedVariant> &variants,
               Buffers &buffers) {
  Handle wave = hostsim::MakeWave(1, type.numType, {kPoints});
  if (wave == nullptr) {
    std::printf("%-8s no memory for the wave\n", type.name);
    return;
  }
  HLock(wave);
  auto toDoubles = [&] { CopyWaveToDoubles(wave, buffers.doubles.data()); };
  auto fromDoubles = [&] { CopyDoublesToWave(wave, buffers.doubles.data()); };
  std::printf("%-8s", type.name);
  for (auto fill : {FillInRange, FillHalfOutOfRange}) {
    fill(buffers.doubles);
    for (const NamedVariant &variant : variants) {
      SetConvertVariant(variant.code);
      std::printf(" %6.2f", RatioToMemcpy(type, buffers, fromDoubles));
    }
    std::printf(" |");
  }
  for (const NamedVariant &variant : variants) {
    SetConvertVariant(variant.code);
    std::printf(" %6.2f", RatioToMemcpy(type, buffers, toDoubles));
  }
  std::printf("\n");
  std::fflush(stdout);
  hostsim::ResetWaves();
}

} // namespace

int main() {
#ifdef __GLIBC__
  // Record items are 32 bits: keep every block on the low heap.
  mallopt(M_MMAP_MAX, 0);
#endif
  Buffers buffers;
  std::vector<NamedVariant> variants = RunnableVariants();
  std::printf(
      "%d points, memcpy and conversion taking turns, best of 15; ratio "
      "to memcpy of the same bytes "
      "(higher is faster)\n",
      kPoints);
  std::printf("%-8s %-*s | %-*s | %s\n", "wave", int(variants.size() * 7 - 1),
              "from doubles, in range", int(variants.size() * 7 - 1),
              "from doubles, half out", "to doubles");
  std::printf("%-8s", "");
  for (int column = 0; column < 3; ++column) {
    for (const NamedVariant &variant : variants)
      std::printf(" %6s", variant.name);
    std::printf(column < 2 ? " |" : "\n");
  }
  for (const TypeRow &type : kTypes)
    BenchType(type, variants, buffers);
  SetConvertVariant(ConvertVariantAuto);
  return 0;
}
