// The steps whose instructions depend on the width, for 64-byte AVX-512
// vectors. Included inside the AVX-512 variant's namespace, where every
// function is compiled for AVX-512 (F, DQ, BW and VL). Its narrowing
// instructions keep the low bits and its conversion to 64-bit integers is
// the truncation rule itself, so no lane needs correcting.

NUMCONV_INLINE __m256i LoadHalf(const unsigned char *p) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i *>(p));
}

// Values of type S at p, extended by S's signedness to 16- or 32-bit lanes.
template <typename S, size_t LaneBytes>
NUMCONV_INLINE __m512i Extend(const unsigned char *p) {
  constexpr bool kSigned = std::is_signed_v<S>;
  if constexpr (sizeof(S) == 1 && LaneBytes == 2)
    return kSigned ? _mm512_cvtepi8_epi16(LoadHalf(p))
                   : _mm512_cvtepu8_epi16(LoadHalf(p));
  else if constexpr (sizeof(S) == 2)
    return kSigned ? _mm512_cvtepi16_epi32(LoadHalf(p))
                   : _mm512_cvtepu16_epi32(LoadHalf(p));
  else {
    __m128i sixteen = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
    return kSigned ? _mm512_cvtepi8_epi32(sixteen)
                   : _mm512_cvtepu8_epi32(sixteen);
  }
}

NUMCONV_INLINE Doubles LoadFloatsAsDoubles(const unsigned char *p) {
  return _mm512_cvtps_pd(_mm256_castsi256_ps(LoadHalf(p)));
}

NUMCONV_INLINE __m512i JoinHalves(__m256i low, __m256i high) {
  return _mm512_inserti64x4(_mm512_castsi256_si512(low), high, 1);
}

NUMCONV_INLINE void SplitToDoubles(Ints x, Doubles &low, Doubles &high) {
  low = _mm512_cvtepi32_pd(_mm512_castsi512_si256((__m512i)x));
  high = _mm512_cvtepi32_pd(_mm512_extracti64x4_epi64((__m512i)x, 1));
}

NUMCONV_INLINE Floats DoublesToFloats(Doubles low, Doubles high) {
  return (Floats)JoinHalves(_mm256_castps_si256(_mm512_cvtpd_ps(low)),
                            _mm256_castps_si256(_mm512_cvtpd_ps(high)));
}

// Exact within the 32-bit range; INT32_MIN outside it and for NaN.
NUMCONV_INLINE Ints TruncateInRange(Floats x) {
  return (Ints)_mm512_cvttps_epi32(x);
}

// x limited to [-limit, limit]; NaN becomes -limit (the second operand of
// max is what it answers for NaN).
NUMCONV_INLINE Floats Clamp(Floats x, float limit) {
  return _mm512_min_ps(_mm512_max_ps(x, _mm512_set1_ps(-limit)),
                       _mm512_set1_ps(limit));
}

// x less the nearest multiple of 2^32: exact for whole floats and for those
// within +-2^31, which lose nothing. NaN and infinities give NaN.
NUMCONV_INLINE Floats LessNearestMultipleOf2To32(Floats x) {
  Floats multiple = _mm512_roundscale_ps(
      x * 0x1p-32f, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
  return _mm512_fnmadd_ps(multiple, _mm512_set1_ps(0x1p32f), x);
}

// The hardware's 64-bit truncation answers 2^63 for NaN, infinities and
// magnitudes of 2^63 or more, whose low 32 bits are 0: the rule exactly,
// for every target width.
NUMCONV_INLINE __m256i TruncateDoubles(Doubles x) {
  return _mm512_cvtepi64_epi32(_mm512_cvttpd_epi64(x));
}

template <size_t TargetBytes>
NUMCONV_INLINE Ints TruncateDoubles(Doubles low, Doubles high) {
  return (Ints)JoinHalves(TruncateDoubles(low), TruncateDoubles(high));
}

NUMCONV_INLINE void StreamInts(unsigned char *p, Ints v) {
  _mm512_stream_si512(reinterpret_cast<__m512i *>(p), (__m512i)v);
}

// ---- Narrowing to the low bits, in order.

NUMCONV_INLINE Ints Narrow16To8(Ints low, Ints high) {
  return (Ints)JoinHalves(_mm512_cvtepi16_epi8((__m512i)low),
                          _mm512_cvtepi16_epi8((__m512i)high));
}

NUMCONV_INLINE Ints Narrow32To16(Ints low, Ints high) {
  return (Ints)JoinHalves(_mm512_cvtepi32_epi16((__m512i)low),
                          _mm512_cvtepi32_epi16((__m512i)high));
}

NUMCONV_INLINE Ints Narrow32To8(const Ints (&x)[4]) {
  __m512i out = _mm512_castsi128_si512(_mm512_cvtepi32_epi8((__m512i)x[0]));
  out = _mm512_inserti32x4(out, _mm512_cvtepi32_epi8((__m512i)x[1]), 1);
  out = _mm512_inserti32x4(out, _mm512_cvtepi32_epi8((__m512i)x[2]), 2);
  return (Ints)_mm512_inserti32x4(out, _mm512_cvtepi32_epi8((__m512i)x[3]), 3);
}
