// Wave header accessors: layouts 0 and 1 straight from the record, any
// other layout through the host.
#include "detail/wave_fields.h"

namespace {

// Where a field sits in each known layout; -1 where the layout has none.
struct FieldPlace {
  int32_t layout0;
  int32_t layout1;
  int32_t service;
};

template <typename T> int32_t ReadField(WaveHandle wave, FieldPlace place) {
  switch (WaveLayout(wave)) {
  case 0:
    return place.layout0 < 0 ? 0 : WaveField<T>(wave, place.layout0);
  case 1:
    return WaveField<T>(wave, place.layout1);
  default:
    return HostCall1(place.service, AddressItem(wave));
  }
}

} // namespace

extern "C" {

int32_t WaveNumberType(WaveHandle wave) {
  return ReadField<int16_t>(wave, {Layout0NumTypeOffset, Layout1NumTypeOffset,
                                   WaveNumberTypeService});
}

int32_t WavePointCount(WaveHandle wave) {
  return ReadField<int32_t>(wave,
                            {Layout0PointCountOffset, Layout1PointCountOffset,
                             WavePointCountService});
}

void *WaveDataStart(WaveHandle wave) {
  switch (WaveLayout(wave)) {
  case 0:
    return *wave + Layout0DataOffset;
  case 1:
    return *wave + Layout1DataOffset;
  default:
    return ItemAddress(HostCall1(WaveDataStartService, AddressItem(wave)));
  }
}

int32_t WaveHeaderValue93(WaveHandle wave) {
  return ReadField<int32_t>(wave, {Layout0HeaderValue93Offset,
                                   Layout1HeaderValue93Offset,
                                   WaveHeaderValue93Service});
}

int32_t WaveHeaderValue94(WaveHandle wave) {
  return ReadField<int16_t>(wave, {Layout0HeaderValue94Offset,
                                   Layout1HeaderValue94Offset,
                                   WaveHeaderValue94Service});
}

int32_t WaveHeaderValue95(WaveHandle wave) {
  return ReadField<int16_t>(
      wave, {-1, Layout1HeaderValue95Offset, WaveHeaderValue95Service});
}

} // extern "C"
