// Reads of wave record fields. The record is packed on 2 bytes, so fields
// are copied rather than read through a cast pointer.
#ifndef TAVREL_SERVICES_INTERNAL_WAVE_FIELDS_H
#define TAVREL_SERVICES_INTERNAL_WAVE_FIELDS_H

#include <cstring>

#include "detail/address_item.h"
#include "wave_header.h"

template <typename T> T WaveField(WaveHandle wave, int32_t offset) {
  T value;
  std::memcpy(&value, *wave + offset, sizeof value);
  return value;
}

inline int32_t WaveLayout(WaveHandle wave) {
  return WaveField<int16_t>(wave, WaveLayoutOffset);
}

inline bool IsKnownLayout(int32_t layout) {
  return layout == 0 || layout == 1;
}

#endif
