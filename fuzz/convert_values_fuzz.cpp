// ConvertValues, ConvertValuesByType and OffsetAndScaleValues on arbitrary
// descriptions, codes, counts and bytes, into another buffer or in place,
// against a model that converts one value at a time. Buffers have exactly
// the size the caller must give, so the address sanitizer sees any access
// outside them.
#include <cmath>
#include <vector>

#include "fuzz_input.h"
#include "numconv.h"
#include "runnable_variants.h"

namespace {

// The model's work per value is no part of the library's coverage: left
// uninstrumented, it neither slows each run nor swells the corpus with
// inputs that differ only in how often the model looped.
#define MODEL_ONLY __attribute__((no_sanitize("coverage")))

struct Type {
  int32_t bytes, kind;
};

bool IsValid(Type t) {
  bool integer = t.kind == NumKindSigned || t.kind == NumKindUnsigned;
  return (integer && (t.bytes == 1 || t.bytes == 2 || t.bytes == 4)) ||
         (t.kind == NumKindFloat && (t.bytes == 4 || t.bytes == 8));
}

// A value as the model holds it: integers exactly, floats as doubles.
struct Value {
  bool isFloat;
  int64_t integer;
  double real;
};

Value Load(Type t, const uint8_t *p) {
  if (t.kind == NumKindFloat && t.bytes == 8) {
    double d;
    std::memcpy(&d, p, 8);
    return {true, 0, d};
  }
  if (t.kind == NumKindFloat) {
    float f;
    std::memcpy(&f, p, 4);
    return {true, 0, f};
  }
  uint64_t bits = 0;
  std::memcpy(&bits, p, t.bytes);
  int shift = 64 - 8 * t.bytes;
  int64_t v = t.kind == NumKindSigned
                  ? static_cast<int64_t>(bits << shift) >> shift
                  : static_cast<int64_t>(bits);
  return {false, v, 0.0};
}

// Truncation toward zero; anything outside the 64-bit range gives 0.
int64_t Truncate(double v) {
  if (!(v > -9223372036854775808.0 && v < 9223372036854775808.0)) return 0;
  return static_cast<int64_t>(v);
}

void Store(Type t, const Value &v, uint8_t *p) {
  if (t.kind == NumKindFloat && t.bytes == 8) {
    double d = v.isFloat ? v.real : static_cast<double>(v.integer);
    std::memcpy(p, &d, 8);
  } else if (t.kind == NumKindFloat) {
    float f =
        v.isFloat ? static_cast<float>(v.real) : static_cast<float>(v.integer);
    std::memcpy(p, &f, 4);
  } else {
    int64_t bits = v.isFloat ? Truncate(v.real) : v.integer;
    std::memcpy(p, &bits, t.bytes); // the low bytes: little-endian
  }
}

MODEL_ONLY std::vector<uint8_t> Model(Type from, Type to, const uint8_t *source,
                                      int32_t count) {
  std::vector<uint8_t> out(static_cast<size_t>(count) * to.bytes);
  for (int32_t i = 0; i < count; ++i)
    Store(to, Load(from, source + i * from.bytes), &out[i * to.bytes]);
  return out;
}

Type TypeOfCode(int32_t code, bool *valid) {
  int32_t bytes = 0, kind = 0, complex = 0;
  *valid = DecodeNumType(static_cast<uint32_t>(code), &bytes, &kind,
                         &complex) == 0 &&
           !complex;
  return {bytes, kind};
}

int32_t ChooseCode(FuzzInput &input) {
  const int32_t codes[] = {0x02, 0x04, 0x08, 0x10, 0x20, 0x48, 0x50, 0x60};
  uint8_t choice = input.Byte();
  return choice < 240 ? codes[choice % 8] : input.Take<int32_t>();
}

Type ChooseType(FuzzInput &input) {
  uint8_t b = input.Byte();
  return {b % 10, (b / 10) % 5}; // mostly near the valid ones
}

// Buffers are sized by the type, or as Float64 for an invalid one.
Type Sized(Type t, bool valid) { return valid ? t : Type{8, NumKindFloat}; }

// A count as given, but never more than 4096 bytes of values on the wider
// side: eight of the widest blocks, past which the loops take no new path.
int32_t ChooseCount(FuzzInput &input, int32_t widerBytes) {
  int32_t claimed = input.Take<int16_t>();
  int32_t most = 4096 / widerBytes;
  return claimed > most ? most : claimed;
}

bool SameBytes(const uint8_t *a, const uint8_t *b, size_t n) {
  return n == 0 || std::memcmp(a, b, n) == 0;
}

bool IsNaN(Type t, const uint8_t *p) {
  Value v = Load(t, p);
  return v.isFloat && std::isnan(v.real);
}

// Values of type t; which NaN an operation on two NaNs gives is the
// compiler's choice, so any two NaNs count as equal.
MODEL_ONLY bool SameValues(Type t, const uint8_t *a, const uint8_t *b,
                           int32_t count) {
  if (count <= 0 || SameBytes(a, b, static_cast<size_t>(count) * t.bytes))
    return true;
  for (int32_t i = 0; i < count; ++i, a += t.bytes, b += t.bytes) {
    if (std::memcmp(a, b, t.bytes) != 0 && !(IsNaN(t, a) && IsNaN(t, b)))
      return false;
  }
  return true;
}

// An exact-size heap block holding `bytes`.
uint8_t *Block(const std::vector<uint8_t> &bytes) {
  auto *block = static_cast<uint8_t *>(std::malloc(bytes.size()));
  if (!bytes.empty()) std::memcpy(block, bytes.data(), bytes.size());
  return block;
}

struct Request {
  Type from, to;
  int32_t sourceCode, targetCode;
  bool byCode, valid;
};

Request ChooseRequest(FuzzInput &input, bool byCode) {
  Request r{};
  r.byCode = byCode;
  if (!byCode) {
    r.from = ChooseType(input);
    r.to = ChooseType(input);
    r.valid = IsValid(r.from) && IsValid(r.to);
    return r;
  }
  r.sourceCode = ChooseCode(input);
  r.targetCode = ChooseCode(input);
  bool validSource = false, validTarget = false;
  r.from = TypeOfCode(r.sourceCode, &validSource);
  r.to = TypeOfCode(r.targetCode, &validTarget);
  r.valid = validSource && validTarget;
  return r;
}

bool IsSameType(const Request &r) {
  return r.from.bytes == r.to.bytes && r.from.kind == r.to.kind;
}

// One conversion as the input describes it, read and modelled once for
// every variant.
struct ConversionCase {
  Request request;
  int32_t count;
  bool inPlace;
  std::vector<uint8_t> original;  // the source values as given
  std::vector<uint8_t> untouched; // the target block before the call
  std::vector<uint8_t> expected;  // the model's values, when it converts
};

// The target block starts as 0xEE bytes; in place it is the one block,
// sized for the wider type, the source values first.
ConversionCase ReadConversion(FuzzInput &input, bool byCode, bool inPlace) {
  ConversionCase c{ChooseRequest(input, byCode), 0, inPlace, {}, {}, {}};
  const Request &r = c.request;
  Type from = Sized(r.from, r.valid), to = Sized(r.to, r.valid);
  c.count = ChooseCount(input, from.bytes > to.bytes ? from.bytes : to.bytes);
  size_t n = c.count > 0 ? static_cast<size_t>(c.count) : 0;
  size_t sourceBytes = n * from.bytes, targetBytes = n * to.bytes;
  c.original = input.Bytes(sourceBytes);
  if (inPlace) c.untouched = c.original;
  c.untouched.resize(
      inPlace && sourceBytes > targetBytes ? sourceBytes : targetBytes, 0xEE);
  if (r.valid && !IsSameType(r) && c.count > 0)
    c.expected = Model(r.from, r.to, c.original.data(), c.count);
  return c;
}

int32_t Convert(const Request &r, const uint8_t *source, uint8_t *target,
                int32_t count) {
  if (r.byCode)
    return ConvertValuesByType(source, target, count, r.sourceCode,
                               r.targetCode);
  return ConvertValues(source, target, count, r.from.bytes, r.from.kind,
                       r.to.bytes, r.to.kind);
}

void CheckConversion(const ConversionCase &c, int32_t result,
                     const uint8_t *target) {
  const Request &r = c.request;
  if (!r.valid || c.count <= 0)
    FUZZ_CHECK(SameBytes(c.untouched.data(), target, c.untouched.size()));
  if (!r.valid) {
    FUZZ_CHECK(result == ConvertResultInvalid);
    return;
  }
  bool same = IsSameType(r);
  FUZZ_CHECK(result == (same ? ConvertResultSameType : ConvertResultDone));
  if (c.count <= 0) return;
  // The same type is a block move: even a signalling NaN keeps its bits.
  if (same) {
    FUZZ_CHECK(SameBytes(target, c.original.data(), c.original.size()));
    return;
  }
  FUZZ_CHECK(SameValues(r.to, target, c.expected.data(), c.count));
}

void RunConversion(const ConversionCase &c) {
  uint8_t *target = Block(c.untouched);
  uint8_t *source = c.inPlace ? target : Block(c.original);
  CheckConversion(c, Convert(c.request, source, target, c.count), target);
  if (source != target) std::free(source);
  std::free(target);
}

MODEL_ONLY void ModelOffsetAndScale(Type t, uint8_t *values, int32_t count,
                                    double offset, double scale) {
  for (int32_t i = 0; i < count; ++i, values += t.bytes) {
    Value v = Load(t, values);
    double shifted =
        (v.isFloat ? v.real : static_cast<double>(v.integer)) + offset;
    Store(t, Value{true, 0, shifted * scale}, values);
  }
}

bool IsIdentity(double offset, double scale) {
  return !(offset < 0.0 || offset > 0.0) && !(scale < 1.0 || scale > 1.0);
}

// One offset-and-scale call as the input describes it, modelled once.
struct ScalingCase {
  int32_t code;
  double offset, scale;
  Type sized;
  int32_t count;
  std::vector<uint8_t> original, expected;
};

ScalingCase ReadScaling(FuzzInput &input) {
  ScalingCase c{ChooseCode(input), 0, 0, {}, 0, {}, {}};
  c.offset = input.Take<int8_t>();
  c.scale = input.Take<int8_t>() / 4.0;
  if (input.Byte() % 2) {
    c.offset = input.Take<double>();
    c.scale = input.Take<double>();
  }
  bool valid = false;
  Type t = TypeOfCode(c.code, &valid);
  c.sized = Sized(t, valid);
  c.count = ChooseCount(input, c.sized.bytes);
  size_t n = c.count > 0 ? static_cast<size_t>(c.count) : 0;
  c.original = input.Bytes(n * c.sized.bytes);
  c.expected = c.original;
  if (valid && !IsIdentity(c.offset, c.scale))
    ModelOffsetAndScale(t, c.expected.data(), c.count, c.offset, c.scale);
  return c;
}

void RunScaling(const ScalingCase &c) {
  uint8_t *values = Block(c.original);
  OffsetAndScaleValues(c.code, values, &c.offset, &c.scale, c.count);
  FUZZ_CHECK(SameValues(c.sized, values, c.expected.data(), c.count));
  std::free(values);
}

// The variants this machine runs, read from the processor: the automatic
// choice must be the widest of them, and none may be refused.
const std::vector<int32_t> &VariantsOfThisMachine() {
  static const std::vector<int32_t> variants = [] {
    std::fprintf(stderr, "%s\n", runnable::VariantsLine().c_str());
    FUZZ_CHECK(SetConvertVariant(ConvertVariantAuto) == ConvertResultDone);
    FUZZ_CHECK(ConvertVariantInUse() == runnable::WidestVariant());
    return runnable::Variants();
  }();
  return variants;
}

template <typename Run> void UnderEveryVariant(Run run) {
  for (int32_t variant : VariantsOfThisMachine()) {
    FUZZ_CHECK(SetConvertVariant(variant) == ConvertResultDone);
    run();
  }
}

} // namespace

// The input: which routine, in place or not, the types, a count, then the
// values. Each input is read and modelled once, then run under every block
// variant this machine runs.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzInput input(data, size);
  uint8_t mode = input.Byte();
  if (mode % 3 == 2) {
    ScalingCase c = ReadScaling(input);
    UnderEveryVariant([&] { RunScaling(c); });
  } else {
    ConversionCase c = ReadConversion(input, mode % 3 == 1, mode & 4);
    UnderEveryVariant([&] { RunConversion(c); });
  }
  return 0;
}
