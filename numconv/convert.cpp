// Conversion of value arrays: validation, the two-level dispatch and the
// named loop for every ordered pair of value types.
#include "variants.h"

namespace numconv {
namespace {

template <typename S>
int32_t ConvertFrom(const void *source, void *target, int32_t count,
                    int32_t targetKind, int32_t targetBytes) {
  int32_t result = ConvertResultInvalid;
  VisitValueType(targetBytes, targetKind, [&](auto tag) {
    using D = typename decltype(tag)::type;
    if constexpr (std::is_same_v<S, D>) {
      if (source != target && count > 0)
        std::memmove(target, source, static_cast<size_t>(count) * sizeof(S));
      result = ConvertResultSameType;
    } else {
      ActivePairLoop<S, D>()(source, target, count);
      result = ConvertResultDone;
    }
  });
  return result;
}

} // namespace
} // namespace numconv

using namespace numconv;

#define NUMCONV_DISPATCHER(S)                                                  \
  extern "C" int32_t ConvertFrom##S(const void *source, void *target,          \
                                    int32_t count, int32_t targetKind,         \
                                    int32_t targetBytes) {                     \
    return ConvertFrom<S>(source, target, count, targetKind, targetBytes);     \
  }

NUMCONV_DISPATCHER(Float64)
NUMCONV_DISPATCHER(Float32)
NUMCONV_DISPATCHER(Int32)
NUMCONV_DISPATCHER(Int16)
NUMCONV_DISPATCHER(Int8)
NUMCONV_DISPATCHER(UInt32)
NUMCONV_DISPATCHER(UInt16)
NUMCONV_DISPATCHER(UInt8)

#define NUMCONV_PAIR(S, D)                                                     \
  extern "C" void S##To##D(const void *source, void *target, int32_t count) {  \
    ActivePairLoop<S, D>()(source, target, count);                             \
  }

#define NUMCONV_PAIRS_FROM(S, D1, D2, D3, D4, D5, D6, D7)                      \
  NUMCONV_PAIR(S, D1)                                                          \
  NUMCONV_PAIR(S, D2)                                                          \
  NUMCONV_PAIR(S, D3)                                                          \
  NUMCONV_PAIR(S, D4)                                                          \
  NUMCONV_PAIR(S, D5)                                                          \
  NUMCONV_PAIR(S, D6)                                                          \
  NUMCONV_PAIR(S, D7)

NUMCONV_PAIRS_FROM(Float64, Float32, Int32, Int16, Int8, UInt32, UInt16, UInt8)
NUMCONV_PAIRS_FROM(Float32, Float64, Int32, Int16, Int8, UInt32, UInt16, UInt8)
NUMCONV_PAIRS_FROM(Int32, Float64, Float32, Int16, Int8, UInt32, UInt16, UInt8)
NUMCONV_PAIRS_FROM(Int16, Float64, Float32, Int32, Int8, UInt32, UInt16, UInt8)
NUMCONV_PAIRS_FROM(Int8, Float64, Float32, Int32, Int16, UInt32, UInt16, UInt8)
NUMCONV_PAIRS_FROM(UInt32, Float64, Float32, Int32, Int16, Int8, UInt16, UInt8)
NUMCONV_PAIRS_FROM(UInt16, Float64, Float32, Int32, Int16, Int8, UInt32, UInt8)
NUMCONV_PAIRS_FROM(UInt8, Float64, Float32, Int32, Int16, Int8, UInt32, UInt16)

extern "C" int32_t ConvertValues(const void *source, void *target,
                                 int32_t count, int32_t sourceBytes,
                                 int32_t sourceKind, int32_t targetBytes,
                                 int32_t targetKind) {
  if (!IsValueType(targetBytes, targetKind)) return ConvertResultInvalid;
  int32_t result = ConvertResultInvalid;
  VisitValueType(sourceBytes, sourceKind, [&](auto tag) {
    result = ConvertFrom<typename decltype(tag)::type>(source, target, count,
                                                       targetKind, targetBytes);
  });
  return result;
}

extern "C" int32_t ConvertValuesByType(const void *source, void *target,
                                       int32_t count, int32_t sourceCode,
                                       int32_t targetCode) {
  int32_t sourceBytes = 0, sourceKind = 0, targetBytes = 0, targetKind = 0;
  if (!DecodeRealType(sourceCode, &sourceBytes, &sourceKind) ||
      !DecodeRealType(targetCode, &targetBytes, &targetKind))
    return ConvertResultInvalid;
  return ConvertValues(source, target, count, sourceBytes, sourceKind,
                       targetBytes, targetKind);
}
