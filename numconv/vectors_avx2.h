// The steps whose instructions depend on the width, for 32-byte AVX2
// vectors. Included inside the AVX2 variant's namespace, where every
// function is compiled for AVX2. The AVX2 packs and unpacks work within
// each 16-byte half; a lane permutation puts their results back in order.

NUMCONV_INLINE __m128i LoadHalf(const unsigned char *p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
}

// Values of type S at p, extended by S's signedness to 16- or 32-bit lanes.
template <typename S, size_t LaneBytes>
NUMCONV_INLINE __m256i Extend(const unsigned char *p) {
  constexpr bool kSigned = std::is_signed_v<S>;
  if constexpr (sizeof(S) == 1 && LaneBytes == 2)
    return kSigned ? _mm256_cvtepi8_epi16(LoadHalf(p))
                   : _mm256_cvtepu8_epi16(LoadHalf(p));
  else if constexpr (sizeof(S) == 2)
    return kSigned ? _mm256_cvtepi16_epi32(LoadHalf(p))
                   : _mm256_cvtepu16_epi32(LoadHalf(p));
  else {
    __m128i eight = _mm_loadl_epi64(reinterpret_cast<const __m128i *>(p));
    return kSigned ? _mm256_cvtepi8_epi32(eight) : _mm256_cvtepu8_epi32(eight);
  }
}

NUMCONV_INLINE Doubles LoadFloatsAsDoubles(const unsigned char *p) {
  return _mm256_cvtps_pd(_mm_castsi128_ps(LoadHalf(p)));
}

NUMCONV_INLINE void SplitToDoubles(Ints x, Doubles &low, Doubles &high) {
  low = _mm256_cvtepi32_pd(_mm256_castsi256_si128((__m256i)x));
  high = _mm256_cvtepi32_pd(_mm256_extracti128_si256((__m256i)x, 1));
}

NUMCONV_INLINE Floats DoublesToFloats(Doubles low, Doubles high) {
  return _mm256_set_m128(_mm256_cvtpd_ps(high), _mm256_cvtpd_ps(low));
}

// 64-bit quarters 0, 2, 1, 3: undoes the interleaving of two in-half packs.
NUMCONV_INLINE Ints InOrder(__m256i x) {
  return (Ints)_mm256_permute4x64_epi64(x, _MM_SHUFFLE(3, 1, 2, 0));
}

// Exact within the 32-bit range; INT32_MIN outside it and for NaN.
NUMCONV_INLINE Ints TruncateInRange(Floats x) {
  return (Ints)_mm256_cvttps_epi32(x);
}

// x limited to [-limit, limit]; NaN becomes -limit (the second operand of
// max is what it answers for NaN).
NUMCONV_INLINE Floats Clamp(Floats x, float limit) {
  return _mm256_min_ps(_mm256_max_ps(x, _mm256_set1_ps(-limit)),
                       _mm256_set1_ps(limit));
}
NUMCONV_INLINE Doubles Clamp(Doubles x, double limit) {
  return _mm256_min_pd(_mm256_max_pd(x, _mm256_set1_pd(-limit)),
                       _mm256_set1_pd(limit));
}

// x less the nearest multiple of 2^32: exact for whole floats and for those
// within +-2^31, which lose nothing. NaN and infinities give NaN.
NUMCONV_INLINE Floats LessNearestMultipleOf2To32(Floats x) {
  Floats multiple = _mm256_round_ps(x * 0x1p-32f, _MM_FROUND_TO_NEAREST_INT |
                                                      _MM_FROUND_NO_EXC);
  return _mm256_fnmadd_ps(multiple, _mm256_set1_ps(0x1p32f), x);
}

// The exact rule for doubles. Limited to +-2^63 and truncated, a value
// loses the nearest multiple of 2^32 exactly in one fused step, which
// leaves its low bits within +-2^31 for the hardware conversion. The
// multiply-add units take part of the work, so the adders are not the
// only ones busy.
//
// Byte targets need no limit. NaN and infinities come out NaN, for which
// the hardware answers INT32_MIN; magnitudes of 2^63 or more are multiples
// of 2^11, as is what is left of them. Either way the low 8 bits are 0.
template <size_t TargetBytes>
NUMCONV_INLINE __m128i TruncateDoubles(Doubles x) {
  if constexpr (TargetBytes > 1) x = Clamp(x, 0x1p63);
  Doubles whole = _mm256_round_pd(x, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
  Doubles multiple = _mm256_round_pd(
      whole * 0x1p-32, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
  return _mm256_cvttpd_epi32(
      _mm256_fnmadd_pd(multiple, _mm256_set1_pd(0x1p32), whole));
}

template <size_t TargetBytes>
NUMCONV_INLINE Ints TruncateDoubles(Doubles low, Doubles high) {
  return (Ints)_mm256_set_m128i(TruncateDoubles<TargetBytes>(high),
                                TruncateDoubles<TargetBytes>(low));
}

NUMCONV_INLINE void StreamInts(unsigned char *p, Ints v) {
  _mm256_stream_si256(reinterpret_cast<__m256i *>(p), (__m256i)v);
}

// ---- Narrowing to the low bits, in order. The packs saturate, so each
// value is first masked to the bits it keeps.

NUMCONV_INLINE Ints Narrow16To8(Ints low, Ints high) {
  const __m256i byte = _mm256_set1_epi16(0xFF);
  return InOrder(_mm256_packus_epi16(_mm256_and_si256((__m256i)low, byte),
                                     _mm256_and_si256((__m256i)high, byte)));
}

NUMCONV_INLINE Ints Narrow32To16(Ints low, Ints high) {
  return InOrder(
      _mm256_packus_epi32((__m256i)(low & 0xFFFF), (__m256i)(high & 0xFFFF)));
}

// The two packs leave the dwords of the four sources interleaved.
NUMCONV_INLINE Ints Narrow32To8(const Ints (&x)[4]) {
  Ints b[4] = {x[0] & 0xFF, x[1] & 0xFF, x[2] & 0xFF, x[3] & 0xFF};
  __m256i packed =
      _mm256_packus_epi16(_mm256_packs_epi32((__m256i)b[0], (__m256i)b[1]),
                          _mm256_packs_epi32((__m256i)b[2], (__m256i)b[3]));
  return (Ints)_mm256_permutevar8x32_epi32(
      packed, _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7));
}
