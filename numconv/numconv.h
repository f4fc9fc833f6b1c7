/** @file
    Host number types and conversion of value arrays between them. Nothing
    here makes a request to the host. */
#ifndef TAVREL_NUMCONV_H
#define TAVREL_NUMCONV_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/** Number-type codes: bit flags naming the element type of numeric data
    (waves, function-table parameters and results). The eight value types
    are Float32, Float64, Int8, Int16, Int32 and the three integer codes
    with NumTypeUnsigned (0x48, 0x50, 0x60); NumTypeComplex may be added to
    any of them. */
enum {
  NumTypeNone = 0x00,    /**< no numbers: text */
  NumTypeComplex = 0x01, /**< flag: complex, two values per element */
  NumTypeFloat32 = 0x02, /**< 32-bit float */
  NumTypeFloat64 = 0x04, /**< 64-bit float */
  NumTypeInt8 = 0x08,    /**< 8-bit integer */
  NumTypeInt16 = 0x10,   /**< 16-bit integer */
  NumTypeInt32 = 0x20,   /**< 32-bit integer */
  NumTypeUnsigned = 0x40 /**< flag: the integer type is unsigned */
};

/** Number kinds of the (bytes per value, kind) description. */
enum {
  NumKindSigned = 1,   /**< signed integer */
  NumKindUnsigned = 2, /**< unsigned integer */
  NumKindFloat = 3     /**< IEEE float */
};

/** Results of the number-type routines. */
enum {
  NumTypeInvalidError = 17,    /**< not one of the eight value types */
  NumTypeNotNumericError = 374 /**< code 0 or 1: no numbers */
};

/** Results of the conversion routines. */
enum {
  ConvertResultSameType = -1, /**< same type: copied, or left alone */
  ConvertResultDone = 0,      /**< converted */
  ConvertResultInvalid = 1    /**< a type outside the eight; nothing done */
};

/** Translates a number-type code into bytes per value, kind and complex
    flag.
    @param code the number-type code
    @param bytesPerValue receives 1, 2, 4 or 8 (on success only)
    @param kind receives NumKindSigned, NumKindUnsigned or NumKindFloat (on
           success only)
    @param isComplex receives the complex flag, always
    @return 0, NumTypeNotNumericError (code 0 or 1) or
            NumTypeInvalidError. */
int32_t DecodeNumType(uint32_t code, int32_t *bytesPerValue, int32_t *kind,
                      int32_t *isComplex);

/** Translates a (bytes per value, kind) pair into the real type's code.
    @param bytesPerValue 1, 2, 4 or 8
    @param kind NumKindSigned, NumKindUnsigned or NumKindFloat
    @param code receives the code (on success only)
    @return 0, or NumTypeInvalidError. */
int32_t EncodeNumType(int32_t bytesPerValue, int32_t kind, int32_t *code);

/** Reverses the byte order inside each value, in place.
    @param data the values
    @param bytesPerValue bytes per value; nothing happens for 0 or less
    @param count how many values; nothing happens for 0 or less */
void ReverseValueBytes(void *data, int32_t bytesPerValue, int32_t count);

/** The one rule for storing a floating value into an integer type.
    The value is truncated toward zero to a signed 64-bit integer; the
    caller stores its low 8, 16 or 32 bits, so a value beyond the target's
    range wraps to the target's width (300.7 stores 44 into an unsigned
    8-bit integer, -1.0 stores 0xFFFF into an unsigned 16-bit one): it does
    not saturate. NaN, infinities and values of magnitude 2^63 or more
    (-2^63 itself excepted) give 0.
    @param value the floating value
    @return the 64-bit integer whose low bits the caller stores. */
int64_t StoreFloatAsInteger(double value);

/** Converts values between two (bytes per value, kind) descriptions, into
    another buffer or in place. Floats to integers follow
    StoreFloatAsInteger; integers to narrower integers wrap; anything to a
    float rounds to nearest. A target apart from its source, its values on
    their natural boundaries and source and target together 32 MiB or
    more, is written past the processor's caches (as memcpy writes large
    copies): reading it next comes from memory.
    @param source the values
    @param target receives them: another buffer, or source itself (then
           sized for the wider type); other overlaps are not supported
           between different types
    @param count how many values (a complex array: twice its elements);
           0 or less converts nothing
    @param sourceBytes the source's bytes per value
    @param sourceKind the source's kind
    @param targetBytes the target's bytes per value
    @param targetKind the target's kind
    @return ConvertResultDone, ConvertResultSameType (copied, or left
            alone in place) or ConvertResultInvalid (nothing written). */
int32_t ConvertValues(const void *source, void *target, int32_t count,
                      int32_t sourceBytes, int32_t sourceKind,
                      int32_t targetBytes, int32_t targetKind);

/** ConvertValues with both types given as number-type codes.
    @param source the values
    @param target receives them (as ConvertValues)
    @param count how many values
    @param sourceCode the source's real (not complex) type code
    @param targetCode the target's real (not complex) type code
    @return as ConvertValues; ConvertResultInvalid for a complex or invalid
            code. */
int32_t ConvertValuesByType(const void *source, void *target, int32_t count,
                            int32_t sourceCode, int32_t targetCode);

/** Block variants of the conversion loops, narrowest first; all give
    identical results. */
enum {
  ConvertVariantAuto = 0,  /**< the widest this processor and system run */
  ConvertVariantSse2 = 1,  /**< 16-byte blocks, on every processor */
  ConvertVariantAvx2 = 2,  /**< 32-byte blocks */
  ConvertVariantAvx512 = 3 /**< 64-byte blocks */
};

/** Chooses the variant for every later conversion. Without a call, the
    first conversion chooses ConvertVariantAuto.
    @param variant one of the ConvertVariant values
    @return ConvertResultDone, or ConvertResultInvalid (choice unchanged)
            for an unknown variant or one this machine cannot run. */
int32_t SetConvertVariant(int32_t variant);

/** The variant in use (chosen now if none was).
    @return ConvertVariantSse2, ConvertVariantAvx2 or
            ConvertVariantAvx512. */
int32_t ConvertVariantInUse(void);

/** Replaces each value by (value + *offset) * *scale, computed in double
    and stored back by the type's own rule (integers by
    StoreFloatAsInteger). Nothing happens for an offset of 0 with a scale
    of 1 (NaN counts as either), or for a code that is not a real value
    type.
    @param code the values' real type code
    @param data the values
    @param offset the offset
    @param scale the scale
    @param count how many values */
void OffsetAndScaleValues(int32_t code, void *data, const double *offset,
                          const double *scale, int32_t count);

/** A conversion from one source type, choosing the loop for the target.
    Same results as ConvertValues.
    @param source the values
    @param target receives them
    @param count how many
    @param targetKind the target's kind
    @param targetBytes the target's bytes per value
    @return as ConvertValues. */
typedef int32_t NumConvDispatcher(const void *source, void *target,
                                  int32_t count, int32_t targetKind,
                                  int32_t targetBytes);
/** @name Dispatchers
    @{ */
/** ConvertFromT converts from source type T; see NumConvDispatcher. */
NumConvDispatcher ConvertFromFloat64, ConvertFromFloat32, ConvertFromInt32,
    ConvertFromInt16, ConvertFromInt8, ConvertFromUInt32, ConvertFromUInt16,
    ConvertFromUInt8;
/** @} */

/** The loop of one ordered pair of distinct value types. In place when
    source == target.
    @param source the values
    @param target receives them
    @param count how many */
typedef void NumConvPairConverter(const void *source, void *target,
                                  int32_t count);
/** @name Pair converters
    @{ */
/** SToD converts from source type S to target type D by ConvertValues'
    rules; see NumConvPairConverter. */
NumConvPairConverter Float64ToFloat32, Float64ToInt32, Float64ToInt16,
    Float64ToInt8, Float64ToUInt32, Float64ToUInt16, Float64ToUInt8,
    Float32ToFloat64, Float32ToInt32, Float32ToInt16, Float32ToInt8,
    Float32ToUInt32, Float32ToUInt16, Float32ToUInt8, Int32ToFloat64,
    Int32ToFloat32, Int32ToInt16, Int32ToInt8, Int32ToUInt32, Int32ToUInt16,
    Int32ToUInt8, Int16ToFloat64, Int16ToFloat32, Int16ToInt32, Int16ToInt8,
    Int16ToUInt32, Int16ToUInt16, Int16ToUInt8, Int8ToFloat64, Int8ToFloat32,
    Int8ToInt32, Int8ToInt16, Int8ToUInt32, Int8ToUInt16, Int8ToUInt8,
    UInt32ToFloat64, UInt32ToFloat32, UInt32ToInt32, UInt32ToInt16,
    UInt32ToInt8, UInt32ToUInt16, UInt32ToUInt8, UInt16ToFloat64,
    UInt16ToFloat32, UInt16ToInt32, UInt16ToInt16, UInt16ToInt8, UInt16ToUInt32,
    UInt16ToUInt8, UInt8ToFloat64, UInt8ToFloat32, UInt8ToInt32, UInt8ToInt16,
    UInt8ToInt8, UInt8ToUInt32, UInt8ToUInt16;
/** @} */

#ifdef __cplusplus
}
#endif

#endif
