/* Wave data access and element values. Waves in header layouts 0 and 1 are
   handled here; requests about any other layout go to the host, whose
   answer is returned unchanged. */
#ifndef TAVREL_WAVES_H
#define TAVREL_WAVES_H

#include "services.h"

#ifdef __cplusplus
extern "C" {
#endif

enum {
  WaveTooFewPointsError = 10,
  WaveNumTypeError = 190,
  WaveDimIndexError = 380,
  WaveNotNumericError = 412,
  WaveIndexError = 414
};

/* Host requests about waves. */
enum {
  NewWaveService = 0x2A,
  ResizeWaveService = 0x2B,
  WaveService2C = 0x2C,
  NewWaveDimsService = 0x4D,
  GetWaveDimsService = 0x4E,
  ResizeWaveDimsService = 0x4F,
  GetWaveDimValuesService = 0x50,
  WaveService51 = 0x51,
  GetWaveDimTextService = 0x52,
  SetWaveDimTextService = 0x53,
  GetWaveIndexedTextService = 0x54,
  WaveService55 = 0x55,
  GetWaveDataOffsetService = 0x56,
  GetWaveElementService = 0x57,
  SetWaveElementService = 0x58,
  CopyWaveToDoublesService = 0x59,
  CopyDoublesToWaveService = 0x5A
};

/* Entries of a dimension-size array; GetWaveDims clears them all. */
enum { WaveDimSizeEntries = 11 };

/* Byte offset of the element data in the record (selector 0). */
int32_t GetWaveDataOffset(WaveHandle wave, int32_t selector, int32_t *offset);

/* Fills type, point count and data address of `count` waves (null entries
   stay 0) and returns the largest point count. With `states` given, each
   wave is locked and its old state saved for RestoreWaveStates. */
int32_t SurveyWaves(const WaveHandle *waves, int32_t count, int32_t *numTypes,
                    int32_t *pointCounts, int32_t *states, void **dataPtrs);
void RestoreWaveStates(const WaveHandle *waves, int32_t count,
                       const int32_t *states);

/* Requests to make or change waves. The result slot is cleared first and
   receives the new wave's handle; the pass-through values go to the host
   as they are. Older hosts refuse what they cannot do. */
int32_t NewWave(WaveHandle *result, int32_t passA, int32_t pointCount,
                int32_t numType, int32_t passC);
int32_t ResizeWave(WaveHandle wave, int32_t pointCount, int32_t numType);
int32_t WaveRequest2C(WaveHandle wave);
int32_t NewWaveDims(WaveHandle *result, int32_t passA, int32_t passB,
                    int32_t *dimSizes, int32_t numType, int32_t passC);
int32_t ResizeWaveDims(WaveHandle wave, int32_t numType, int32_t *dimSizes);

/* Dimensions: count, sizes (array of WaveDimSizeEntries, or null), the two
   values of dimension `dim` (-1 for the wave's extra pair) and texts. */
int32_t GetWaveDims(WaveHandle wave, int32_t *dimCount, int32_t *dimSizes);
int32_t GetWaveDimValues(WaveHandle wave, int32_t dim, double *valueA,
                         double *valueB);
int32_t WaveRequest51(int32_t i0, int32_t i1, int32_t i2, int32_t i3);
int32_t GetWaveDimText(WaveHandle wave, int32_t dim, char *text);
int32_t SetWaveDimText(WaveHandle wave, int32_t dim, const char *text);
int32_t GetWaveIndexedText(WaveHandle wave, int32_t selector1,
                           int32_t selector2, char *text);
int32_t WaveRequest55(WaveHandle wave, int32_t i1, int32_t i2, int32_t i3);

/* Element values, always as a pair of doubles (real, imaginary); the
   imaginary part is used only for complex types. */
int32_t WaveLinearIndex(WaveHandle wave, const int32_t *indices,
                        int32_t *linear);
int32_t ReadElementValue(int32_t numType, const void *data, int32_t element,
                         double value[2]);
int32_t WriteElementValue(int32_t numType, void *data, int32_t element,
                          const double value[2]);
int32_t GetWaveElement(WaveHandle wave, const int32_t *indices,
                       double value[2]);
int32_t SetWaveElement(WaveHandle wave, const int32_t *indices,
                       const double value[2]);

/* Whole waves against a buffer of one double per value (two per complex
   element, interleaved). */
int32_t CopyWaveToDoubles(WaveHandle wave, double *buffer);
int32_t CopyDoublesToWave(WaveHandle wave, const double *buffer);

#ifdef __cplusplus
}
#endif

#endif
