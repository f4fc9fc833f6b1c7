/* WaveSum.xop, an extension built from the Tavrel kit alone. Two external
   functions over waves:
     WaveSum(w)           the sum of the wave's values
     WaveRetype(w, type)  converts the wave's values to another number type
                          in place and returns how many it converted
   CMakeLists.txt declares them, and our errors, for the function table;
   WaveSum_functions.h, written from that, gives their order and codes. */
#include <stddef.h>
#include <stdint.h>

#include <tavrel/numconv.h>
#include <tavrel/waves.h>

#include "WaveSum_functions.h"

/* Parameter blocks: one 8-byte slot per parameter, last first, then the
   result slot. */
typedef struct {
  ExternalParam wave;
  double result;
} WaveSumParams;

typedef struct {
  ExternalParam numType;
  ExternalParam wave;
  double result;
} WaveRetypeParams;

/* The values of a real wave as doubles, in a host block that the caller
   disposes of. */
static int32_t CopyValues(WaveHandle wave, double **values, int32_t *count) {
  int32_t bytes, kind, isComplex;
  if (wave == NULL) return NullHandleError;
  if (DecodeNumType(WaveNumberType(wave), &bytes, &kind, &isComplex) != 0 ||
      isComplex)
    return WaveNumTypeError;
  *count = WavePointCount(wave);
  if (*count < 0 || *count > INT32_MAX / (int32_t)sizeof(double))
    return ErrWaveTooLarge;
  *values = NewPtr(*count * (int32_t)sizeof(double));
  if (*values == NULL) return MemError();
  int32_t error = CopyWaveToDoubles(wave, *values);
  if (error != 0) DisposePtr(*values);
  return error;
}

static int32_t WaveSum(void *params) {
  WaveSumParams *p = params;
  double *values, sum = 0;
  int32_t count;
  int32_t error = CopyValues(p->wave.wave, &values, &count);
  if (error != 0) return error;
  for (int32_t k = 0; k < count; ++k)
    sum += values[k];
  DisposePtr(values);
  p->result = sum;
  return 0;
}

/* The wave in `type` with `values`; on failure the wave is put back as it
   was, so a refused conversion changes nothing. */
static int32_t Reshape(WaveHandle wave, int32_t type, int32_t oldType,
                       int32_t *sizes, const double *values) {
  int32_t error = ResizeWaveDims(wave, type, sizes);
  if (error == 0) error = CopyDoublesToWave(wave, values);
  if (error != 0 && WaveNumberType(wave) != oldType &&
      ResizeWaveDims(wave, oldType, sizes) == 0)
    CopyDoublesToWave(wave, values);
  return error;
}

static int32_t WaveRetype(void *params) {
  WaveRetypeParams *p = params;
  WaveHandle wave = p->wave.wave;
  int64_t type = StoreFloatAsInteger(p->numType.number);
  int32_t bytes, kind, isComplex, count, dims, sizes[WaveDimSizeEntries];
  double *values;
  if (type != (int32_t)type ||
      DecodeNumType((uint32_t)type, &bytes, &kind, &isComplex) != 0 ||
      isComplex)
    return NumTypeInvalidError;
  int32_t error = CopyValues(wave, &values, &count);
  if (error != 0) return error;
  error = GetWaveDims(wave, &dims, sizes);
  if (error == 0)
    error = Reshape(wave, (int32_t)type, WaveNumberType(wave), sizes, values);
  DisposePtr(values);
  if (error == 0) p->result = count;
  return error;
}

static ExternalFunctionProc const Functions[] = {EXTERNAL_FUNCTIONS};

static void HandleMessage(void) {
  int32_t answer = 0;
  if (GetHostMessage() == MsgFunctionAddress) {
    int32_t index = GetHostItem(0);
    if (index >= 0 && index < ExternalFunctionCount)
      answer = (int32_t)(uintptr_t)Functions[index];
  }
  SetHostResult(answer);
}

/* The only export: the host calls it once, with the record. */
void main(Handle recordHandle) {
  InitHostLink(recordHandle);
  SetMessageEntry(HandleMessage);
  SetHostResult(HostVersion < 200 ? ErrHostTooOld : 0);
}
