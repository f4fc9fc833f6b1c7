// Requests to make and resize waves, refused locally when the host is too
// old for the request or its number type.
#include "detail/address_item.h"
#include "numconv.h"
#include "waves.h"

namespace {

bool HostBelow(int32_t version) { return HostVersion < version; }

// Gate for the one-dimension requests.
int32_t OneDimGate(int32_t numType) {
  if (!HostBelow(300)) return 0;
  int32_t real = numType & ~NumTypeComplex;
  if (real == 0) return HostTooOldError;
  if (HostBelow(200) && real != NumTypeFloat32 && real != NumTypeFloat64)
    return HostTooOldError;
  return 0;
}

// Gate for the dimension requests on hosts below 300, which only know one
// dimension and no unsigned or (below 200) integer types.
int32_t MultiDimGate(const int32_t *dimSizes, int32_t numType, bool resizing) {
  if (dimSizes[1] != 0) return HostTooOldError;
  if (resizing && dimSizes[0] < 2) return WaveTooFewPointsError;
  if (numType == 0 || (numType & NumTypeUnsigned)) return HostTooOldError;
  const int32_t integerBits = NumTypeInt8 | NumTypeInt16 | NumTypeInt32;
  if (HostBelow(200) && (numType & integerBits)) return HostTooOldError;
  return 0;
}

void ClearSlot(WaveHandle *result) { *result = nullptr; }

} // namespace

extern "C" {

int32_t NewWave(WaveHandle *result, int32_t passA, int32_t pointCount,
                int32_t numType, int32_t passC) {
  ClearSlot(result);
  if (int32_t refused = OneDimGate(numType)) return refused;
  return HostCall5(NewWaveService, AddressItem(result), passA, pointCount,
                   numType, passC);
}

int32_t ResizeWave(WaveHandle wave, int32_t pointCount, int32_t numType) {
  if (int32_t refused = OneDimGate(numType)) return refused;
  return HostCall3(ResizeWaveService, AddressItem(wave), pointCount, numType);
}

int32_t WaveRequest2C(WaveHandle wave) {
  return HostCall1(WaveService2C, AddressItem(wave));
}

int32_t NewWaveDims(WaveHandle *result, int32_t passA, int32_t passB,
                    int32_t *dimSizes, int32_t numType, int32_t passC) {
  ClearSlot(result);
  if (HostBelow(300)) {
    if (int32_t refused = MultiDimGate(dimSizes, numType, false))
      return refused;
    return NewWave(result, passA, dimSizes[0], numType, passC);
  }
  return HostCall6(NewWaveDimsService, AddressItem(result), passA, passB,
                   AddressItem(dimSizes), numType, passC);
}

int32_t ResizeWaveDims(WaveHandle wave, int32_t numType, int32_t *dimSizes) {
  if (HostBelow(300)) {
    if (int32_t refused = MultiDimGate(dimSizes, numType, true)) return refused;
    return ResizeWave(wave, dimSizes[0], numType);
  }
  return HostCall3(ResizeWaveDimsService, AddressItem(wave), numType,
                   AddressItem(dimSizes));
}

} // extern "C"
