/** @file
    A wave's basic header fields. Waves whose header is in one of the two
    known layouts (0 and 1) are read directly, without a request; the host
    is asked about any other layout. */
#ifndef TAVREL_SERVICES_WAVE_HEADER_H
#define TAVREL_SERVICES_WAVE_HEADER_H

#include "hostlink.h"

#ifdef __cplusplus
extern "C" {
#endif

/** The handle of a wave's record: header, then the element data. */
typedef Handle WaveHandle;

/** Byte offsets in a wave's record; fields are little-endian and packed on
    2 bytes, so wider fields may sit at offsets that are not multiples of
    their size. The 16-bit layout field decides where everything else
    is. */
enum {
  WaveLayoutOffset = 26, /**< the layout field, 16 bits: 0, 1 or other */

  Layout0NumTypeOffset = 0,         /**< layout 0: number type, 16 bits */
  Layout0PointCountOffset = 42,     /**< layout 0: point count, 32 bits */
  Layout0DimValueAOffset = 48,      /**< layout 0: value A of dimension 0 */
  Layout0DimValueBOffset = 56,      /**< layout 0: value B of dimension 0 */
  Layout0HeaderValue94Offset = 66,  /**< layout 0: WaveHeaderValue94 */
  Layout0AuxValueAOffset = 70,      /**< layout 0: value A of dimension -1 */
  Layout0AuxValueBOffset = 78,      /**< layout 0: value B of dimension -1 */
  Layout0HeaderValue93Offset = 102, /**< layout 0: WaveHeaderValue93 */
  Layout0DataOffset = 110,          /**< layout 0: the element data */

  Layout1HeaderValue93Offset = 8,   /**< layout 1: WaveHeaderValue93 */
  Layout1PointCountOffset = 12,     /**< layout 1: point count, 32 bits */
  Layout1NumTypeOffset = 16,        /**< layout 1: number type, 16 bits */
  Layout1DimSizesOffset = 68,       /**< layout 1: 4 x 32-bit sizes */
  Layout1DimValueAOffset = 84,      /**< layout 1: 4 x 64-bit float */
  Layout1DimValueBOffset = 116,     /**< layout 1: 4 x 64-bit float */
  Layout1AuxValueAOffset = 172,     /**< layout 1: value A of dimension -1 */
  Layout1AuxValueBOffset = 180,     /**< layout 1: value B of dimension -1 */
  Layout1HeaderValue94Offset = 296, /**< layout 1: WaveHeaderValue94 */
  Layout1HeaderValue95Offset = 308, /**< layout 1: WaveHeaderValue95 */
  Layout1DataOffset = 320,          /**< layout 1: the element data */

  Layout1MaxDims = 4 /**< dimensions of a layout-1 wave */
};

/** Requests sent for a wave in another layout, with the wave as the
    item. */
enum {
  WaveNumberTypeService = 34,    /**< WaveNumberType */
  WavePointCountService = 35,    /**< WavePointCount */
  WaveDataStartService = 37,     /**< WaveDataStart */
  WaveHeaderValue93Service = 93, /**< WaveHeaderValue93 */
  WaveHeaderValue94Service = 94, /**< WaveHeaderValue94 */
  WaveHeaderValue95Service = 95  /**< WaveHeaderValue95 */
};

/** A wave's number type. Layouts 0 and 1: read from the record; other
    layouts: sends host request 34.
    @param wave the wave
    @return the number-type code (numconv.h), or the host's answer. */
int32_t WaveNumberType(WaveHandle wave);
/** A wave's number of elements (a complex element counts once). Layouts 0
    and 1: read from the record; other layouts: sends host request 35.
    @param wave the wave
    @return the point count, or the host's answer. */
int32_t WavePointCount(WaveHandle wave);
/** The address of a wave's element data, valid only while the block does
    not move: lock the handle (LockHandleHigh) to keep it. Layouts 0 and 1:
    computed; other layouts: sends host request 37.
    @param wave the wave
    @return the address. */
void *WaveDataStart(WaveHandle wave);
/** A 32-bit header field. Layouts 0 and 1: read from the record; other
    layouts: sends host request 93.
    @param wave the wave
    @return the field, or the host's answer. */
int32_t WaveHeaderValue93(WaveHandle wave);
/** A 16-bit header field, sign-extended. Layouts 0 and 1: read from the
    record; other layouts: sends host request 94.
    @param wave the wave
    @return the field, or the host's answer. */
int32_t WaveHeaderValue94(WaveHandle wave);
/** A 16-bit header field of layout 1, sign-extended. Layout 0: 0; layout
    1: read from the record; other layouts: sends host request 95.
    @param wave the wave
    @return the field, 0, or the host's answer. */
int32_t WaveHeaderValue95(WaveHandle wave);

#ifdef __cplusplus
}
#endif

#endif
