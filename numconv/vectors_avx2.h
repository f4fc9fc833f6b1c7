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

// A block of 8- or 16-bit values extended by their signedness to N vectors
// of 16-bit (N = 2) or 32-bit (N = 4) lanes.
template <typename S, size_t N>
NUMCONV_INLINE void LoadExtended(const unsigned char *p, Ints (&out)[N]) {
  constexpr size_t kLaneBytes = N;
  constexpr size_t kSourceStep = kVectorBytes / kLaneBytes * sizeof(S);
  ForEach<N>([&](auto k) {
    out[k] = (Ints)Extend<S, kLaneBytes>(p + k * kSourceStep);
  });
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

// The low dword of each 64-bit lane, of low and then of high.
NUMCONV_INLINE Ints JoinLow(Ints low, Ints high) {
  return InOrder(_mm256_castps_si256(
      _mm256_shuffle_ps((__m256)low, (__m256)high, _MM_SHUFFLE(2, 0, 2, 0))));
}

// Exact within the 32-bit range; INT32_MIN outside it and for NaN.
NUMCONV_INLINE Ints TruncateInRange(Floats x) {
  return (Ints)_mm256_cvttps_epi32(x);
}
NUMCONV_INLINE Ints TruncateInRange(Doubles low, Doubles high) {
  return (Ints)_mm256_set_m128i(_mm256_cvttpd_epi32(high),
                                _mm256_cvttpd_epi32(low));
}

NUMCONV_INLINE bool AnyBitSet(Ints x) {
  return !_mm256_testz_si256((__m256i)x, (__m256i)x);
}

// The exact rule for doubles out of the 32-bit range too; the result sits
// in the low dword of each 64-bit lane. The integral part of the magnitude
// is the significand, with its leading bit placed at bit 62, shifted right
// by 1085 - exponent. Masked to 11 bits, that count reaches 64 or more, for
// which the shift gives 0, below 1, from 2^63 on, for infinities and NaN,
// whatever the sign.
NUMCONV_INLINE Ints TruncateDoubleLanes(Doubles x) {
  ULongs bits = (ULongs)x;
  ULongs count = (1085 - (bits >> 52)) & 0x7FF;
  ULongs significand = ((bits << 11) >> 1) | (ULongs{} + (1ull << 62));
  ULongs whole =
      (ULongs)_mm256_srlv_epi64((__m256i)significand, (__m256i)count);
  ULongs negative = (ULongs)((Longs)x < 0);
  return (Ints)((whole ^ negative) - negative);
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
