// Element values as doubles, one element or the whole wave. The conversions
// themselves are those of ConvertValues, so single elements and whole-wave
// copies follow the same rules.
#include <cstddef>

#include "detail/address_item.h"
#include "detail/wave_fields.h"
#include "numconv.h"
#include "waves.h"

namespace {

constexpr int32_t kDoubleBytes = 8;

// How the values of a wave's number type are stored.
struct ValueFormat {
  int32_t bytes;
  int32_t kind;
  int32_t valuesPerElement; // 2 for complex types
};

// 0, WaveNotNumericError or WaveNumTypeError.
int32_t FormatOf(int32_t numType, ValueFormat &format) {
  int32_t isComplex = 0;
  switch (DecodeNumType(static_cast<uint32_t>(numType), &format.bytes,
                        &format.kind, &isComplex)) {
  case 0:
    format.valuesPerElement = isComplex ? 2 : 1;
    return 0;
  case NumTypeNotNumericError:
    return WaveNotNumericError;
  default:
    return WaveNumTypeError;
  }
}

unsigned char *ElementAddress(void *data, int32_t element,
                              const ValueFormat &format) {
  return static_cast<unsigned char *>(data) +
         static_cast<std::ptrdiff_t>(element) * format.valuesPerElement *
             format.bytes;
}

int32_t NumTypeOfKnownLayout(WaveHandle wave, int32_t layout) {
  return WaveField<int16_t>(wave, layout == 0 ? Layout0NumTypeOffset
                                              : Layout1NumTypeOffset);
}

// The element number of `indices` in a wave of layout 0 or 1, checked
// against the wave's point count as well as each dimension, so that no
// index can reach outside the data.
int32_t CheckedElement(WaveHandle wave, int32_t layout, const int32_t *indices,
                       int32_t &element) {
  if (layout == 0) {
    element = indices[0];
  } else if (int32_t error = WaveLinearIndex(wave, indices, &element)) {
    return error;
  }
  if (element < 0 || element >= WavePointCount(wave)) return WaveIndexError;
  return 0;
}

// One element of a wave: checked and converted here for layouts 0 and 1
// (the data address is used at once, so the handle needs no lock), asked of
// the host for other layouts.
template <typename Value, typename Access>
int32_t AccessElement(WaveHandle wave, const int32_t *indices, Value *value,
                      int32_t service, Access access) {
  int32_t layout = WaveLayout(wave);
  if (!IsKnownLayout(layout))
    return HostCall3(service, AddressItem(wave), AddressItem(indices),
                     AddressItem(value));
  int32_t element;
  if (int32_t error = CheckedElement(wave, layout, indices, element))
    return error;
  return access(NumTypeOfKnownLayout(wave, layout), WaveDataStart(wave),
                element, value);
}

// Converts every value of a layout-0 or layout-1 wave to or from doubles,
// with the handle locked while the data address is in use.
template <bool kToDoubles, typename Doubles>
int32_t ConvertWholeWave(WaveHandle wave, Doubles *doubles) {
  ValueFormat format;
  if (int32_t error = FormatOf(WaveNumberType(wave), format)) return error;
  int32_t count = WavePointCount(wave) * format.valuesPerElement;
  int32_t state = LockHandleHigh(wave);
  void *data = WaveDataStart(wave);
  if constexpr (kToDoubles) {
    ConvertValues(data, doubles, count, format.bytes, format.kind, kDoubleBytes,
                  NumKindFloat);
  } else {
    ConvertValues(doubles, data, count, kDoubleBytes, NumKindFloat,
                  format.bytes, format.kind);
  }
  HSetState(wave, state);
  return 0;
}

} // namespace

extern "C" {

int32_t WaveLinearIndex(WaveHandle wave, const int32_t *indices,
                        int32_t *linear) {
  // Unsigned arithmetic wraps where the 32-bit signed one would overflow.
  uint32_t sum = 0, stride = 1;
  for (int32_t d = 0; d < Layout1MaxDims; ++d) {
    int32_t size = WaveField<int32_t>(wave, Layout1DimSizesOffset + 4 * d);
    if (size == 0) break;
    if (indices[d] < 0 || indices[d] >= size) return WaveIndexError;
    sum += static_cast<uint32_t>(indices[d]) * stride;
    stride *= static_cast<uint32_t>(size);
  }
  *linear = static_cast<int32_t>(sum);
  return 0;
}

int32_t ReadElementValue(int32_t numType, const void *data, int32_t element,
                         double value[2]) {
  ValueFormat format;
  if (int32_t error = FormatOf(numType, format)) return error;
  ConvertValues(ElementAddress(const_cast<void *>(data), element, format),
                value, format.valuesPerElement, format.bytes, format.kind,
                kDoubleBytes, NumKindFloat);
  return 0;
}

int32_t WriteElementValue(int32_t numType, void *data, int32_t element,
                          const double value[2]) {
  ValueFormat format;
  if (int32_t error = FormatOf(numType, format)) return error;
  ConvertValues(value, ElementAddress(data, element, format),
                format.valuesPerElement, kDoubleBytes, NumKindFloat,
                format.bytes, format.kind);
  return 0;
}

int32_t GetWaveElement(WaveHandle wave, const int32_t *indices,
                       double value[2]) {
  return AccessElement(wave, indices, value, GetWaveElementService,
                       ReadElementValue);
}

int32_t SetWaveElement(WaveHandle wave, const int32_t *indices,
                       const double value[2]) {
  return AccessElement(wave, indices, value, SetWaveElementService,
                       WriteElementValue);
}

int32_t CopyWaveToDoubles(WaveHandle wave, double *buffer) {
  if (!IsKnownLayout(WaveLayout(wave)))
    return HostCall2(CopyWaveToDoublesService, AddressItem(wave),
                     AddressItem(buffer));
  return ConvertWholeWave<true>(wave, buffer);
}

int32_t CopyDoublesToWave(WaveHandle wave, const double *buffer) {
  if (!IsKnownLayout(WaveLayout(wave)))
    return HostCall2(CopyDoublesToWaveService, AddressItem(wave),
                     AddressItem(buffer));
  return ConvertWholeWave<false>(wave, buffer);
}

} // extern "C"
