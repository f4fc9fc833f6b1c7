/* Host number types and conversion of value arrays between them. */
#ifndef TAVREL_NUMCONV_H
#define TAVREL_NUMCONV_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Number-type codes: bit flags naming the element type of numeric data. */
enum {
  NumTypeNone = 0x00,
  NumTypeComplex = 0x01,
  NumTypeFloat32 = 0x02,
  NumTypeFloat64 = 0x04,
  NumTypeInt8 = 0x08,
  NumTypeInt16 = 0x10,
  NumTypeInt32 = 0x20,
  NumTypeUnsigned = 0x40
};

/* Number kinds of the (bytes per value, kind) description. */
enum { NumKindSigned = 1, NumKindUnsigned = 2, NumKindFloat = 3 };

/* Results of the number-type routines. */
enum { NumTypeInvalidError = 17, NumTypeNotNumericError = 374 };

/* Results of the conversion routines. */
enum {
  ConvertResultSameType = -1,
  ConvertResultDone = 0,
  ConvertResultInvalid = 1
};

/* Translates a number-type code into bytes per value, kind and complex flag.
   isComplex is always written; the other two only when 0 is returned.
   Returns 0, NumTypeNotNumericError (code 0 or 1) or NumTypeInvalidError. */
int32_t DecodeNumType(uint32_t code, int32_t *bytesPerValue, int32_t *kind,
                      int32_t *isComplex);

/* Translates a (bytes per value, kind) pair into the real type's code.
   Returns 0, or NumTypeInvalidError leaving code unwritten. */
int32_t EncodeNumType(int32_t bytesPerValue, int32_t kind, int32_t *code);

/* Reverses the byte order inside each of count values, in place. Does
   nothing when bytesPerValue or count is not positive. */
void ReverseValueBytes(void *data, int32_t bytesPerValue, int32_t count);

/* The one rule for storing a floating value into an integer type: truncate
   toward zero; inside the signed 64-bit range the result's low bits are
   stored, anything else (NaN, infinities, |value| >= 2^63) stores 0. Returns
   the 64-bit integer whose low 8, 16 or 32 bits the caller stores. */
int64_t StoreFloatAsInteger(double value);

/* Converts count values between two (bytes per value, kind) descriptions,
   into another buffer or in place (source == target, buffer sized for the
   wider type). Returns ConvertResultDone, ConvertResultSameType (copied, or
   left alone in place) or ConvertResultInvalid (nothing written). A count
   of 0 or less converts nothing. */
int32_t ConvertValues(const void *source, void *target, int32_t count,
                      int32_t sourceBytes, int32_t sourceKind,
                      int32_t targetBytes, int32_t targetKind);

/* ConvertValues with both types given as real (not complex) codes. */
int32_t ConvertValuesByType(const void *source, void *target, int32_t count,
                            int32_t sourceCode, int32_t targetCode);

/* Block variants of the conversion loops, narrowest first; all give
   identical results. */
enum {
  ConvertVariantAuto = 0, /* the widest this processor and system run */
  ConvertVariantSse2 = 1,
  ConvertVariantAvx2 = 2,
  ConvertVariantAvx512 = 3
};

/* Chooses the variant for every later conversion. Without a call, the
   first conversion chooses ConvertVariantAuto. Returns ConvertResultDone,
   or ConvertResultInvalid (choice unchanged) for an unknown variant or one
   this machine cannot run. */
int32_t SetConvertVariant(int32_t variant);

/* The variant in use: ConvertVariantSse2, ConvertVariantAvx2 or
   ConvertVariantAvx512. */
int32_t ConvertVariantInUse(void);

/* Replaces each of count values of the real type code by
   (value + *offset) * *scale, stored back by the type's own rule. */
void OffsetAndScaleValues(int32_t code, void *data, const double *offset,
                          const double *scale, int32_t count);

/* One dispatcher per source type, choosing the loop for the target. Same
   results as ConvertValues. */
typedef int32_t NumConvDispatcher(const void *source, void *target,
                                  int32_t count, int32_t targetKind,
                                  int32_t targetBytes);
NumConvDispatcher ConvertFromFloat64, ConvertFromFloat32, ConvertFromInt32,
    ConvertFromInt16, ConvertFromInt8, ConvertFromUInt32, ConvertFromUInt16,
    ConvertFromUInt8;

/* One loop per ordered pair of distinct value types, named source To
   target. In place when source == target. */
typedef void NumConvPairConverter(const void *source, void *target,
                                  int32_t count);
NumConvPairConverter Float64ToFloat32, Float64ToInt32, Float64ToInt16,
    Float64ToInt8, Float64ToUInt32, Float64ToUInt16, Float64ToUInt8;
NumConvPairConverter Float32ToFloat64, Float32ToInt32, Float32ToInt16,
    Float32ToInt8, Float32ToUInt32, Float32ToUInt16, Float32ToUInt8;
NumConvPairConverter Int32ToFloat64, Int32ToFloat32, Int32ToInt16, Int32ToInt8,
    Int32ToUInt32, Int32ToUInt16, Int32ToUInt8;
NumConvPairConverter Int16ToFloat64, Int16ToFloat32, Int16ToInt32, Int16ToInt8,
    Int16ToUInt32, Int16ToUInt16, Int16ToUInt8;
NumConvPairConverter Int8ToFloat64, Int8ToFloat32, Int8ToInt32, Int8ToInt16,
    Int8ToUInt32, Int8ToUInt16, Int8ToUInt8;
NumConvPairConverter UInt32ToFloat64, UInt32ToFloat32, UInt32ToInt32,
    UInt32ToInt16, UInt32ToInt8, UInt32ToUInt16, UInt32ToUInt8;
NumConvPairConverter UInt16ToFloat64, UInt16ToFloat32, UInt16ToInt32,
    UInt16ToInt16, UInt16ToInt8, UInt16ToUInt32, UInt16ToUInt8;
NumConvPairConverter UInt8ToFloat64, UInt8ToFloat32, UInt8ToInt32, UInt8ToInt16,
    UInt8ToInt8, UInt8ToUInt32, UInt8ToUInt16;

#ifdef __cplusplus
}
#endif

#endif
