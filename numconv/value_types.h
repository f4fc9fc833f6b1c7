// The eight value types as C++ types, and the step from a runtime
// description to code specialised for one type.
#ifndef TAVREL_NUMCONV_VALUE_TYPES_H
#define TAVREL_NUMCONV_VALUE_TYPES_H

#include "numconv.h"

#include <cstdint>
#include <cstring>
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

enum class ValueType {
  kFloat64,
  kFloat32,
  kInt32,
  kInt16,
  kInt8,
  kUInt32,
  kUInt16,
  kUInt8,
  kInvalid
};

inline ValueType TypeOfDescription(int32_t bytesPerValue, int32_t kind) {
  switch (kind * 16 + bytesPerValue) {
  case NumKindFloat * 16 + 8:
    return ValueType::kFloat64;
  case NumKindFloat * 16 + 4:
    return ValueType::kFloat32;
  case NumKindSigned * 16 + 4:
    return ValueType::kInt32;
  case NumKindSigned * 16 + 2:
    return ValueType::kInt16;
  case NumKindSigned * 16 + 1:
    return ValueType::kInt8;
  case NumKindUnsigned * 16 + 4:
    return ValueType::kUInt32;
  case NumKindUnsigned * 16 + 2:
    return ValueType::kUInt16;
  case NumKindUnsigned * 16 + 1:
    return ValueType::kUInt8;
  default:
    return ValueType::kInvalid;
  }
}

template <typename T> struct TypeTag { using type = T; };

// Calls fn(TypeTag<T>{}) for the C++ type of a valid value type.
template <typename Fn> void VisitValueType(ValueType type, Fn fn) {
  switch (type) {
  case ValueType::kFloat64:
    return fn(TypeTag<Float64>{});
  case ValueType::kFloat32:
    return fn(TypeTag<Float32>{});
  case ValueType::kInt32:
    return fn(TypeTag<Int32>{});
  case ValueType::kInt16:
    return fn(TypeTag<Int16>{});
  case ValueType::kInt8:
    return fn(TypeTag<Int8>{});
  case ValueType::kUInt32:
    return fn(TypeTag<UInt32>{});
  case ValueType::kUInt16:
    return fn(TypeTag<UInt16>{});
  case ValueType::kUInt8:
    return fn(TypeTag<UInt8>{});
  case ValueType::kInvalid:
    return;
  }
}

// The rule for one value: floating to integer by StoreFloatAsInteger,
// integers by wrap-around with the source's signedness, anything to floating
// by the compiler's IEEE conversion (round to nearest).
template <typename S, typename D> D ConvertOne(S value) {
  if constexpr (std::is_integral_v<D> && std::is_floating_point_v<S>) {
    using Bits = std::make_unsigned_t<D>;
    return static_cast<D>(static_cast<Bits>(StoreFloatAsInteger(value)));
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
