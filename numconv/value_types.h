// The eight value types as C++ types, and the step from a runtime
// description to code specialised for one type.
#ifndef TAVREL_NUMCONV_VALUE_TYPES_H
#define TAVREL_NUMCONV_VALUE_TYPES_H

#include "numconv.h"

#include <cstdint>
#include <cstring>
#include <tuple>
#include <type_traits>

namespace numconv {

// The labels name the C++ type that holds one value.
using Float64 = double;
using Float32 = float;
using Int32 = int32_t;
using Int16 = int16_t;
using Int8 = int8_t;
using UInt32 = uint32_t;
using UInt16 = uint16_t;
using UInt8 = uint8_t;

static_assert(sizeof(Float64) == 8 && sizeof(Float32) == 4,
              "IEEE single and double precision expected");

// The value types in the order of the conversion tables.
using ValueTypeList =
    std::tuple<Float64, Float32, Int32, Int16, Int8, UInt32, UInt16, UInt8>;
constexpr size_t kValueTypeCount = std::tuple_size_v<ValueTypeList>;
template <size_t K> using ValueTypeAt = std::tuple_element_t<K, ValueTypeList>;

template <typename T, size_t K = 0> constexpr size_t TypeIndex() {
  if constexpr (std::is_same_v<T, ValueTypeAt<K>>)
    return K;
  else
    return TypeIndex<T, K + 1>();
}

template <typename T> struct TypeTag { using type = T; };

// Calls fn(TypeTag<T>{}) with the C++ type of the value type that a
// (bytes per value, kind) pair describes; returns false, without calling fn,
// for a pair outside the eight value types.
template <typename Fn>
bool VisitValueType(int32_t bytesPerValue, int32_t kind, Fn fn) {
  if (bytesPerValue < 1 || bytesPerValue > 8 || kind < 1 || kind > 3)
    return false;
  constexpr int32_t F = NumKindFloat * 16, S = NumKindSigned * 16,
                    U = NumKindUnsigned * 16;
  switch (kind * 16 + bytesPerValue) {
  case F + 8:
    fn(TypeTag<Float64>{});
    break;
  case F + 4:
    fn(TypeTag<Float32>{});
    break;
  case S + 4:
    fn(TypeTag<Int32>{});
    break;
  case S + 2:
    fn(TypeTag<Int16>{});
    break;
  case S + 1:
    fn(TypeTag<Int8>{});
    break;
  case U + 4:
    fn(TypeTag<UInt32>{});
    break;
  case U + 2:
    fn(TypeTag<UInt16>{});
    break;
  case U + 1:
    fn(TypeTag<UInt8>{});
    break;
  default:
    return false;
  }
  return true;
}

inline bool IsValueType(int32_t bytesPerValue, int32_t kind) {
  return VisitValueType(bytesPerValue, kind, [](auto) {});
}

// Decodes a number-type code of a real (not complex) value type.
inline bool DecodeRealType(int32_t code, int32_t *bytesPerValue,
                           int32_t *kind) {
  int32_t isComplex = 0;
  return DecodeNumType(static_cast<uint32_t>(code), bytesPerValue, kind,
                       &isComplex) == 0 &&
         !isComplex;
}

// The rule of StoreFloatAsInteger, inline for the loops' single values.
inline int64_t TruncateToInt64(double value) {
  // Both comparisons fail for NaN.
  if (value >= -0x1p63 && value < 0x1p63) return static_cast<int64_t>(value);
  return 0;
}

// The rule for one value: floating to integer by StoreFloatAsInteger,
// integers by wrap-around with the source's signedness, anything to floating
// by the compiler's IEEE conversion (round to nearest).
template <typename S, typename D> D ConvertOne(S value) {
  if constexpr (std::is_integral_v<D> && std::is_floating_point_v<S>) {
    using Bits = std::make_unsigned_t<D>;
    return static_cast<D>(static_cast<Bits>(TruncateToInt64(value)));
  } else {
    return static_cast<D>(value);
  }
}

template <typename T> T LoadValue(const unsigned char *values, int32_t index) {
  T value;
  std::memcpy(&value, values + static_cast<size_t>(index) * sizeof(T),
              sizeof(T));
  return value;
}

template <typename T>
void StoreValue(unsigned char *values, int32_t index, T value) {
  std::memcpy(values + static_cast<size_t>(index) * sizeof(T), &value,
              sizeof(T));
}

} // namespace numconv

#endif
