// Throughput of ConvertValues for every ordered pair of value types, next to
// memcpy moving the same traffic (source plus target bytes).
//
// Usage: numconv_bench [wide] [TEXT]
//   wide: floating sources hold magnitudes up to 2^62 instead of values
//         inside the 32-bit integer range.
//   TEXT: only the rows whose name contains TEXT.
#include "numconv.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

// A value type by its code, with the description ConvertValues takes.
struct TypeInfo {
  TypeInfo(const char *label, int32_t code) : name(label) {
    int32_t isComplex;
    DecodeNumType(code, &bytes, &kind, &isComplex);
  }
  const char *name;
  int32_t bytes = 0;
  int32_t kind = 0;
};

const TypeInfo kTypes[] = {{"Float64", NumTypeFloat64},
                           {"Float32", NumTypeFloat32},
                           {"Int32", NumTypeInt32},
                           {"Int16", NumTypeInt16},
                           {"Int8", NumTypeInt8},
                           {"UInt32", NumTypeUnsigned | NumTypeInt32},
                           {"UInt16", NumTypeUnsigned | NumTypeInt16},
                           {"UInt8", NumTypeUnsigned | NumTypeInt8}};

constexpr size_t kSourceSizes[] = {size_t(16) << 10, size_t(1) << 20,
                                   size_t(64) << 20};
constexpr size_t kLargestSource = size_t(64) << 20;
constexpr size_t kWidestValue = 8;

// Enough traffic per trial that timer resolution does not matter, little
// enough that the whole run stays well under two minutes.
constexpr double kTrafficPerTrial = 128.0 * (1 << 20);
constexpr int kTrials = 9;
constexpr int kLargeTrials = 5;

// A heap block aligned like the buffers a host hands out.
class Buffer {
public:
  explicit Buffer(size_t bytes) : storage_(bytes + 64) {
    uintptr_t at = reinterpret_cast<uintptr_t>(storage_.data());
    data_ = storage_.data() + (64 - at % 64) % 64;
  }
  unsigned char *data() { return data_; }

private:
  std::vector<unsigned char> storage_;
  unsigned char *data_;
};

void FillSource(const TypeInfo &type, unsigned char *p, size_t bytes,
                bool wide) {
  std::mt19937_64 random(42);
  std::uniform_real_distribution<double> narrow(-1e6, 1e6);
  std::uniform_real_distribution<double> exponent(0, 62);
  for (size_t at = 0; at + type.bytes <= bytes; at += type.bytes) {
    if (type.kind != NumKindFloat) {
      uint64_t bits = random();
      std::memcpy(p + at, &bits, type.bytes);
      continue;
    }
    double value =
        wide ? std::ldexp(narrow(random) * 1e-6, int(exponent(random)))
             : narrow(random);
    float single = static_cast<float>(value);
    if (type.bytes == 8)
      std::memcpy(p + at, &value, 8);
    else
      std::memcpy(p + at, &single, 4);
  }
}

// Called through a volatile pointer so that no copy is optimised away.
void *(*volatile gMemcpy)(void *, const void *, size_t) = std::memcpy;

template <typename Work> double Seconds(Work work, int reps) {
  auto start = std::chrono::steady_clock::now();
  for (int r = 0; r < reps; ++r)
    work();
  std::chrono::duration<double> spent =
      std::chrono::steady_clock::now() - start;
  return spent.count() / reps;
}

// Best of several trials, the two kinds alternating so that a busy moment
// of the machine does not fall on one of them only.
template <typename Convert, typename Copy>
void BestSeconds(Convert convert, Copy copy, int reps, int trials,
                 double &convertSeconds, double &copySeconds) {
  convert(); // first touch of every page, outside the timing
  copy();
  convertSeconds = copySeconds = 1e300;
  for (int t = 0; t < trials; ++t) {
    convertSeconds = std::min(convertSeconds, Seconds(convert, reps));
    copySeconds = std::min(copySeconds, Seconds(copy, reps));
  }
}

struct Row {
  std::string pair;
  double convert[3];
  double copy[3];
};

struct Buffers {
  Buffer source{kLargestSource};
  Buffer target{kLargestSource * kWidestValue};
  Buffer copyFrom{kLargestSource * (1 + kWidestValue) / 2};
  Buffer copyTo{kLargestSource * (1 + kWidestValue) / 2};
};

// Bytes per second of convert and of memcpy for one pair at one size.
void Measure(const TypeInfo &from, const TypeInfo &to, size_t sourceBytes,
             Buffers &buffers, double &convert, double &copy) {
  int32_t count = static_cast<int32_t>(sourceBytes / from.bytes);
  double traffic = double(count) * (from.bytes + to.bytes);
  int reps = std::max(1, int(kTrafficPerTrial / traffic));
  int trials = sourceBytes >= kLargestSource ? kLargeTrials : kTrials;
  size_t copyBytes = size_t(traffic / 2);
  double convertSeconds, copySeconds;
  BestSeconds(
      [&] {
        ConvertValues(buffers.source.data(), buffers.target.data(), count,
                      from.bytes, from.kind, to.bytes, to.kind);
      },
      [&] {
        gMemcpy(buffers.copyTo.data(), buffers.copyFrom.data(), copyBytes);
      },
      reps, trials, convertSeconds, copySeconds);
  convert = traffic / convertSeconds;
  copy = traffic / copySeconds;
}

std::string PairName(const TypeInfo &from, const TypeInfo &to) {
  if (&from == &to) return std::string(from.name) + " copy";
  return std::string(from.name) + "To" + to.name;
}

double Ratio(const Row &row, int size) {
  return row.convert[size] / row.copy[size];
}

void PrintRow(const Row &row) {
  std::printf("%-18s", row.pair.c_str());
  for (int s = 0; s < 3; ++s)
    std::printf(" | %6.1f %6.1f %5.2f", row.convert[s] / 1e9, row.copy[s] / 1e9,
                Ratio(row, s));
  std::printf("\n");
}

// Per size: the geometric mean of the ratios and the worst row.
void PrintSummary(const std::vector<Row> &rows) {
  const char *labels[] = {"16 KiB", "1 MiB", "64 MiB"};
  std::printf("summary (ConvertValues/memcpy, geometric mean, worst):");
  for (int s = 0; s < 3; ++s) {
    double logSum = 0;
    const Row *worst = &rows[0];
    for (const Row &row : rows) {
      logSum += std::log(Ratio(row, s));
      if (Ratio(row, s) < Ratio(*worst, s)) worst = &row;
    }
    std::printf("%s %s %.2f, %s %.2f", s ? ";" : "", labels[s],
                std::exp(logSum / rows.size()), worst->pair.c_str(),
                Ratio(*worst, s));
  }
  std::printf("\n");
}

} // namespace

int main(int argc, char **argv) {
  bool wide = false;
  const char *only = "";
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "wide") == 0)
      wide = true;
    else
      only = argv[i];
  }
  Buffers buffers;
  std::printf("GB/s of source+target traffic: ConvertValues, memcpy, ratio\n");
  std::printf("%-18s | %-19s | %-19s | %-19s\n", "pair", "16 KiB source",
              "1 MiB source", "64 MiB source");
  std::vector<Row> rows;
  for (const TypeInfo &from : kTypes) {
    FillSource(from, buffers.source.data(), kLargestSource, wide);
    for (const TypeInfo &to : kTypes) {
      Row row{PairName(from, to), {}, {}};
      if (row.pair.find(only) == std::string::npos) continue;
      for (int s = 0; s < 3; ++s)
        Measure(from, to, kSourceSizes[s], buffers, row.convert[s],
                row.copy[s]);
      PrintRow(row);
      std::fflush(stdout);
      rows.push_back(row);
    }
  }
  if (!rows.empty()) PrintSummary(rows);
  return 0;
}
