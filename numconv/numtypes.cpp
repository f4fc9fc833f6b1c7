// Number-type codes and the float-to-integer storage rule.
#include "numconv.h"
#include "value_types.h"

#include <cstddef>

namespace {

struct ValueTypeRow {
  uint32_t code;
  int32_t bytesPerValue;
  int32_t kind;
};

// The eight real value types; both translations read this one table.
constexpr ValueTypeRow kValueTypes[] = {
    {NumTypeFloat32, 4, NumKindFloat},
    {NumTypeFloat64, 8, NumKindFloat},
    {NumTypeInt8, 1, NumKindSigned},
    {NumTypeInt16, 2, NumKindSigned},
    {NumTypeInt32, 4, NumKindSigned},
    {NumTypeUnsigned | NumTypeInt8, 1, NumKindUnsigned},
    {NumTypeUnsigned | NumTypeInt16, 2, NumKindUnsigned},
    {NumTypeUnsigned | NumTypeInt32, 4, NumKindUnsigned},
};

void ReverseBytes(unsigned char *first, unsigned char *last) {
  while (first < last) {
    unsigned char swapped = *first;
    *first++ = *last;
    *last-- = swapped;
  }
}

} // namespace

extern "C" int32_t DecodeNumType(uint32_t code, int32_t *bytesPerValue,
                                 int32_t *kind, int32_t *isComplex) {
  *isComplex = code & NumTypeComplex;
  uint32_t realCode = code & ~static_cast<uint32_t>(NumTypeComplex);
  if (realCode == NumTypeNone) return NumTypeNotNumericError;
  for (const ValueTypeRow &row : kValueTypes) {
    if (row.code == realCode) {
      *bytesPerValue = row.bytesPerValue;
      *kind = row.kind;
      return 0;
    }
  }
  return NumTypeInvalidError;
}

extern "C" int32_t EncodeNumType(int32_t bytesPerValue, int32_t kind,
                                 int32_t *code) {
  for (const ValueTypeRow &row : kValueTypes) {
    if (row.bytesPerValue == bytesPerValue && row.kind == kind) {
      *code = static_cast<int32_t>(row.code);
      return 0;
    }
  }
  return NumTypeInvalidError;
}

extern "C" void ReverseValueBytes(void *data, int32_t bytesPerValue,
                                  int32_t count) {
  // A negative size or count would walk outside the caller's buffer.
  if (bytesPerValue <= 0 || count <= 0) return;
  unsigned char *value = static_cast<unsigned char *>(data);
  unsigned char *end = value + static_cast<size_t>(bytesPerValue) * count;
  for (; value < end; value += bytesPerValue)
    ReverseBytes(value, value + bytesPerValue - 1);
}

extern "C" int64_t StoreFloatAsInteger(double value) {
  return numconv::TruncateToInt64(value);
}
