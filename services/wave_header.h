/* A wave's basic header fields. Waves whose header is in one of the two
   known layouts are read directly; the host is asked about any other. */
#ifndef TAVREL_SERVICES_WAVE_HEADER_H
#define TAVREL_SERVICES_WAVE_HEADER_H

#include "hostlink.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The handle of a wave's record: header, then the element data. */
typedef Handle WaveHandle;

/* Byte offsets in a wave's record; fields are little-endian and packed on
   2 bytes, so wider fields may sit at offsets that are not multiples of
   their size. The 16-bit layout field decides where everything else is. */
enum {
  WaveLayoutOffset = 26,

  Layout0NumTypeOffset = 0,
  Layout0PointCountOffset = 42,
  Layout0DimValueAOffset = 48,
  Layout0DimValueBOffset = 56,
  Layout0HeaderValue94Offset = 66,
  Layout0AuxValueAOffset = 70,
  Layout0AuxValueBOffset = 78,
  Layout0HeaderValue93Offset = 102,
  Layout0DataOffset = 110,

  Layout1HeaderValue93Offset = 8,
  Layout1PointCountOffset = 12,
  Layout1NumTypeOffset = 16,
  Layout1DimSizesOffset = 68,   /* 4 x 32-bit */
  Layout1DimValueAOffset = 84,  /* 4 x 64-bit float */
  Layout1DimValueBOffset = 116, /* 4 x 64-bit float */
  Layout1AuxValueAOffset = 172,
  Layout1AuxValueBOffset = 180,
  Layout1HeaderValue94Offset = 296,
  Layout1HeaderValue95Offset = 308,
  Layout1DataOffset = 320,

  Layout1MaxDims = 4
};

/* Services asked for a wave in another layout, with the wave as the item. */
enum {
  WaveNumberTypeService = 34,
  WavePointCountService = 35,
  WaveDataStartService = 37,
  WaveHeaderValue93Service = 93,
  WaveHeaderValue94Service = 94,
  WaveHeaderValue95Service = 95
};

int32_t WaveNumberType(WaveHandle wave);
int32_t WavePointCount(WaveHandle wave);
/* Valid only while the block does not move: lock the handle to keep it. */
void *WaveDataStart(WaveHandle wave);
int32_t WaveHeaderValue93(WaveHandle wave);
int32_t WaveHeaderValue94(WaveHandle wave);
int32_t WaveHeaderValue95(WaveHandle wave); /* 0 for layout 0 */

#ifdef __cplusplus
}
#endif

#endif
