/** @file
    Wave data access and element values. Waves in header layouts 0 and 1
    are handled here, without a request unless an entry says so; requests
    about any other layout go to the host, whose answer is returned
    unchanged. Request codes are given in decimal (the enum below has them
    in hexadecimal). No routine checks a wave handle for null. */
#ifndef TAVREL_WAVES_H
#define TAVREL_WAVES_H

#include "services.h"

#ifdef __cplusplus
extern "C" {
#endif

/** The wave routines' own results (HostTooOldError is in hostlink.h). */
enum {
  /** ResizeWaveDims below host 300: a first dimension below 2 points. */
  WaveTooFewPointsError = 10,
  /** A number type outside the eight value types (numconv.h). */
  WaveNumTypeError = 190,
  /** GetWaveDimValues: no such dimension in the layout. */
  WaveDimIndexError = 380,
  /** The wave holds no numbers: number type 0 (text) or 1. */
  WaveNotNumericError = 412,
  /** An element index outside its dimension or the point count. */
  WaveIndexError = 414
};

/** Host requests about waves. */
enum {
  NewWaveService = 0x2A,            /**< 42: NewWave */
  ResizeWaveService = 0x2B,         /**< 43: ResizeWave */
  WaveService2C = 0x2C,             /**< 44: WaveRequest2C */
  NewWaveDimsService = 0x4D,        /**< 77: NewWaveDims */
  GetWaveDimsService = 0x4E,        /**< 78: GetWaveDims */
  ResizeWaveDimsService = 0x4F,     /**< 79: ResizeWaveDims */
  GetWaveDimValuesService = 0x50,   /**< 80: GetWaveDimValues */
  WaveService51 = 0x51,             /**< 81: WaveRequest51 */
  GetWaveDimTextService = 0x52,     /**< 82: GetWaveDimText */
  SetWaveDimTextService = 0x53,     /**< 83: SetWaveDimText */
  GetWaveIndexedTextService = 0x54, /**< 84: GetWaveIndexedText */
  WaveService55 = 0x55,             /**< 85: WaveRequest55 */
  GetWaveDataOffsetService = 0x56,  /**< 86: GetWaveDataOffset */
  GetWaveElementService = 0x57,     /**< 87: GetWaveElement */
  SetWaveElementService = 0x58,     /**< 88: SetWaveElement */
  CopyWaveToDoublesService = 0x59,  /**< 89: CopyWaveToDoubles */
  CopyDoublesToWaveService = 0x5A   /**< 90: CopyDoublesToWave */
};

/** Sizes of dimension-size arrays. */
enum {
  WaveDimSizeEntries = 11 /**< entries; GetWaveDims clears them all */
};

/** The byte offset of the element data in the wave's record. Layout 0 with
    selector 0 gives 110 and layout 1 with selector 0 gives 320, without a
    request; layout 0 with another selector gives HostTooOldError (163)
    without a request; anything else sends host request 86.
    @param wave the wave
    @param selector 0 for the element data
    @param offset receives the offset
    @return 0, HostTooOldError, WaveNotNumericError (layout 1 of number
            type 0), or the host's answer. */
int32_t GetWaveDataOffset(WaveHandle wave, int32_t selector, int32_t *offset);

/** Fills type, point count and data address of several waves in one pass
    (WaveNumberType, WavePointCount, WaveDataStart: requests only for
    layouts other than 0 and 1). With `states` given, each wave is locked
    (LockHandleHigh) before its address is taken, and stays locked until
    RestoreWaveStates. The arrays are cleared first; null entries stay 0.
    @param waves the waves; null entries are skipped
    @param count how many
    @param numTypes receives the number types
    @param pointCounts receives the point counts
    @param states receives the old handle states, or null for no locking
    @param dataPtrs receives the data addresses
    @return the largest point count. */
int32_t SurveyWaves(const WaveHandle *waves, int32_t count, int32_t *numTypes,
                    int32_t *pointCounts, int32_t *states, void **dataPtrs);
/** Gives the waves that SurveyWaves locked their saved states back
    (HSetState).
    @param waves the waves, as given to SurveyWaves
    @param count how many
    @param states the states SurveyWaves saved; null does nothing */
void RestoreWaveStates(const WaveHandle *waves, int32_t count,
                       const int32_t *states);

/** Asks the host for a new one-dimensional wave. *result is cleared first.
    Below host version 300, a number type whose real part is 0, or (below
    200) not Float32 or Float64, gives HostTooOldError (163) without a
    request. Sends host request 42.
    @param result receives the new wave's handle
    @param passA item 1, passed through
    @param pointCount the number of points
    @param numType the number type
    @param passC item 4, passed through
    @return 0, HostTooOldError, or the host's answer. */
int32_t NewWave(WaveHandle *result, int32_t passA, int32_t pointCount,
                int32_t numType, int32_t passC);
/** Asks the host to resize a one-dimensional wave and change its type.
    Version gates as NewWave. Sends host request 43.
    @param wave the wave
    @param pointCount the new number of points
    @param numType the new number type
    @return 0, HostTooOldError, or the host's answer. */
int32_t ResizeWave(WaveHandle wave, int32_t pointCount, int32_t numType);
/** Sends host request 44 with the wave.
    @param wave the wave
    @return the host's answer. */
int32_t WaveRequest2C(WaveHandle wave);
/** Asks the host for a new wave of up to four dimensions. *result is
    cleared first. From host version 300 on, sends host request 77. Below,
    only one dimension: a second size, number type 0, an unsigned type or
    (below 200) an integer type gives HostTooOldError (163) without a
    request; otherwise NewWave (its gates, then request 42; passB is
    dropped).
    @param result receives the new wave's handle
    @param passA item 1, passed through
    @param passB item 2, passed through
    @param dimSizes the dimension sizes (WaveDimSizeEntries entries)
    @param numType the number type
    @param passC item 5, passed through
    @return 0, HostTooOldError, or the host's answer. */
int32_t NewWaveDims(WaveHandle *result, int32_t passA, int32_t passB,
                    int32_t *dimSizes, int32_t numType, int32_t passC);
/** Asks the host to resize a wave and change its type. From host version
    300 on, sends host request 79. Below, version gates as NewWaveDims, and
    a first size below 2 gives WaveTooFewPointsError, both without a
    request; otherwise ResizeWave (its gates, then request 43).
    @param wave the wave
    @param numType the new number type
    @param dimSizes the new dimension sizes (WaveDimSizeEntries entries)
    @return 0, HostTooOldError, WaveTooFewPointsError, or the host's
            answer. */
int32_t ResizeWaveDims(WaveHandle wave, int32_t numType, int32_t *dimSizes);

/** A wave's dimensions. The sizes are cleared first (all
    WaveDimSizeEntries). Layouts 0 and 1: from the record; other layouts:
    sends host request 78.
    @param wave the wave
    @param dimCount receives the number of dimensions (1 for layout 0)
    @param dimSizes receives the sizes, or null
    @return 0, or the host's answer. */
int32_t GetWaveDims(WaveHandle wave, int32_t *dimCount, int32_t *dimSizes);
/** The two values (A and B) of a dimension, copied as raw 8-byte values.
    Layouts 0 and 1: from the record; other layouts: sends host request 80,
    whose items are the wave and the two addresses (not the dimension).
    @param wave the wave
    @param dim the dimension (0 for layout 0, 0 to 3 for layout 1), or -1
           for the wave's extra pair
    @param valueA receives value A
    @param valueB receives value B
    @return 0, WaveDimIndexError, or the host's answer. */
int32_t GetWaveDimValues(WaveHandle wave, int32_t dim, double *valueA,
                         double *valueB);
/** Sends host request 81 with four items.
    @param i0 item 0
    @param i1 item 1
    @param i2 item 2
    @param i3 item 3
    @return the host's answer. */
int32_t WaveRequest51(int32_t i0, int32_t i1, int32_t i2, int32_t i3);
/** A dimension's text; the text is emptied first. Layout 0: dimensions 0
    and -1 send host request 52, whose answer is dropped; others send
    nothing. Other layouts, 1 included: sends host request 82.
    @param wave the wave
    @param dim the dimension, or -1 for the wave's second text
    @param text receives the text; as large as the host's texts
    @return 0 for layout 0, else the host's answer. */
int32_t GetWaveDimText(WaveHandle wave, int32_t dim, char *text);
/** Sets a dimension's text. Layout 0: dimensions 0 and -1 send host
    request 53, whose answer is dropped; others send nothing. Other
    layouts, 1 included: sends host request 83.
    @param wave the wave
    @param dim the dimension, or -1 for the wave's second text
    @param text the text
    @return 0 for layout 0, else the host's answer. */
int32_t SetWaveDimText(WaveHandle wave, int32_t dim, const char *text);
/** An indexed text of a wave. Layout 0: the empty text, without a
    request; other layouts: sends host request 84.
    @param wave the wave
    @param selector1 item 1, passed through
    @param selector2 item 2, passed through
    @param text receives the text
    @return 0 for layout 0, else the host's answer. */
int32_t GetWaveIndexedText(WaveHandle wave, int32_t selector1,
                           int32_t selector2, char *text);
/** Sends host request 85 with the wave and three items; nothing for
    layout 0.
    @param wave the wave
    @param i1 item 1
    @param i2 item 2
    @param i3 item 3
    @return 0 for layout 0, else the host's answer. */
int32_t WaveRequest55(WaveHandle wave, int32_t i1, int32_t i2, int32_t i3);

/** The element number of a layout-1 wave's element, dimension 0 varying
    fastest. No request.
    @param wave the wave (layout 1)
    @param indices one index per dimension in use
    @param linear receives the element number
    @return 0, or WaveIndexError for an index outside its dimension. */
int32_t WaveLinearIndex(WaveHandle wave, const int32_t *indices,
                        int32_t *linear);
/** Reads an element of data of a number type as doubles. No request.
    @param numType the number type
    @param data the element data
    @param element the element's number
    @param value receives the real part, and for a complex type the
           imaginary part (value[1] is left alone otherwise)
    @return 0, WaveNotNumericError (type 0 or 1) or WaveNumTypeError. */
int32_t ReadElementValue(int32_t numType, const void *data, int32_t element,
                         double value[2]);
/** Writes an element of data of a number type from doubles, integers by
    StoreFloatAsInteger's rule (truncated, wrapped). No request.
    @param numType the number type
    @param data the element data
    @param element the element's number
    @param value the real part, and the imaginary part for a complex type
    @return 0, WaveNotNumericError or WaveNumTypeError (nothing
            written). */
int32_t WriteElementValue(int32_t numType, void *data, int32_t element,
                          const double value[2]);
/** Reads one element of a wave. Layouts 0 and 1: checked and read here;
    other layouts: sends host request 87.
    @param wave the wave
    @param indices one index per dimension (layout 0 reads indices[0])
    @param value receives the real and (complex types) imaginary part
    @return 0, WaveIndexError, WaveNotNumericError, WaveNumTypeError, or
            the host's answer. */
int32_t GetWaveElement(WaveHandle wave, const int32_t *indices,
                       double value[2]);
/** Writes one element of a wave. Layouts 0 and 1: checked and written
    here; other layouts: sends host request 88.
    @param wave the wave
    @param indices one index per dimension (layout 0 reads indices[0])
    @param value the real and (complex types) imaginary part
    @return 0, WaveIndexError, WaveNotNumericError, WaveNumTypeError, or
            the host's answer. */
int32_t SetWaveElement(WaveHandle wave, const int32_t *indices,
                       const double value[2]);

/** Copies all values of a wave into doubles (ConvertValues), with the
    handle locked meanwhile. Layouts 0 and 1: no request; other layouts:
    sends host request 89.
    @param wave the wave
    @param buffer receives one double per value: WavePointCount values,
           twice that for a complex wave (real and imaginary interleaved)
    @return 0, WaveNotNumericError, WaveNumTypeError, or the host's
            answer. */
int32_t CopyWaveToDoubles(WaveHandle wave, double *buffer);
/** Stores doubles into all values of a wave (ConvertValues: integers by
    StoreFloatAsInteger's rule), with the handle locked meanwhile. Layouts
    0 and 1: no request; other layouts: sends host request 90.
    @param wave the wave
    @param buffer one double per value, as CopyWaveToDoubles gives them
    @return 0, WaveNotNumericError, WaveNumTypeError, or the host's
            answer. */
int32_t CopyDoublesToWave(WaveHandle wave, const double *buffer);

#ifdef __cplusplus
}
#endif

#endif
