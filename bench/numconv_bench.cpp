// Throughput of ConvertValues for the 56 ordered pairs of distinct value
// types, as a ratio to memcpy moving the same traffic (source plus target
// bytes) in the same run. Each mix of source values is measured for every
// block variant, beside a plain one-value-at-a-time loop, and summed up next
// to the figures recorded before the variants existed.
//
// Usage: numconv_bench [TEXT [SKEW]] [--runs N]   only the pairs whose name
// contains TEXT; source and target SKEW bytes past a 64-byte boundary (0 to
// 63), as host blocks lie (memcpy's buffers stay aligned); each figure the
// median of N runs, each in a process of its own (runs.h).
#include "numconv.h"
#include "runs.h"
#include "timing.h"
#include "variants.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

// ---- Value types.

using Types = std::tuple<double, float, int32_t, int16_t, int8_t, uint32_t,
                         uint16_t, uint8_t>;
template <size_t K> using TypeAt = std::tuple_element_t<K, Types>;

struct TypeInfo {
  const char *name;
  int32_t bytes;
  int32_t kind;
};

constexpr TypeInfo kTypes[] = {
    {"Float64", 8, NumKindFloat},   {"Float32", 4, NumKindFloat},
    {"Int32", 4, NumKindSigned},    {"Int16", 2, NumKindSigned},
    {"Int8", 1, NumKindSigned},     {"UInt32", 4, NumKindUnsigned},
    {"UInt16", 2, NumKindUnsigned}, {"UInt8", 1, NumKindUnsigned}};
constexpr int kTypeCount = 8;

// ---- The plain loop that the blocks must beat: one value at a time, by
// the same rules, left unvectorised.

template <typename S, typename D> D PlainOne(S value) {
  if constexpr (std::is_floating_point_v<S> && std::is_integral_v<D>) {
    double x = value;
    int64_t whole = x >= -0x1p63 && x < 0x1p63 ? static_cast<int64_t>(x) : 0;
    return static_cast<D>(static_cast<std::make_unsigned_t<D>>(whole));
  } else {
    return static_cast<D>(value);
  }
}

#if defined(__GNUC__) && !defined(__clang__)
#define BENCH_SCALAR __attribute__((optimize("no-tree-vectorize")))
#else
#define BENCH_SCALAR
#endif

template <typename S, typename D>
BENCH_SCALAR void PlainLoop(const void *source, void *target, int32_t count) {
  auto from = static_cast<const unsigned char *>(source);
  auto to = static_cast<unsigned char *>(target);
  for (int32_t i = 0; i < count; ++i) {
    S value;
    std::memcpy(&value, from + size_t(i) * sizeof(S), sizeof(S));
    D converted = PlainOne<S, D>(value);
    std::memcpy(to + size_t(i) * sizeof(D), &converted, sizeof(D));
  }
}

using PairLoop = void (*)(const void *, void *, int32_t);

template <size_t... K>
constexpr std::array<PairLoop, sizeof...(K)>
PlainLoops(std::index_sequence<K...>) {
  return {&PlainLoop<TypeAt<K / kTypeCount>, TypeAt<K % kTypeCount>>...};
}
constexpr auto kPlainLoops =
    PlainLoops(std::make_index_sequence<kTypeCount * kTypeCount>{});

// ---- Source values.

enum Mix { kInRange, kOutOfRange, kNanAndInfinities, kHalfOutOfRange };
constexpr Mix kMixes[] = {kInRange, kOutOfRange, kNanAndInfinities,
                          kHalfOutOfRange};
const char *const kMixNames[] = {
    "all in range (within +-100)", "all out of range (2^31 to 2^71)",
    "NaN and infinities", "random, about half out of range"};

double FloatingValue(Mix mix, std::mt19937_64 &random) {
  std::uniform_real_distribution<double> unit(0, 1);
  double sign = random() & 1 ? -1.0 : 1.0;
  double inRange = (unit(random) * 2 - 1) * 100;
  double outOfRange = sign * std::exp2(31 + 40 * unit(random));
  switch (mix) {
  case kInRange:
    return inRange;
  case kOutOfRange:
    return outOfRange;
  case kNanAndInfinities:
    return random() % 3 ? sign * std::numeric_limits<double>::infinity()
                        : std::nan("");
  default:
    return random() & 2 ? inRange : outOfRange;
  }
}

// Integer sources are random bits whatever the mix.
void FillSource(const TypeInfo &type, Mix mix, unsigned char *p, size_t bytes) {
  std::mt19937_64 random(42);
  for (size_t at = 0; at + type.bytes <= bytes; at += type.bytes) {
    uint64_t bits = random();
    double value = FloatingValue(mix, random);
    float single = static_cast<float>(value);
    if (type.kind != NumKindFloat)
      std::memcpy(p + at, &bits, type.bytes);
    else if (type.bytes == 8)
      std::memcpy(p + at, &value, 8);
    else
      std::memcpy(p + at, &single, 4);
  }
}

// ---- Ways of converting: each variant of ConvertValues, then the plain
// loop.

// A variant's code, or -1 for the plain loop.
using Way = NamedVariant;

std::vector<Way> Ways() {
  std::vector<Way> ways = RunnableVariants();
  ways.push_back({"plain", -1});
  return ways;
}

// ---- Figures recorded before the variants existed, on this bench's mixes
// (geometric mean and worst pair per size), native build on the 2-core
// development machine.

struct Recorded {
  double mean;
  const char *worst;
  double worstRatio;
};
const Recorded kBefore[4][3] = {{{0.40, "Float32ToUInt16", 0.22},
                                 {0.79, "Float64ToUInt8", 0.42},
                                 {0.86, "UInt8ToInt16", 0.55}},
                                {{0.23, "Float32ToInt16", 0.01},
                                 {0.48, "Float32ToInt16", 0.02},
                                 {0.60, "Float32ToUInt16", 0.08}},
                                {{0.23, "Float32ToUInt16", 0.01},
                                 {0.48, "Float32ToInt16", 0.02},
                                 {0.60, "Float32ToUInt16", 0.08}},
                                {{0.23, "Float32ToUInt16", 0.01},
                                 {0.48, "Float32ToUInt16", 0.02},
                                 {0.60, "Float32ToInt16", 0.08}}};

// ---- Timing.

constexpr size_t kSourceSizes[] = {size_t(16) << 10, size_t(1) << 20,
                                   size_t(64) << 20};
const char *const kSizeNames[] = {"16 KiB", "1 MiB", "64 MiB"};
constexpr int kSizes = 3;
constexpr size_t kLargestSource = size_t(64) << 20;
constexpr size_t kWidestValue = 8;

// Enough traffic per trial that timer resolution does not matter, little
// enough that the whole run stays within a few minutes.
constexpr double kTrafficPerTrial = 64.0 * (1 << 20);
constexpr int kTrials = 7;
constexpr int kLargeTrials = 3;

// A heap block aligned like the buffers a host hands out.
class Buffer {
public:
  explicit Buffer(size_t bytes) : storage_(bytes + 128) {
    uintptr_t at = reinterpret_cast<uintptr_t>(storage_.data());
    data_ = storage_.data() + (64 - at % 64) % 64;
  }
  unsigned char *data() { return data_; }

private:
  std::vector<unsigned char> storage_;
  unsigned char *data_;
};

struct Buffers {
  Buffer source{kLargestSource};
  Buffer target{kLargestSource * kWidestValue};
  Buffer copyFrom{kLargestSource * (1 + kWidestValue) / 2};
  Buffer copyTo{kLargestSource * (1 + kWidestValue) / 2};
};

size_t gSkew = 0;

// One pair under one mix; integer sources, which do not depend on the mix,
// are measured under the first mix only and shown under every mix.
struct Row {
  Mix mix;
  int from;
  int to;
  std::string pair;
  std::vector<std::array<double, kSizes>> ratio; // per way, per size
};

bool IsFloating(int type) { return kTypes[type].kind == NumKindFloat; }

// The rows whose pair name contains `only`, in the order they are measured.
std::vector<Row> PlanRows(const std::string &only, size_t ways) {
  std::vector<Row> rows;
  for (Mix mix : kMixes)
    for (int from = 0; from < kTypeCount; ++from) {
      if (!IsFloating(from) && mix != kMixes[0]) continue;
      for (int to = 0; to < kTypeCount; ++to) {
        std::string name =
            std::string(kTypes[from].name) + "To" + kTypes[to].name;
        if (to == from || name.find(only) == std::string::npos) continue;
        rows.push_back({mix, from, to, name, {}});
        rows.back().ratio.resize(ways);
      }
    }
  return rows;
}

// Ratios to memcpy of every way for one pair at one size.
std::vector<double> Measure(int from, int to, size_t sourceBytes,
                            const std::vector<Way> &ways, Buffers &buffers) {
  const TypeInfo &s = kTypes[from], &d = kTypes[to];
  int32_t count = static_cast<int32_t>(sourceBytes / s.bytes);
  double traffic = double(count) * (s.bytes + d.bytes);
  int reps = std::max(1, int(kTrafficPerTrial / traffic));
  int trials = sourceBytes >= kLargestSource ? kLargeTrials : kTrials;
  unsigned char *source = buffers.source.data() + gSkew,
                *target = buffers.target.data() + gSkew;
  std::vector<std::function<void()>> works;
  works.push_back([&, traffic] {
    gMemcpy(buffers.copyTo.data(), buffers.copyFrom.data(),
            size_t(traffic / 2));
  });
  for (const Way &way : ways) {
    if (way.code < 0) {
      PairLoop loop = kPlainLoops[from * kTypeCount + to];
      works.push_back([=] { loop(source, target, count); });
    } else {
      int32_t variant = way.code;
      works.push_back([=] {
        SetConvertVariant(variant);
        ConvertValues(source, target, count, s.bytes, s.kind, d.bytes, d.kind);
      });
    }
  }
  std::vector<double> seconds = BestSeconds(works, reps, trials);
  std::vector<double> ratios;
  for (size_t w = 1; w < seconds.size(); ++w)
    ratios.push_back(seconds[0] / seconds[w]);
  return ratios;
}

void MeasureRow(Row &row, const std::vector<Way> &ways, Buffers &buffers) {
  for (int size = 0; size < kSizes; ++size) {
    std::vector<double> ratios =
        Measure(row.from, row.to, kSourceSizes[size], ways, buffers);
    for (size_t w = 0; w < ways.size(); ++w)
      row.ratio[w][size] = ratios[w];
  }
}

// Measures the rows of one mix (all rows for mix < 0), filling the source
// for each source type.
void MeasureRows(std::vector<Row> &rows, int mix, const std::vector<Way> &ways,
                 Buffers &buffers) {
  const Row *filled = nullptr;
  for (Row &row : rows) {
    if (mix >= 0 && row.mix != mix) continue;
    if (!filled || filled->mix != row.mix || filled->from != row.from)
      FillSource(kTypes[row.from], row.mix, buffers.source.data() + gSkew,
                 kLargestSource);
    filled = &row;
    MeasureRow(row, ways, buffers);
  }
}

// Every ratio, row by row, way by way, size by size.
std::vector<double> Cells(const std::vector<Row> &rows) {
  std::vector<double> cells;
  for (const Row &row : rows)
    for (const auto &ratios : row.ratio)
      cells.insert(cells.end(), ratios.begin(), ratios.end());
  return cells;
}

void SetCells(std::vector<Row> &rows, const std::vector<double> &cells) {
  size_t at = 0;
  for (Row &row : rows)
    for (auto &ratios : row.ratio)
      for (double &ratio : ratios)
        ratio = cells[at++];
}

void PrintHeader(const std::vector<Way> &ways) {
  std::printf("%-18s", "ratio to memcpy");
  for (const char *size : kSizeNames) {
    std::printf(" | %-*s", int(ways.size() * 7 - 1), size);
  }
  std::printf("\n%-18s", "pair");
  for (int size = 0; size < kSizes; ++size) {
    std::printf(" |");
    for (const Way &way : ways)
      std::printf(" %6.6s", way.name);
  }
  std::printf("\n");
}

void PrintRow(const Row &row) {
  std::printf("%-18s", row.pair.c_str());
  for (int size = 0; size < kSizes; ++size) {
    std::printf(" |");
    for (const auto &ratios : row.ratio)
      std::printf(" %6.2f", ratios[size]);
  }
  std::printf("\n");
  std::fflush(stdout);
}

void PrintSummaryLine(const char *name, const Recorded (&figures)[kSizes]) {
  std::printf("  %-8s", name);
  for (int size = 0; size < kSizes; ++size)
    std::printf("%s %s %.2f (worst %s %.2f)", size ? ";" : "", kSizeNames[size],
                figures[size].mean, figures[size].worst,
                figures[size].worstRatio);
  std::printf("\n");
}

// Per way and size: the geometric mean of the ratios and the worst pair.
void PrintSummary(Mix mix, const std::vector<const Row *> &rows,
                  const std::vector<Way> &ways) {
  std::printf("summary, %s: geometric mean over %zu pairs\n", kMixNames[mix],
              rows.size());
  for (size_t w = 0; w < ways.size(); ++w) {
    Recorded figures[kSizes];
    for (int size = 0; size < kSizes; ++size) {
      double logSum = 0;
      const Row *worst = rows[0];
      for (const Row *row : rows) {
        logSum += std::log(row->ratio[w][size]);
        if (row->ratio[w][size] < worst->ratio[w][size]) worst = row;
      }
      figures[size] = {std::exp(logSum / rows.size()), worst->pair.c_str(),
                       worst->ratio[w][size]};
    }
    PrintSummaryLine(ways[w].name, figures);
  }
  if (kBefore[mix][0].worst) PrintSummaryLine("before", kBefore[mix]);
  std::printf("\n");
}

// The rows of one mix, integer sources included, and their summary.
void PrintMix(Mix mix, const std::vector<Row> &rows,
              const std::vector<Way> &ways) {
  std::printf("== %s\n", kMixNames[mix]);
  PrintHeader(ways);
  std::vector<const Row *> summed;
  bool integers = false;
  for (const Row &row : rows) {
    if (row.mix == mix) PrintRow(row);
    if (row.mix == mix || !IsFloating(row.from)) summed.push_back(&row);
    integers = integers || !IsFloating(row.from);
  }
  if (mix != kMixes[0] && integers)
    std::printf("(integer sources as measured above)\n");
  if (!summed.empty()) PrintSummary(mix, summed, ways);
}

// The medians of options.runs children, printed like one run.
int PrintMedians(const RunOptions &options, std::vector<Row> &rows,
                 const std::vector<Way> &ways) {
  std::vector<double> cells = MedianCells(options, Cells(rows).size());
  if (cells.empty()) return 1;
  SetCells(rows, cells);
  std::printf("median of %d runs, each in a process of its own\n",
              options.runs);
  for (Mix mix : kMixes)
    PrintMix(mix, rows, ways);
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  RunOptions options = ParseRunOptions(argc, argv);
  std::string only = options.rest.size() > 0 ? options.rest[0] : "";
  if (options.rest.size() > 1)
    gSkew = std::strtoul(options.rest[1].c_str(), nullptr, 10) % 64;
  if (gSkew && !options.cells)
    std::printf("source and target %zu bytes past alignment\n", gSkew);
  std::vector<Way> ways = Ways();
  std::vector<Row> rows = PlanRows(only, ways.size());
  if (options.runs > 1) return PrintMedians(options, rows, ways);
  Buffers buffers;
  if (options.cells) {
    MeasureRows(rows, -1, ways, buffers);
    PrintCells(Cells(rows));
    return 0;
  }
  for (Mix mix : kMixes) {
    MeasureRows(rows, mix, ways, buffers);
    PrintMix(mix, rows, ways);
  }
  return 0;
}
