// ConvertValues, ConvertValuesByType and OffsetAndScaleValues on arbitrary
// descriptions, codes, counts and bytes, into another buffer or in place,
// against a model that converts one value at a time. Buffers have exactly
// the size the caller must give, so the address sanitizer sees any access
// outside them.
#include <cmath>
#include <vector>

#include "fuzz_input.h"
#include "numconv.h"

namespace {

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

std::vector<uint8_t> Model(Type from, Type to, const uint8_t *source,
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

// A count as given, but never more than 4096 bytes of values.
int32_t ChooseCount(FuzzInput &input, Type t) {
  int32_t claimed = input.Take<int16_t>();
  int32_t most = 4096 / t.bytes;
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
bool SameValues(Type t, const uint8_t *a, const uint8_t *b, int32_t count) {
  for (int32_t i = 0; i < count; ++i, a += t.bytes, b += t.bytes) {
    if (std::memcmp(a, b, t.bytes) != 0 && !(IsNaN(t, a) && IsNaN(t, b)))
      return false;
  }
  return true;
}

struct Buffers {
  std::vector<uint8_t> original; // the source values as given
  uint8_t *source, *target;
  size_t targetBytes;
};

uint8_t *Block(size_t bytes) {
  auto *block = static_cast<uint8_t *>(std::malloc(bytes));
  if (bytes > 0) std::memset(block, 0xEE, bytes);
  return block;
}

// Exact-size blocks; in place, one block sized for the wider type.
Buffers MakeBuffers(FuzzInput &input, Type from, Type to, int32_t count,
                    bool inPlace) {
  size_t n = count > 0 ? static_cast<size_t>(count) : 0;
  size_t sourceBytes = n * from.bytes, targetBytes = n * to.bytes;
  size_t wider = sourceBytes > targetBytes ? sourceBytes : targetBytes;
  Buffers b;
  for (size_t k = 0; k < sourceBytes; ++k)
    b.original.push_back(input.Byte());
  b.source = Block(inPlace ? wider : sourceBytes);
  if (sourceBytes > 0) std::memcpy(b.source, b.original.data(), sourceBytes);
  b.target = inPlace ? b.source : Block(targetBytes);
  b.targetBytes = inPlace ? wider : targetBytes;
  return b;
}

void Release(Buffers &b) {
  if (b.target != b.source) std::free(b.target);
  std::free(b.source);
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

int32_t Convert(const Request &r, const Buffers &b, int32_t count) {
  if (r.byCode)
    return ConvertValuesByType(b.source, b.target, count, r.sourceCode,
                               r.targetCode);
  return ConvertValues(b.source, b.target, count, r.from.bytes, r.from.kind,
                       r.to.bytes, r.to.kind);
}

void CheckConversion(int32_t result, const Request &r, int32_t count,
                     const Buffers &b, const std::vector<uint8_t> &before) {
  if (!r.valid || count <= 0)
    FUZZ_CHECK(SameBytes(before.data(), b.target, b.targetBytes));
  if (!r.valid) {
    FUZZ_CHECK(result == ConvertResultInvalid);
    return;
  }
  bool same = r.from.bytes == r.to.bytes && r.from.kind == r.to.kind;
  FUZZ_CHECK(result == (same ? ConvertResultSameType : ConvertResultDone));
  if (count <= 0) return;
  // The same type is a block move: even a signalling NaN keeps its bits.
  if (same) {
    FUZZ_CHECK(SameBytes(b.target, b.original.data(), b.original.size()));
    return;
  }
  std::vector<uint8_t> expected = Model(r.from, r.to, b.original.data(), count);
  FUZZ_CHECK(SameValues(r.to, b.target, expected.data(), count));
}

void FuzzConversion(FuzzInput &input, bool byCode, bool inPlace) {
  Request r = ChooseRequest(input, byCode);
  Type from = Sized(r.from, r.valid), to = Sized(r.to, r.valid);
  int32_t count = ChooseCount(input, from);
  Buffers b = MakeBuffers(input, from, to, count, inPlace);
  std::vector<uint8_t> before(b.target, b.target + b.targetBytes);
  CheckConversion(Convert(r, b, count), r, count, b, before);
  Release(b);
}

void ExpectedOffsetAndScale(Type t, uint8_t *p, double offset, double scale) {
  Value v = Load(t, p);
  double shifted =
      (v.isFloat ? v.real : static_cast<double>(v.integer)) + offset;
  Store(t, Value{true, 0, shifted * scale}, p);
}

bool IsIdentity(double offset, double scale) {
  return !(offset < 0.0 || offset > 0.0) && !(scale < 1.0 || scale > 1.0);
}

void FuzzOffsetAndScale(FuzzInput &input) {
  int32_t code = ChooseCode(input);
  double offset = input.Take<int8_t>(), scale = input.Take<int8_t>() / 4.0;
  if (input.Byte() % 2) {
    offset = input.Take<double>();
    scale = input.Take<double>();
  }
  bool valid = false;
  Type t = TypeOfCode(code, &valid);
  Type sized = Sized(t, valid);
  int32_t count = ChooseCount(input, sized);
  Buffers b = MakeBuffers(input, sized, sized, count, true);
  std::vector<uint8_t> expected = b.original;
  for (int32_t i = 0; valid && !IsIdentity(offset, scale) && i < count; ++i)
    ExpectedOffsetAndScale(t, &expected[i * t.bytes], offset, scale);
  OffsetAndScaleValues(code, b.source, &offset, &scale, count);
  FUZZ_CHECK(SameValues(sized, b.source, expected.data(), count));
  Release(b);
}

void FuzzOne(const uint8_t *data, size_t size) {
  FuzzInput input(data, size);
  uint8_t mode = input.Byte();
  if (mode % 3 == 2) {
    FuzzOffsetAndScale(input);
  } else {
    FuzzConversion(input, mode % 3 == 1, mode & 4);
  }
}

} // namespace

// The input: which routine, in place or not, the types, a count, then the
// values. Each input runs under every block variant this machine runs.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  for (int32_t variant :
       {ConvertVariantSse2, ConvertVariantAvx2, ConvertVariantAvx512}) {
    if (SetConvertVariant(variant) == ConvertResultDone) FuzzOne(data, size);
  }
  return 0;
}
