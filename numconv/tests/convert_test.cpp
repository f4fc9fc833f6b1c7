// Every ordered pair of value types against a one-value-at-a-time model of
// the conversion rules, out of place and in place.
#include "numconv.h"
#include "variants.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "runnable_variants.h"

namespace {

using Bytes = std::vector<unsigned char>;

struct TypeInfo {
  const char *name;
  int32_t bytes;
  int32_t kind;
};

constexpr TypeInfo kTypes[] = {
    {"Float64", 8, 3}, {"Float32", 4, 3}, {"Int32", 4, 1},  {"Int16", 2, 1},
    {"Int8", 1, 1},    {"UInt32", 4, 2},  {"UInt16", 2, 2}, {"UInt8", 1, 2}};

// ---- The model.

// A source value as read: floats widened to double (exact), integers to
// int64 with their own signedness.
struct ModelValue {
  bool floating;
  double real;
  int64_t integer;
};

ModelValue ReadModel(const TypeInfo &type, const unsigned char *p) {
  if (type.kind == 3 && type.bytes == 8) {
    double d;
    std::memcpy(&d, p, 8);
    return {true, d, 0};
  }
  if (type.kind == 3) {
    float f;
    std::memcpy(&f, p, 4);
    return {true, f, 0};
  }
  uint64_t raw = 0;
  std::memcpy(&raw, p, type.bytes);
  int shift = 64 - 8 * type.bytes;
  if (type.kind == 1)
    return {false, 0, static_cast<int64_t>(raw << shift) >> shift};
  return {false, 0, static_cast<int64_t>(raw)};
}

uint64_t TruncatedBits(double x) {
  double whole = std::trunc(x);
  if (!(whole >= -0x1p63 && whole < 0x1p63)) return 0;
  return static_cast<uint64_t>(static_cast<int64_t>(whole));
}

void WriteModel(const TypeInfo &type, const ModelValue &v, unsigned char *p) {
  double real = v.floating ? v.real : static_cast<double>(v.integer);
  if (type.kind == 3 && type.bytes == 8) {
    std::memcpy(p, &real, 8);
  } else if (type.kind == 3) {
    float f = static_cast<float>(real);
    std::memcpy(p, &f, 4);
  } else {
    uint64_t bits =
        v.floating ? TruncatedBits(v.real) : static_cast<uint64_t>(v.integer);
    std::memcpy(p, &bits, type.bytes);
  }
}

Bytes ModelConvert(const TypeInfo &from, const TypeInfo &to,
                   const Bytes &source) {
  size_t count = source.size() / from.bytes;
  if (from.bytes == to.bytes && from.kind == to.kind) return source;
  Bytes target(count * to.bytes);
  for (size_t i = 0; i < count; ++i)
    WriteModel(to, ReadModel(from, &source[i * from.bytes]),
               &target[i * to.bytes]);
  return target;
}

// ---- Source values: boundaries of every type, then random ones.

std::vector<double> FloatBoundaries() {
  const double inf = std::numeric_limits<double>::infinity();
  const double denormal = std::numeric_limits<double>::denorm_min();
  std::vector<double> values = {0.0,
                                -0.0,
                                0.5,
                                -0.5,
                                1.5,
                                -1.5,
                                2.5,
                                -2.9,
                                -3.7,
                                127.9,
                                128.0,
                                -128.0,
                                -129.0,
                                255.0,
                                256.0,
                                300.7,
                                32767.0,
                                32768.0,
                                -32769.0,
                                65535.5,
                                65536.0,
                                0x1p24 + 1,
                                -0x1p24 - 1,
                                0x1p31 - 0.5,
                                0x1p31,
                                -0x1p31,
                                -0x1p31 - 1,
                                -0x1p31 - 0.5,
                                3e9,
                                4294967295.0,
                                0x1p32,
                                0x1p32 + 0.5,
                                -0x1p32 - 3,
                                0x1p52 - 0.5,
                                0x1p52,
                                0x1p52 + 1,
                                -0x1p52 - 3,
                                0x1p53 + 2,
                                0x1p62 + 0x1p40 + 0x1p31,
                                -0x1p62 - 0x1p33,
                                0x1.fffffffffffffp62,
                                -0x1.fffffffffffffp62,
                                0x1p62,
                                -0x1p62,
                                0x1.fffffep61,
                                0x1p31 * 3 + 0.5,
                                -0x1p31 * 3 - 0.5,
                                0x1p32 * 5 + 0x1p31,
                                -0x1p32 * 6 - 0x1p31,
                                0x1p40 * 3 + 0x1p39,
                                -0x1p40 * 3 - 0x1p39,
                                0x1p63,
                                -0x1p63,
                                0x1p64,
                                1e20,
                                -1e20,
                                1e39,
                                -1e39,
                                inf,
                                -inf,
                                denormal,
                                -denormal,
                                std::numeric_limits<double>::min(),
                                std::numeric_limits<double>::max(),
                                std::numeric_limits<float>::max(),
                                std::numeric_limits<float>::min(),
                                std::numeric_limits<float>::denorm_min()};
  for (uint64_t nan :
       {UINT64_C(0x7FF8000000000000), UINT64_C(0xFFF8000000000001),
        UINT64_C(0x7FF0000000000001), UINT64_C(0x7FF4000020000000),
        UINT64_C(0xFFFFFFFFFFFFFFFF)}) {
    double d;
    std::memcpy(&d, &nan, 8);
    values.push_back(d);
  }
  return values;
}

std::vector<int64_t> IntegerBoundaries() {
  return {0,      1,          -1,         2,          127,        128,
          -128,   -129,       255,        256,        32767,      32768,
          -32768, -32769,     65535,      65536,      0x1000001,  -0x1000001,
          0x5678, 0x12345678, 0x7FFFFFFF, INT32_MIN,  0x80000000, 0xFFFFFFFF,
          0xFFFE, 0xFF00FF80, 0x7FFFFF80, 0x7FFFFFC1, 0xFFFFFF80, 0xFFFFFF7F};
}

void AppendValue(const TypeInfo &type, ModelValue value, Bytes &out) {
  out.resize(out.size() + type.bytes);
  unsigned char *p = &out[out.size() - type.bytes];
  if (type.kind == 3 && !value.floating)
    value = {true, static_cast<double>(value.integer), 0};
  if (type.kind != 3 && value.floating)
    value = {false, 0, static_cast<int64_t>(TruncatedBits(value.real))};
  WriteModel(type, value, p);
}

void AppendRandom(const TypeInfo &type, std::mt19937_64 &random, Bytes &out) {
  uint64_t bits = random();
  if (type.kind == 3 && (bits & 1)) {
    // Random magnitudes around the integer ranges, with fractions.
    double mantissa = 1.0 + static_cast<double>(bits >> 12) * 0x1p-52;
    int exponent = static_cast<int>((bits >> 1) % 72) - 4;
    double value = std::ldexp((bits & 2) ? -mantissa : mantissa, exponent);
    AppendValue(type, {true, value, 0}, out);
    return;
  }
  out.resize(out.size() + type.bytes);
  std::memcpy(&out[out.size() - type.bytes], &bits, type.bytes);
}

Bytes SourceValues(const TypeInfo &type, size_t randomCount) {
  Bytes out;
  for (double value : FloatBoundaries())
    AppendValue(type, {true, value, 0}, out);
  for (int64_t value : IntegerBoundaries())
    AppendValue(type, {false, 0, value}, out);
  if (type.kind == 3 && type.bytes == 4) {
    for (uint32_t nan : {0x7FC00000u, 0xFFC00001u, 0x7F800001u, 0x7FA00010u,
                         0x00000001u, 0x807FFFFFu}) {
      out.resize(out.size() + 4);
      std::memcpy(&out[out.size() - 4], &nan, 4);
    }
  }
  std::mt19937_64 random(0x5EED + type.bytes * 16 + type.kind);
  for (size_t i = 0; i < randomCount; ++i)
    AppendRandom(type, random, out);
  return out;
}

// ---- Checks.

constexpr size_t kGuardBytes = 64;
constexpr unsigned char kGuard = 0xA5;

std::string Describe(const Bytes &bytes, size_t at, size_t width) {
  std::string out;
  char hex[4];
  for (size_t i = width; i-- > 0;) {
    std::snprintf(hex, sizeof hex, "%02X", bytes[at + i]);
    out += hex;
  }
  return out;
}

// Compares value by value so that a failure names the first wrong index.
void ExpectSameValues(const Bytes &expected, const Bytes &actual, size_t at,
                      const TypeInfo &to, const Bytes &source,
                      const TypeInfo &from) {
  if (std::memcmp(expected.data(), &actual[at], expected.size()) == 0) return;
  size_t count = expected.size() / to.bytes;
  for (size_t i = 0; i < count; ++i) {
    if (std::memcmp(&expected[i * to.bytes], &actual[at + i * to.bytes],
                    to.bytes) != 0) {
      ADD_FAILURE() << "value " << i << " of " << count << ": source 0x"
                    << Describe(source, i * from.bytes, from.bytes)
                    << " gives 0x"
                    << Describe(actual, at + i * to.bytes, to.bytes)
                    << ", expected 0x"
                    << Describe(expected, i * to.bytes, to.bytes);
      return;
    }
  }
}

// Bytes outside [begin, end) must be as they were before the call.
void ExpectUntouchedOutside(const Bytes &before, const Bytes &after,
                            size_t begin, size_t end) {
  if (std::memcmp(before.data(), after.data(), begin) == 0 &&
      std::memcmp(&before[end], &after[end], after.size() - end) == 0)
    return;
  for (size_t i = 0; i < after.size(); ++i) {
    if ((i < begin || i >= end) && before[i] != after[i]) {
      ADD_FAILURE() << "byte " << i << " changed outside [" << begin << ", "
                    << end << ")";
      return;
    }
  }
}

int32_t ExpectedResult(const TypeInfo &from, const TypeInfo &to) {
  return from.bytes == to.bytes && from.kind == to.kind ? -1 : 0;
}

// Every variant this machine runs must be accepted when forced.
void ForceVariant(int32_t variant) {
  ASSERT_EQ(ConvertResultDone, SetConvertVariant(variant))
      << "refused variant " << variant << ", which this machine runs";
}

// Every pair runs under each block variant, so the variants agree with the
// model and therefore with each other.
class ConvertPair
    : public testing::TestWithParam<std::tuple<int, int, int32_t>> {
protected:
  void SetUp() override { ForceVariant(std::get<2>(GetParam())); }
  void TearDown() override { SetConvertVariant(ConvertVariantAuto); }

  const TypeInfo &From() const { return kTypes[std::get<0>(GetParam())]; }
  const TypeInfo &To() const { return kTypes[std::get<1>(GetParam())]; }

  int32_t Convert(const Bytes &source, const void *from, void *to) const {
    return ConvertValues(from, to, Count(source), From().bytes, From().kind,
                         To().bytes, To().kind);
  }
  int32_t Count(const Bytes &source) const {
    return static_cast<int32_t>(source.size() / From().bytes);
  }

  // Target at `shift` bytes past the guard and source at `sourceShift`
  // bytes past a 64-byte boundary, so that the vector loop starts at
  // different alignments of either (and at none, for odd shifts).
  void CheckOutOfPlace(const Bytes &source, const Bytes &expected, size_t shift,
                       size_t sourceShift = 0) {
    Bytes buffer(2 * kGuardBytes + shift + expected.size(), kGuard);
    Bytes before = buffer;
    size_t at = kGuardBytes + shift;
    Bytes shifted(source.size() + 128);
    unsigned char *from =
        shifted.data() +
        (64 - reinterpret_cast<uintptr_t>(shifted.data()) % 64) +
        sourceShift % 64;
    std::memcpy(from, source.data(), source.size());
    EXPECT_EQ(ExpectedResult(From(), To()), Convert(source, from, &buffer[at]));
    ExpectSameValues(expected, buffer, at, To(), source, From());
    ExpectUntouchedOutside(before, buffer, at, at + expected.size());
  }

  // Buffer sized for the wider type; bytes past a narrower result keep
  // what they held.
  void CheckInPlace(const Bytes &source, const Bytes &expected, size_t shift) {
    size_t wider = std::max(source.size(), expected.size());
    Bytes buffer(2 * kGuardBytes + shift + wider, kGuard);
    size_t at = kGuardBytes + shift;
    for (size_t i = source.size(); i < wider; ++i)
      buffer[at + i] = static_cast<unsigned char>(i * 7);
    std::memcpy(&buffer[at], source.data(), source.size());
    Bytes before = buffer;
    EXPECT_EQ(ExpectedResult(From(), To()),
              Convert(source, &buffer[at], &buffer[at]));
    ExpectSameValues(expected, buffer, at, To(), source, From());
    ExpectUntouchedOutside(before, buffer, at, at + expected.size());
  }
};

TEST_P(ConvertPair, OutOfPlaceMatchesModel) {
  Bytes source = SourceValues(From(), 3000);
  Bytes expected = ModelConvert(From(), To(), source);
  const size_t shifts[][2] = {{0, 0},   {1, 8},  {4, 3},   {8, 16},
                              {12, 40}, {16, 1}, {24, 56}, {32, 24}};
  for (const auto &shift : shifts)
    CheckOutOfPlace(source, expected, shift[0], shift[1]);
}

TEST_P(ConvertPair, InPlaceMatchesModel) {
  Bytes source = SourceValues(From(), 3000);
  Bytes expected = ModelConvert(From(), To(), source);
  for (size_t shift : {0, 3, 8, 16})
    CheckInPlace(source, expected, shift);
}

TEST_P(ConvertPair, ShortArraysMatchModel) {
  Bytes all = SourceValues(From(), 40);
  for (size_t count : {1, 2, 15, 16, 17, 31, 32, 33, 65}) {
    Bytes source(all.end() - count * From().bytes, all.end());
    Bytes expected = ModelConvert(From(), To(), source);
    CheckOutOfPlace(source, expected, 8);
    CheckInPlace(source, expected, 0);
  }
}

TEST_P(ConvertPair, NothingToConvertWritesNothing) {
  int64_t original = 0x0123456789ABCDEF;
  for (int32_t count : {0, -1, INT32_MIN}) {
    int64_t source = original, target = ~original;
    EXPECT_EQ(ExpectedResult(From(), To()),
              ConvertValues(&source, &target, count, From().bytes, From().kind,
                            To().bytes, To().kind));
    EXPECT_EQ(~original, target);
    EXPECT_EQ(original, source);
  }
}

const char *const kVariantSuffixes[] = {"", "_Sse2", "_Avx2", "_Avx512"};
constexpr int32_t kVariants[] = {ConvertVariantSse2, ConvertVariantAvx2,
                                 ConvertVariantAvx512};

// Says which variants run here, and checks the choice the first conversion
// makes before any test forces one.
class VariantsOfThisMachine : public testing::Environment {
  void SetUp() override {
    std::printf("%s\n", runnable::VariantsLine().c_str());
    EXPECT_EQ(runnable::WidestVariant(), ConvertVariantInUse());
  }
};
const testing::Environment *const kVariantsOfThisMachine =
    testing::AddGlobalTestEnvironment(new VariantsOfThisMachine);

std::string
PairName(const testing::TestParamInfo<std::tuple<int, int, int32_t>> &info) {
  return std::string(kTypes[std::get<0>(info.param)].name) + "To" +
         kTypes[std::get<1>(info.param)].name +
         kVariantSuffixes[std::get<2>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(
    AllPairs, ConvertPair,
    testing::Combine(testing::Range(0, 8), testing::Range(0, 8),
                     testing::ValuesIn(runnable::Variants())),
    PairName);

// Buffers that overlap other than exactly are outside the contract, but the
// result must not depend on the block width: all variants must agree.
TEST(ConvertVariants, AgreeOnOverlappingBuffers) {
  for (const TypeInfo &from : kTypes)
    for (const TypeInfo &to : kTypes) {
      Bytes source = SourceValues(from, 200);
      int32_t count = static_cast<int32_t>(source.size() / from.bytes);
      size_t room = std::max(source.size(), count * size_t(to.bytes));
      for (int shift : {-67, -8, -3, -1, 1, 2, 5, 32, 64, 128}) {
        Bytes first;
        for (int32_t variant : runnable::Variants()) {
          ForceVariant(variant);
          Bytes buffer(room + 2 * 192, kGuard);
          std::memcpy(&buffer[192], source.data(), source.size());
          ConvertValues(&buffer[192], &buffer[192 + shift], count, from.bytes,
                        from.kind, to.bytes, to.kind);
          if (first.empty()) first = buffer;
          ASSERT_EQ(first, buffer)
              << from.name << "To" << to.name << " shifted " << shift
              << " variant " << variant;
        }
      }
    }
  SetConvertVariant(ConvertVariantAuto);
}

// Arrays beyond the caches are walked in stretches with prefetching, which
// SSE2 blocks, checked against the model above, never do: the other
// variants must give the same bytes, guards included. The pairs prefetch
// the source, the target and the source of one width.
TEST(ConvertVariants, AgreeOnArraysBeyondTheCaches) {
  for (auto [from, to] :
       {std::make_pair(0, 4), std::make_pair(7, 0), std::make_pair(1, 5)}) {
    const TypeInfo &s = kTypes[from], &d = kTypes[to];
    Bytes source = SourceValues(s, (32u << 20) / (s.bytes + d.bytes) + 1001);
    int32_t count = static_cast<int32_t>(source.size() / s.bytes);
    size_t at = kGuardBytes + 8, end = at + count * size_t(d.bytes);
    const Bytes guarded(end + kGuardBytes, kGuard);
    Bytes first;
    for (int32_t variant : runnable::Variants()) {
      ForceVariant(variant);
      Bytes buffer = guarded;
      ConvertValues(source.data(), &buffer[at], count, s.bytes, s.kind, d.bytes,
                    d.kind);
      if (first.empty()) {
        first = buffer;
        ExpectUntouchedOutside(guarded, first, at, end);
      }
      ASSERT_TRUE(first == buffer)
          << s.name << "To" << d.name << " variant " << variant;
    }
  }
  SetConvertVariant(ConvertVariantAuto);
}

// Arrays of 32 MiB or more (source and target together) are streamed past
// the caches from the target's first vector boundary on, with whole blocks
// at the ragged ends; pieces of the same conversion go through the cache. Each
// variant must give the pieces' bytes, guards untouched, with the target on
// a boundary, a value past one and a byte past one. The pairs widen to
// doubles, widen integers and narrow (blocks then start by the target).
TEST(ConvertVariants, StreamedTargetsGiveTheBytesOfCachedPieces) {
  for (auto [from, to] :
       {std::make_pair(1, 0), std::make_pair(4, 2), std::make_pair(0, 1)}) {
    const TypeInfo &s = kTypes[from], &d = kTypes[to];
    const int32_t count = (32 << 20) / (s.bytes + d.bytes) + 37;
    const int32_t piece = 1 << 16;
    Bytes source = SourceValues(s, count);
    source.resize(size_t(count) * s.bytes);
    Bytes pieces(size_t(count) * d.bytes);
    for (int32_t at = 0; at < count; at += piece)
      ConvertValues(&source[size_t(at) * s.bytes],
                    &pieces[size_t(at) * d.bytes], std::min(piece, count - at),
                    s.bytes, s.kind, d.bytes, d.kind);
    for (int32_t variant : runnable::Variants()) {
      ForceVariant(variant);
      for (size_t shift : {size_t(0), size_t(d.bytes), size_t(1)}) {
        Bytes buffer(pieces.size() + 3 * kGuardBytes, kGuard);
        size_t at = kGuardBytes + shift +
                    (64 - reinterpret_cast<uintptr_t>(buffer.data()) % 64);
        const Bytes before = buffer;
        ConvertValues(source.data(), &buffer[at], count, s.bytes, s.kind,
                      d.bytes, d.kind);
        ExpectSameValues(pieces, buffer, at, d, source, s);
        ExpectUntouchedOutside(before, buffer, at, at + pieces.size());
      }
    }
  }
  SetConvertVariant(ConvertVariantAuto);
}

TEST(ConvertVariants, UnknownOrUnrunnableChoicesChangeNothing) {
  ASSERT_EQ(ConvertResultDone, SetConvertVariant(ConvertVariantSse2));
  for (int32_t bad : {-1, 4, INT32_MIN})
    EXPECT_EQ(ConvertResultInvalid, SetConvertVariant(bad));
  EXPECT_EQ(ConvertVariantSse2, ConvertVariantInUse());
  ASSERT_EQ(ConvertResultDone, SetConvertVariant(ConvertVariantAuto));
  int32_t widest = runnable::WidestVariant();
  EXPECT_EQ(widest, ConvertVariantInUse());
  // Forcing works for the automatic choice and every narrower variant.
  for (int32_t variant : kVariants)
    EXPECT_EQ(variant <= widest ? ConvertResultDone : ConvertResultInvalid,
              SetConvertVariant(variant));
  SetConvertVariant(ConvertVariantAuto);
}

// A variant whose registers the system does not save would corrupt other
// programs' state: each missing processor bit or system state falls back.
TEST(ConvertVariants, WiderVariantsNeedTheProcessorAndTheSystem) {
  const uint32_t fma = 1u << 12, osxsave = 1u << 27, avx = 1u << 28;
  const uint32_t leaf1 = fma | osxsave | avx;
  const uint32_t avx2 = 1u << 5, f = 1u << 16, dq = 1u << 17, bw = 1u << 30,
                 vl = 1u << 31, leaf7 = avx2 | f | dq | bw | vl;
  struct Case {
    numconv::VectorFeatures features;
    int32_t widest;
  };
  const Case cases[] = {{{leaf1, 0xE7, leaf7}, ConvertVariantAvx512},
                        {{leaf1, 0x07, leaf7}, ConvertVariantAvx2},
                        {{leaf1, 0xC7, leaf7}, ConvertVariantAvx2},
                        {{leaf1, 0xA7, leaf7}, ConvertVariantAvx2},
                        {{leaf1, 0x67, leaf7}, ConvertVariantAvx2},
                        {{leaf1, 0xE7, leaf7 & ~vl}, ConvertVariantAvx2},
                        {{leaf1, 0xE7, leaf7 & ~dq}, ConvertVariantAvx2},
                        {{leaf1, 0xE7, leaf7 & ~f}, ConvertVariantAvx2},
                        {{leaf1, 0xE7, leaf7 & ~bw}, ConvertVariantAvx2},
                        {{leaf1, 0xE7, avx2}, ConvertVariantAvx2},
                        {{leaf1 & ~fma, 0xE7, leaf7}, ConvertVariantSse2},
                        {{leaf1 & ~avx, 0xE7, leaf7}, ConvertVariantSse2},
                        {{leaf1 & ~osxsave, 0, leaf7}, ConvertVariantSse2},
                        {{leaf1, 0xE3, leaf7}, ConvertVariantSse2},
                        {{leaf1, 0xE5, leaf7}, ConvertVariantSse2},
                        {{leaf1, 0xE7, leaf7 & ~avx2}, ConvertVariantSse2},
                        {{0, 0, 0}, ConvertVariantSse2}};
  for (const Case &c : cases)
    EXPECT_EQ(c.widest, numconv::WidestVariantFor(c.features))
        << std::hex << c.features.leaf1Ecx << " " << c.features.xcr0 << " "
        << c.features.leaf7Ebx;
}

// ---- Worked examples, so that the model itself is checked.

template <typename S, typename D>
D ConvertOne(S value, int32_t sourceKind, int32_t targetKind) {
  D target{};
  EXPECT_EQ(0, ConvertValues(&value, &target, 1, sizeof(S), sourceKind,
                             sizeof(D), targetKind));
  return target;
}

TEST(ConvertValues, WorkedExamples) {
  EXPECT_EQ(0x5678, (ConvertOne<int32_t, int16_t>(0x12345678, 1, 1)));
  EXPECT_EQ(2147483648.0, (ConvertOne<uint32_t, double>(0x80000000u, 2, 3)));
  EXPECT_EQ(2147483648.0f, (ConvertOne<int32_t, float>(0x7FFFFFFF, 1, 3)));
  EXPECT_EQ(4294967296.0f, (ConvertOne<uint32_t, float>(0xFFFFFFFFu, 2, 3)));
  EXPECT_EQ(3000000000u, (ConvertOne<double, uint32_t>(3e9, 3, 2)));
  EXPECT_EQ(-1294967296, (ConvertOne<double, int32_t>(3e9, 3, 1)));
  EXPECT_EQ(-3, (ConvertOne<double, int8_t>(-3.7, 3, 1)));
  EXPECT_EQ(253, (ConvertOne<double, uint8_t>(-3.7, 3, 2)));
  EXPECT_EQ(0u, (ConvertOne<double, uint32_t>(std::nan(""), 3, 2)));
  EXPECT_EQ(0xFFFFFFFFu, (ConvertOne<int8_t, uint32_t>(-1, 1, 2)));
  EXPECT_EQ(255, (ConvertOne<uint8_t, int16_t>(255, 2, 1)));
  EXPECT_EQ(-1, (ConvertOne<uint16_t, int16_t>(0xFFFF, 2, 1)));
}

TEST(ConvertValues, Int16ToFloat64InPlaceFillsTheWholeBuffer) {
  double buffer[4];
  const int16_t values[] = {-2, 32767, 0, -32768};
  std::memcpy(buffer, values, sizeof values);
  EXPECT_EQ(0, ConvertValues(buffer, buffer, 4, 2, 1, 8, 3));
  EXPECT_EQ(-2.0, buffer[0]);
  EXPECT_EQ(32767.0, buffer[1]);
  EXPECT_EQ(0.0, buffer[2]);
  EXPECT_EQ(-32768.0, buffer[3]);
}

// ---- Descriptions.

TEST(ConvertValues, InvalidDescriptionsWriteNothing) {
  // Wide enough that no mix of size and kind can pass for a valid pair.
  std::vector<int32_t> sizes, kinds;
  for (int32_t n = -17; n <= 40; ++n)
    sizes.push_back(n);
  for (int32_t n = -2; n <= 5; ++n)
    kinds.push_back(n);
  sizes.push_back(INT32_MIN);
  kinds.push_back(INT32_MAX);
  auto valid = [](int32_t bytes, int32_t kind) {
    return (kind == 1 || kind == 2) ? (bytes == 1 || bytes == 2 || bytes == 4)
           : kind == 3              ? (bytes == 4 || bytes == 8)
                                    : false;
  };
  int rejected = 0;
  for (int32_t sb : sizes)
    for (int32_t sk : kinds)
      for (int32_t tb : sizes)
        for (int32_t tk : kinds) {
          if (valid(sb, sk) && valid(tb, tk)) continue;
          uint64_t source[2] = {1, 2}, target[2] = {7, 7};
          ASSERT_EQ(1, ConvertValues(source, target, 2, sb, sk, tb, tk))
              << sb << "/" << sk << " -> " << tb << "/" << tk;
          ASSERT_EQ(7u, target[0]);
          ASSERT_EQ(7u, target[1]);
          ++rejected;
        }
  EXPECT_EQ(int(sizes.size() * kinds.size() * sizes.size() * kinds.size()) -
                8 * 8,
            rejected);
}

TEST(ConvertValues, SameTypeCopiesOrLeavesAlone) {
  int16_t values[5] = {1, 2, 3, 4, 5};
  EXPECT_EQ(-1, ConvertValues(values, values, 5, 2, 1, 2, 1));
  EXPECT_EQ(5, values[4]);
  // Overlapping copy within one buffer moves as memmove does.
  EXPECT_EQ(-1, ConvertValues(values, values + 1, 4, 2, 2, 2, 2));
  const int16_t moved[5] = {1, 1, 2, 3, 4};
  EXPECT_EQ(0, std::memcmp(moved, values, sizeof moved));
}

TEST(ConvertValuesByType, DecodesRealCodesOnly) {
  int16_t source[3] = {-2, 7, 300};
  double target[3] = {9, 9, 9};
  for (int32_t bad : {0x03, 0, 1, 0x11, 0x42, 0x06, -1, -16}) {
    EXPECT_EQ(1, ConvertValuesByType(source, target, 3, bad, 0x04));
    EXPECT_EQ(1, ConvertValuesByType(source, target, 3, 0x10, bad));
  }
  EXPECT_EQ(9.0, target[0]);
  EXPECT_EQ(0, ConvertValuesByType(source, target, 3, 0x10, 0x04));
  EXPECT_EQ(-2.0, target[0]);
  EXPECT_EQ(300.0, target[2]);
  EXPECT_EQ(-1, ConvertValuesByType(source, target, 3, 0x50, 0x50));
  EXPECT_EQ(0, ConvertValuesByType(source, target, 3, 0x50, 0x10));
}

// ---- The dispatchers and the named loops behind ConvertValues.

using Dispatcher = int32_t (*)(const void *, void *, int32_t, int32_t, int32_t);
constexpr Dispatcher kDispatchers[] = {ConvertFromFloat64, ConvertFromFloat32,
                                       ConvertFromInt32,   ConvertFromInt16,
                                       ConvertFromInt8,    ConvertFromUInt32,
                                       ConvertFromUInt16,  ConvertFromUInt8};

TEST(Dispatchers, AgreeWithConvertValuesAndRejectBadTargets) {
  for (int s = 0; s < 8; ++s) {
    Bytes source = SourceValues(kTypes[s], 50);
    int32_t count = static_cast<int32_t>(source.size() / kTypes[s].bytes);
    for (int t = 0; t < 8; ++t) {
      Bytes viaDispatcher(count * kTypes[t].bytes), direct = viaDispatcher;
      EXPECT_EQ(ExpectedResult(kTypes[s], kTypes[t]),
                kDispatchers[s](source.data(), viaDispatcher.data(), count,
                                kTypes[t].kind, kTypes[t].bytes));
      ConvertValues(source.data(), direct.data(), count, kTypes[s].bytes,
                    kTypes[s].kind, kTypes[t].bytes, kTypes[t].kind);
      EXPECT_EQ(direct, viaDispatcher) << kTypes[s].name << kTypes[t].name;
    }
    uint64_t target = 7;
    EXPECT_EQ(1, kDispatchers[s](source.data(), &target, 1, 3, 2));
    EXPECT_EQ(1, kDispatchers[s](source.data(), &target, 1, 0, 4));
    EXPECT_EQ(7u, target);
  }
}

// Every named loop, by source and target in kTypes' order; no type has one
// to itself.
using PairConverter = void (*)(const void *, void *, int32_t);
constexpr PairConverter kPairConverters[8][8] = {
    {nullptr, Float64ToFloat32, Float64ToInt32, Float64ToInt16, Float64ToInt8,
     Float64ToUInt32, Float64ToUInt16, Float64ToUInt8},
    {Float32ToFloat64, nullptr, Float32ToInt32, Float32ToInt16, Float32ToInt8,
     Float32ToUInt32, Float32ToUInt16, Float32ToUInt8},
    {Int32ToFloat64, Int32ToFloat32, nullptr, Int32ToInt16, Int32ToInt8,
     Int32ToUInt32, Int32ToUInt16, Int32ToUInt8},
    {Int16ToFloat64, Int16ToFloat32, Int16ToInt32, nullptr, Int16ToInt8,
     Int16ToUInt32, Int16ToUInt16, Int16ToUInt8},
    {Int8ToFloat64, Int8ToFloat32, Int8ToInt32, Int8ToInt16, nullptr,
     Int8ToUInt32, Int8ToUInt16, Int8ToUInt8},
    {UInt32ToFloat64, UInt32ToFloat32, UInt32ToInt32, UInt32ToInt16,
     UInt32ToInt8, nullptr, UInt32ToUInt16, UInt32ToUInt8},
    {UInt16ToFloat64, UInt16ToFloat32, UInt16ToInt32, UInt16ToInt16,
     UInt16ToInt8, UInt16ToUInt32, nullptr, UInt16ToUInt8},
    {UInt8ToFloat64, UInt8ToFloat32, UInt8ToInt32, UInt8ToInt16, UInt8ToInt8,
     UInt8ToUInt32, UInt8ToUInt16, nullptr}};

TEST(PairConverters, AreCallableByName) {
  // Each named loop is the pair its name says: the same bytes as
  // ConvertValues between those types.
  for (int s = 0; s < 8; ++s) {
    Bytes source = SourceValues(kTypes[s], 20);
    int32_t count = static_cast<int32_t>(source.size() / kTypes[s].bytes);
    for (int t = 0; t < 8; ++t) {
      if (t == s) continue;
      Bytes named(count * kTypes[t].bytes, 0xA5), direct = named;
      kPairConverters[s][t](source.data(), named.data(), count);
      ConvertValues(source.data(), direct.data(), count, kTypes[s].bytes,
                    kTypes[s].kind, kTypes[t].bytes, kTypes[t].kind);
      EXPECT_EQ(direct, named) << kTypes[s].name << "To" << kTypes[t].name;
    }
  }

  const int16_t shorts[3] = {-2, 0, 32767};
  double doubles[3];
  Int16ToFloat64(shorts, doubles, 3);
  EXPECT_EQ(-2.0, doubles[0]);
  EXPECT_EQ(32767.0, doubles[2]);

  const double values[2] = {-3.7, 300.7};
  uint8_t bytes[2];
  Float64ToUInt8(values, bytes, 2);
  EXPECT_EQ(253, bytes[0]);
  EXPECT_EQ(44, bytes[1]);

  const uint32_t large[1] = {0xFFFFFFFFu};
  float rounded[1];
  UInt32ToFloat32(large, rounded, 1);
  EXPECT_EQ(4294967296.0f, rounded[0]);
}

} // namespace
