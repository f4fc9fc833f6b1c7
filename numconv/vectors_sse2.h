// The steps whose instructions depend on the width, for 16-byte SSE2
// vectors. Included inside the SSE2 variant's namespace.

NUMCONV_INLINE __m128i LoadVector(const unsigned char *p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
}

// Compares rather than shifts: shifts share the ports of the unpacks.
template <typename T> NUMCONV_INLINE __m128i SignFill(__m128i x) {
  if constexpr (std::is_unsigned_v<T>)
    return _mm_setzero_si128();
  else if constexpr (sizeof(T) == 1)
    return _mm_cmplt_epi8(x, _mm_setzero_si128());
  else
    return _mm_cmplt_epi16(x, _mm_setzero_si128());
}

// Extends each value of x (of type T) to twice its width by T's signedness:
// the first half of the values into low, the second into high.
template <typename T>
NUMCONV_INLINE void Widen(__m128i x, __m128i &low, __m128i &high) {
  __m128i fill = SignFill<T>(x);
  if constexpr (sizeof(T) == 1) {
    low = _mm_unpacklo_epi8(x, fill);
    high = _mm_unpackhi_epi8(x, fill);
  } else {
    low = _mm_unpacklo_epi16(x, fill);
    high = _mm_unpackhi_epi16(x, fill);
  }
}

// A block of 8- or 16-bit values extended by their signedness to N vectors
// of 16-bit (N = 2) or 32-bit (N = 4) lanes.
template <typename S, size_t N>
NUMCONV_INLINE void LoadExtended(const unsigned char *p, Ints (&out)[N]) {
  __m128i lanes[N];
  if constexpr (N == 2) {
    Widen<S>(LoadVector(p), lanes[0], lanes[1]);
  } else {
    // The 16-bit step keeps the source's signedness, whatever its width.
    using Half = std::conditional_t<std::is_signed_v<S>, int16_t, uint16_t>;
    __m128i halves[2];
    if constexpr (sizeof(S) == 2)
      ForEach<2>([&](auto k) { halves[k] = LoadVector(p + k * 16); });
    else
      Widen<S>(LoadVector(p), halves[0], halves[1]);
    ForEach<2>([&](auto k) {
      Widen<Half>(halves[k], lanes[2 * k], lanes[2 * k + 1]);
    });
  }
  ForEach<N>([&](auto k) { out[k] = (Ints)lanes[k]; });
}

NUMCONV_INLINE Doubles LoadFloatsAsDoubles(const unsigned char *p) {
  return _mm_cvtps_pd(
      _mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(p))));
}

NUMCONV_INLINE void SplitToDoubles(Ints x, Doubles &low, Doubles &high) {
  low = _mm_cvtepi32_pd((__m128i)x);
  high = _mm_cvtepi32_pd(_mm_srli_si128((__m128i)x, 8));
}

NUMCONV_INLINE Floats DoublesToFloats(Doubles low, Doubles high) {
  return _mm_movelh_ps(_mm_cvtpd_ps(low), _mm_cvtpd_ps(high));
}

// Exact within the 32-bit range; INT32_MIN outside it and for NaN.
NUMCONV_INLINE Ints TruncateInRange(Floats x) {
  return (Ints)_mm_cvttps_epi32(x);
}

// x limited to [-limit, limit]; NaN becomes -limit (the second operand of
// max is what it answers for NaN).
NUMCONV_INLINE Floats Clamp(Floats x, float limit) {
  return _mm_min_ps(_mm_max_ps(x, _mm_set1_ps(-limit)), _mm_set1_ps(limit));
}

// x less the nearest multiple of 2^32, without a rounding instruction:
// first the nearest multiple of 2^40 comes off, then that of 2^32, each
// exact for whole floats and those within +-2^31 while below 2^62 in
// magnitude. Larger values come out as multiples of 2^32, NaN and
// infinities as NaN.
NUMCONV_INLINE Floats LessNearestMultipleOf2To32(Floats x) {
  Floats rest40 = x - ((x + 0x1.8p63f) - 0x1.8p63f);
  return rest40 - ((rest40 + 0x1.8p55f) - 0x1.8p55f);
}

#if defined(__x86_64__)
// 64-bit code has the processor's 64-bit truncation, which is the rule
// itself: it answers 2^63 for NaN, infinities and magnitudes of 2^63 or
// more, whose low 32 bits are 0. Every lane of the block takes it, for
// every target width.
NUMCONV_INLINE int32_t TruncateLow(Doubles x) {
  return static_cast<int32_t>(_mm_cvttsd_si64(x));
}
NUMCONV_INLINE int32_t TruncateHigh(Doubles x) {
  return TruncateLow(_mm_unpackhi_pd(x, x));
}
template <size_t TargetBytes>
NUMCONV_INLINE Ints TruncateDoubles(Doubles low, Doubles high) {
  return (Ints)_mm_setr_epi32(TruncateLow(low), TruncateHigh(low),
                              TruncateLow(high), TruncateHigh(high));
}
#else
// The exact rule for doubles, without a rounding instruction; the result
// sits in the low dword of each 64-bit lane. The magnitude, limited to 2^63
// (NaN included), loses the nearest multiple of 2^32 exactly; the rest,
// within +-2^31, is rounded to an integer by adding 1.5 * 2^52, which
// leaves that integer in the sum's low bits, and is taken one lower where
// that rounded up.
NUMCONV_INLINE Ints TruncateDoubleLanes(Doubles x) {
  Doubles magnitude =
      _mm_min_pd((Doubles)((Longs)x & INT64_MAX), _mm_set1_pd(0x1p63));
  Doubles rest = magnitude - ((magnitude + 0x1.8p84) - 0x1.8p84);
  Doubles sum = rest + 0x1.8p52;
  Longs roundedUp = (sum - 0x1.8p52) > rest;
  // Unsigned lanes: the low bits wrap around.
  Words floor = (Words)sum + (Words)roundedUp;
  Words negative = (Words)(x < 0.0);
  return (Ints)((floor ^ negative) - negative);
}

// The low dwords of the 64-bit lanes of low and then of high, the same
// for every target width.
template <size_t TargetBytes>
NUMCONV_INLINE Ints TruncateDoubles(Doubles low, Doubles high) {
  return (Ints)_mm_shuffle_ps((__m128)TruncateDoubleLanes(low),
                              (__m128)TruncateDoubleLanes(high),
                              _MM_SHUFFLE(2, 0, 2, 0));
}
#endif

NUMCONV_INLINE void StreamInts(unsigned char *p, Ints v) {
  _mm_stream_si128(reinterpret_cast<__m128i *>(p), (__m128i)v);
}

// ---- Narrowing to the low bits, in order. The packs saturate, so each
// value is first brought into the range where they are exact.

NUMCONV_INLINE Ints Narrow16To8(Ints low, Ints high) {
  const __m128i byte = _mm_set1_epi16(0xFF);
  return (Ints)_mm_packus_epi16(_mm_and_si128((__m128i)low, byte),
                                _mm_and_si128((__m128i)high, byte));
}

// The low 16 bits less 0x8000 fit the signed pack; the bias comes off the
// packed words with one xor. Cheaper than shifts, which compete with the
// packs for ports.
NUMCONV_INLINE Ints Narrow32To16(Ints low, Ints high) {
  Ints biased[2] = {(low & 0xFFFF) - 0x8000, (high & 0xFFFF) - 0x8000};
  return (Ints)_mm_xor_si128(
      _mm_packs_epi32((__m128i)biased[0], (__m128i)biased[1]),
      _mm_set1_epi16(INT16_MIN));
}

NUMCONV_INLINE Ints Narrow32To8(const Ints (&x)[4]) {
  Ints b[4] = {x[0] & 0xFF, x[1] & 0xFF, x[2] & 0xFF, x[3] & 0xFF};
  return (Ints)_mm_packus_epi16(_mm_packs_epi32((__m128i)b[0], (__m128i)b[1]),
                                _mm_packs_epi32((__m128i)b[2], (__m128i)b[3]));
}
