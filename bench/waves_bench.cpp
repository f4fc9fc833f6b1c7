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
#include <iterator>
#include <limits>
#include <random>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "numconv.h"
#include "runs.h"
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

// Per variant: from doubles in range, from doubles half out of range, then
// to doubles; -1 where the wave could not be made.
std::vector<double> BenchType(const TypeRow &type,
                              const std::vector<NamedVariant> &variants,
                              Buffers &buffers) {
  std::vector<double> cells(3 * variants.size(), -1);
  Handle wave = hostsim::MakeWave(1, type.numType, {kPoints});
  if (wave == nullptr) return cells;
  HLock(wave);
  auto toDoubles = [&] { CopyWaveToDoubles(wave, buffers.doubles.data()); };
  auto fromDoubles = [&] { CopyDoublesToWave(wave, buffers.doubles.data()); };
  size_t at = 0;
  for (auto fill : {FillInRange, FillHalfOutOfRange}) {
    fill(buffers.doubles);
    for (const NamedVariant &variant : variants) {
      SetConvertVariant(variant.code);
      cells[at++] = RatioToMemcpy(type, buffers, fromDoubles);
    }
  }
  for (const NamedVariant &variant : variants) {
    SetConvertVariant(variant.code);
    cells[at++] = RatioToMemcpy(type, buffers, toDoubles);
  }
  hostsim::ResetWaves();
  SetConvertVariant(ConvertVariantAuto);
  return cells;
}

std::vector<double> MeasureCells(const std::vector<NamedVariant> &variants) {
#ifdef __GLIBC__
  // Record items are 32 bits: keep every block on the low heap.
  mallopt(M_MMAP_MAX, 0);
#endif
  Buffers buffers;
  std::vector<double> cells;
  for (const TypeRow &type : kTypes) {
    std::vector<double> row = BenchType(type, variants, buffers);
    cells.insert(cells.end(), row.begin(), row.end());
  }
  return cells;
}

void PrintHeader(const std::vector<NamedVariant> &variants, int runs) {
  std::printf("%d points, memcpy and conversion taking turns, best of 15",
              kPoints);
  if (runs > 1)
    std::printf(", median of %d runs in processes of their own", runs);
  std::printf("; ratio to memcpy of the same bytes (higher is faster)\n");
  std::printf("%-8s %-*s | %-*s | %s\n", "wave", int(variants.size() * 7 - 1),
              "from doubles, in range", int(variants.size() * 7 - 1),
              "from doubles, half out", "to doubles");
  std::printf("%-8s", "");
  for (int column = 0; column < 3; ++column) {
    for (const NamedVariant &variant : variants)
      std::printf(" %6s", variant.name);
    std::printf(column < 2 ? " |" : "\n");
  }
}

void PrintRows(const std::vector<double> &cells, size_t variants) {
  size_t at = 0;
  for (const TypeRow &type : kTypes) {
    std::printf("%-8s", type.name);
    for (size_t column = 0; column < 3 * variants; ++column) {
      double cell = cells[at++];
      cell < 0 ? std::printf(" %6s", "--") : std::printf(" %6.2f", cell);
      if (column % variants == variants - 1 && column + 1 < 3 * variants)
        std::printf(" |");
    }
    std::printf("\n");
  }
}

} // namespace

// waves_bench [--runs N]: each figure the median of N runs, each in a
// process of its own (runs.h).
int main(int argc, char **argv) {
  RunOptions options = ParseRunOptions(argc, argv);
  std::vector<NamedVariant> variants = RunnableVariants();
  SetConvertVariant(ConvertVariantAuto);
  size_t count = std::size(kTypes) * 3 * variants.size();
  std::vector<double> cells =
      options.runs > 1 ? MedianCells(options, count) : MeasureCells(variants);
  if (cells.empty()) return 1;
  if (options.cells) {
    PrintCells(cells);
    return 0;
  }
  PrintHeader(variants, options.runs);
  PrintRows(cells, variants.size());
  return 0;
}
