// Dimension sizes, values and texts; layouts 0 and 1 from the record, other
// layouts from the host.
#include <cstring>

#include "detail/address_item.h"
#include "detail/wave_fields.h"
#include "waves.h"

namespace {

enum : int32_t { kAuxDim = -1, kScratchTextBytes = 52 };

void ClearDimSizes(int32_t *dimSizes) {
  if (dimSizes != nullptr)
    std::memset(dimSizes, 0, WaveDimSizeEntries * sizeof(int32_t));
}

int32_t Layout1DimSize(WaveHandle wave, int32_t dim) {
  return WaveField<int32_t>(wave, Layout1DimSizesOffset + 4 * dim);
}

// Offsets of the A and B values of `dim`, or false if the layout has no
// such dimension.
bool DimValueOffsets(int32_t layout, int32_t dim, int32_t &a, int32_t &b) {
  if (dim == kAuxDim) {
    a = layout == 0 ? Layout0AuxValueAOffset : Layout1AuxValueAOffset;
    b = layout == 0 ? Layout0AuxValueBOffset : Layout1AuxValueBOffset;
    return true;
  }
  if (layout == 0 && dim == 0) {
    a = Layout0DimValueAOffset;
    b = Layout0DimValueBOffset;
    return true;
  }
  if (layout == 1 && dim >= 0 && dim < Layout1MaxDims) {
    a = Layout1DimValueAOffset + 8 * dim;
    b = Layout1DimValueBOffset + 8 * dim;
    return true;
  }
  return false;
}

// Raw 8-byte copy: the values are only moved, never computed with.
void CopyDimValue(WaveHandle wave, int32_t offset, double *out) {
  std::memcpy(out, *wave + offset, sizeof *out);
}

} // namespace

extern "C" {

int32_t GetWaveDims(WaveHandle wave, int32_t *dimCount, int32_t *dimSizes) {
  ClearDimSizes(dimSizes);
  switch (WaveLayout(wave)) {
  case 0:
    *dimCount = 1;
    if (dimSizes != nullptr) dimSizes[0] = WavePointCount(wave);
    return 0;
  case 1:
    *dimCount = 0;
    for (int32_t d = 0; d < Layout1MaxDims; ++d) {
      int32_t size = Layout1DimSize(wave, d);
      if (size == 0) break;
      ++*dimCount;
      if (dimSizes != nullptr) dimSizes[d] = size;
    }
    return 0;
  default:
    return HostCall3(GetWaveDimsService, AddressItem(wave),
                     AddressItem(dimCount), AddressItem(dimSizes));
  }
}

int32_t GetWaveDimValues(WaveHandle wave, int32_t dim, double *valueA,
                         double *valueB) {
  int32_t layout = WaveLayout(wave);
  if (!IsKnownLayout(layout))
    return HostCall3(GetWaveDimValuesService, AddressItem(wave),
                     AddressItem(valueA), AddressItem(valueB));
  int32_t a, b;
  if (!DimValueOffsets(layout, dim, a, b)) return WaveDimIndexError;
  CopyDimValue(wave, a, valueA);
  CopyDimValue(wave, b, valueB);
  return 0;
}

int32_t WaveRequest51(int32_t i0, int32_t i1, int32_t i2, int32_t i3) {
  return HostCall4(WaveService51, i0, i1, i2, i3);
}

// Layout 0 fetches both texts at once; the unwanted one lands in scratch.
int32_t GetWaveDimText(WaveHandle wave, int32_t dim, char *text) {
  text[0] = 0;
  if (WaveLayout(wave) != 0)
    return HostCall3(GetWaveDimTextService, AddressItem(wave), dim,
                     AddressItem(text));
  char scratch[kScratchTextBytes] = {};
  if (dim == 0)
    HostService52(AddressItem(wave), AddressItem(text), AddressItem(scratch));
  if (dim == kAuxDim)
    HostService52(AddressItem(wave), AddressItem(scratch), AddressItem(text));
  return 0;
}

int32_t SetWaveDimText(WaveHandle wave, int32_t dim, const char *text) {
  if (WaveLayout(wave) != 0)
    return HostCall3(SetWaveDimTextService, AddressItem(wave), dim,
                     AddressItem(text));
  if (dim == 0) HostService53(AddressItem(wave), AddressItem(text), 0);
  if (dim == kAuxDim) HostService53(AddressItem(wave), 0, AddressItem(text));
  return 0;
}

int32_t GetWaveIndexedText(WaveHandle wave, int32_t selector1,
                           int32_t selector2, char *text) {
  if (WaveLayout(wave) == 0) {
    text[0] = 0;
    return 0;
  }
  return HostCall4(GetWaveIndexedTextService, AddressItem(wave), selector1,
                   selector2, AddressItem(text));
}

int32_t WaveRequest55(WaveHandle wave, int32_t i1, int32_t i2, int32_t i3) {
  if (WaveLayout(wave) == 0) return 0;
  return HostCall4(WaveService55, AddressItem(wave), i1, i2, i3);
}

int32_t GetWaveDataOffset(WaveHandle wave, int32_t selector, int32_t *offset) {
  switch (WaveLayout(wave)) {
  case 0:
    if (selector != 0) return HostTooOldError;
    *offset = Layout0DataOffset;
    return 0;
  case 1:
    if (selector != 0) break;
    if (WaveField<int16_t>(wave, Layout1NumTypeOffset) == 0)
      return WaveNotNumericError;
    *offset = Layout1DataOffset;
    return 0;
  }
  return HostCall3(GetWaveDataOffsetService, AddressItem(wave), selector,
                   AddressItem(offset));
}

} // extern "C"
