// SSE2 steps that convert a block of values of one type into another.
//
// A block is loaded whole into registers before any of it is stored, so a
// block step is as safe in place as a single value. Every pair goes through
// one register form chosen by the two types: the low 16 bits of each value
// (small integers to small integers), the low 32 bits (other integer
// targets), doubles, or floats.
#ifndef TAVREL_NUMCONV_LANES_H
#define TAVREL_NUMCONV_LANES_H

#include "value_types.h"

#include <emmintrin.h>

#include <utility>

namespace numconv {

// Block steps must fold into their loop for the block to stay in registers.
#define NUMCONV_INLINE inline __attribute__((always_inline))

constexpr int32_t kBlockValues = 16;
constexpr size_t kVectorBytes = 16;

// Calls step(k) for k = 0 .. N-1 with k a compile-time constant, so that
// the block stays in registers whatever the optimisation level.
template <typename Step, size_t... K>
NUMCONV_INLINE void Unrolled(Step step, std::index_sequence<K...>) {
  (step(std::integral_constant<size_t, K>{}), ...);
}
template <size_t N, typename Step> NUMCONV_INLINE void ForEach(Step step) {
  Unrolled(step, std::make_index_sequence<N>{});
}

struct Int16Lanes {
  __m128i v[kBlockValues / 8];
};
struct Int32Lanes {
  __m128i v[kBlockValues / 4];
};
struct Float32Lanes {
  __m128 v[kBlockValues / 4];
};
struct Float64Lanes {
  __m128d v[kBlockValues / 2];
};

// Aligned stores wherever the target allows: older processors store
// unaligned vectors more slowly. Stores go through the cache, since the
// caller reads the values next.
enum class StoreMode { kUnaligned, kAligned };

NUMCONV_INLINE __m128i LoadVector(const unsigned char *p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
}
NUMCONV_INLINE __m128d LoadDoubles(const unsigned char *p) {
  return _mm_castsi128_pd(LoadVector(p));
}
NUMCONV_INLINE __m128 LoadFloats(const unsigned char *p) {
  return _mm_castsi128_ps(LoadVector(p));
}

template <StoreMode M>
NUMCONV_INLINE void StoreVector(unsigned char *p, __m128i v) {
  __m128i *to = reinterpret_cast<__m128i *>(p);
  if constexpr (M == StoreMode::kAligned)
    _mm_store_si128(to, v);
  else
    _mm_storeu_si128(to, v);
}

// ---- Integer sources, extended by their own signedness.

// Compares rather than shifts: shifts share the ports of the unpacks.
template <typename S> NUMCONV_INLINE __m128i SignFill(__m128i x) {
  if constexpr (std::is_unsigned_v<S>)
    return _mm_setzero_si128();
  else if constexpr (sizeof(S) == 1)
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

template <typename S>
NUMCONV_INLINE Int16Lanes LoadInt16Lanes(const unsigned char *p) {
  Int16Lanes out;
  if constexpr (sizeof(S) == 2)
    ForEach<2>([&](auto k) { out.v[k] = LoadVector(p + k * kVectorBytes); });
  else
    Widen<S>(LoadVector(p), out.v[0], out.v[1]);
  return out;
}

template <typename S>
NUMCONV_INLINE Int32Lanes LoadIntegerLanes(const unsigned char *p) {
  Int32Lanes out;
  if constexpr (sizeof(S) == 4) {
    ForEach<4>([&](auto k) { out.v[k] = LoadVector(p + k * kVectorBytes); });
  } else {
    // The 16-bit step keeps the source's signedness, whatever its width.
    using Half = std::conditional_t<std::is_signed_v<S>, Int16, UInt16>;
    Int16Lanes halves = LoadInt16Lanes<S>(p);
    ForEach<2>([&](auto k) {
      Widen<Half>(halves.v[k], out.v[2 * k], out.v[2 * k + 1]);
    });
  }
  return out;
}

// ---- Floating sources to integers: truncate, keep the low 32 bits of the
// 64-bit result, 0 for NaN, infinities and magnitudes of 2^63 or more.

// Integral part of non-negative doubles (exact for every magnitude).
NUMCONV_INLINE __m128d TruncateMagnitude(__m128d magnitude) {
  const __m128d two52 = _mm_set1_pd(0x1p52);
  __m128d rounded = _mm_sub_pd(_mm_add_pd(magnitude, two52), two52);
  __m128d roundedUp = _mm_cmpgt_pd(rounded, magnitude);
  __m128d floored = _mm_sub_pd(rounded, _mm_and_pd(roundedUp, _mm_set1_pd(1)));
  // From 2^52 on every double is integral, and the addition above loses bits.
  __m128d integral = _mm_cmpge_pd(magnitude, two52);
  return _mm_or_pd(_mm_and_pd(integral, magnitude),
                   _mm_andnot_pd(integral, floored));
}

// The high dword of each 64-bit lane, moved to dwords 0 and 1.
NUMCONV_INLINE __m128i HighDwords(__m128i x) {
  return _mm_shuffle_epi32(x, _MM_SHUFFLE(3, 3, 3, 1));
}

// The exact rule for any two doubles; results in dwords 0 and 1.
NUMCONV_INLINE __m128i TruncateWide(__m128d x) {
  __m128d magnitude = _mm_andnot_pd(_mm_set1_pd(-0.0), x);
  __m128d whole = TruncateMagnitude(magnitude);
  __m128d high = TruncateMagnitude(_mm_mul_pd(whole, _mm_set1_pd(0x1p-32)));
  __m128d low = _mm_sub_pd(whole, _mm_mul_pd(high, _mm_set1_pd(0x1p32)));
  // low is in [0, 2^32): shift it into the signed range to convert it.
  __m128i bits =
      _mm_xor_si128(_mm_cvttpd_epi32(_mm_sub_pd(low, _mm_set1_pd(0x1p31))),
                    _mm_set1_epi32(INT32_MIN));
  __m128i negative = HighDwords(_mm_srai_epi32(_mm_castpd_si128(x), 31));
  __m128i signedBits = _mm_sub_epi32(_mm_xor_si128(bits, negative), negative);
  __m128i inRange = HighDwords(
      _mm_castpd_si128(_mm_cmplt_pd(magnitude, _mm_set1_pd(0x1p63))));
  return _mm_and_si128(signedBits, inRange);
}

// The hardware conversion answers INT32_MIN for everything outside the
// 32-bit range. A high half of 0x8000 flags it (and the few values just above
// INT32_MIN, which the exact path handles as well); only flagged blocks take
// the exact path.
NUMCONV_INLINE bool MayBeOutOfRange(const Int32Lanes &lanes) {
  __m128i least = _mm_min_epi16(_mm_min_epi16(lanes.v[0], lanes.v[1]),
                                _mm_min_epi16(lanes.v[2], lanes.v[3]));
  __m128i flagged = _mm_cmpeq_epi16(least, _mm_set1_epi16(INT16_MIN));
  constexpr int kHighHalves = 0xCCCC;
  return (_mm_movemask_epi8(flagged) & kHighHalves) != 0;
}

NUMCONV_INLINE __m128i JoinLow(__m128i a, __m128i b) {
  return _mm_unpacklo_epi64(a, b);
}

// The exact paths are rare and long: kept out of line so that they do not
// crowd the registers of the common path.
[[gnu::noinline]] inline Int32Lanes
TruncateFloat64Wide(const unsigned char *p) {
  Int32Lanes out;
  ForEach<4>([&](auto k) {
    out.v[k] = JoinLow(TruncateWide(LoadDoubles(p + 32 * k)),
                       TruncateWide(LoadDoubles(p + 32 * k + 16)));
  });
  return out;
}

[[gnu::noinline]] inline Int32Lanes
TruncateFloat32Wide(const unsigned char *p) {
  Int32Lanes out;
  ForEach<4>([&](auto k) {
    __m128 x = LoadFloats(p + k * kVectorBytes);
    out.v[k] = JoinLow(TruncateWide(_mm_cvtps_pd(x)),
                       TruncateWide(_mm_cvtps_pd(_mm_movehl_ps(x, x))));
  });
  return out;
}

NUMCONV_INLINE Int32Lanes TruncateFloat64Block(const unsigned char *p) {
  Int32Lanes out;
  ForEach<4>([&](auto k) {
    out.v[k] = JoinLow(_mm_cvttpd_epi32(LoadDoubles(p + 32 * k)),
                       _mm_cvttpd_epi32(LoadDoubles(p + 32 * k + 16)));
  });
  return MayBeOutOfRange(out) ? TruncateFloat64Wide(p) : out;
}

// A float of magnitude 2^31 or more has a 24-bit significand and so is a
// multiple of 2^8: its low 8 bits are 0, as are those of INT32_MIN, which the
// hardware answers. Byte targets need no exact path.
template <size_t TargetBytes>
NUMCONV_INLINE Int32Lanes TruncateFloat32Block(const unsigned char *p) {
  Int32Lanes out;
  ForEach<4>([&](auto k) {
    out.v[k] = _mm_cvttps_epi32(LoadFloats(p + k * kVectorBytes));
  });
  if constexpr (TargetBytes == 1)
    return out;
  else
    return MayBeOutOfRange(out) ? TruncateFloat32Wide(p) : out;
}

template <typename S, typename D>
NUMCONV_INLINE Int32Lanes LoadInt32Lanes(const unsigned char *p) {
  if constexpr (std::is_same_v<S, Float64>)
    return TruncateFloat64Block(p);
  else if constexpr (std::is_same_v<S, Float32>)
    return TruncateFloat32Block<sizeof(D)>(p);
  else
    return LoadIntegerLanes<S>(p);
}

// ---- Sources to doubles (exact for every source).

template <bool Unsigned32>
NUMCONV_INLINE __m128d Int32PairToFloat64(__m128i x) {
  if constexpr (!Unsigned32) return _mm_cvtepi32_pd(x);
  // Flip into the signed range and add back what the flip took away.
  __m128i flipped = _mm_xor_si128(x, _mm_set1_epi32(INT32_MIN));
  return _mm_add_pd(_mm_cvtepi32_pd(flipped), _mm_set1_pd(0x1p31));
}

template <typename S>
NUMCONV_INLINE Float64Lanes LoadFloat64Lanes(const unsigned char *p) {
  Float64Lanes out;
  if constexpr (std::is_same_v<S, Float64>) {
    ForEach<8>([&](auto k) { out.v[k] = LoadDoubles(p + k * kVectorBytes); });
  } else if constexpr (std::is_same_v<S, Float32>) {
    ForEach<4>([&](auto k) {
      __m128 x = LoadFloats(p + k * kVectorBytes);
      out.v[2 * k] = _mm_cvtps_pd(x);
      out.v[2 * k + 1] = _mm_cvtps_pd(_mm_movehl_ps(x, x));
    });
  } else {
    constexpr bool kUnsigned32 = std::is_same_v<S, UInt32>;
    Int32Lanes ints = LoadIntegerLanes<S>(p);
    ForEach<4>([&](auto k) {
      out.v[2 * k] = Int32PairToFloat64<kUnsigned32>(ints.v[k]);
      out.v[2 * k + 1] =
          Int32PairToFloat64<kUnsigned32>(_mm_srli_si128(ints.v[k], 8));
    });
  }
  return out;
}

// ---- Sources to floats (rounded to nearest, ties to even).

template <bool Unsigned32> NUMCONV_INLINE __m128 Int32ToFloat32(__m128i x) {
  if constexpr (!Unsigned32) return _mm_cvtepi32_ps(x);
  // Each 16-bit half goes into the significand of a float of fixed exponent
  // (2^23 + low, 2^39 + high * 2^16), which costs no conversion. Taking the
  // two offsets off the high part is exact, so the one rounding is in the sum.
  const __m128i lowExponent = _mm_set1_epi32(0x4B000000);  // 2^23
  const __m128i highExponent = _mm_set1_epi32(0x53000000); // 2^39
  __m128 low = _mm_castsi128_ps(
      _mm_or_si128(_mm_and_si128(x, _mm_set1_epi32(0xFFFF)), lowExponent));
  __m128 high =
      _mm_castsi128_ps(_mm_or_si128(_mm_srli_epi32(x, 16), highExponent));
  return _mm_add_ps(_mm_sub_ps(high, _mm_set1_ps(0x1p39f + 0x1p23f)), low);
}

template <typename S>
NUMCONV_INLINE Float32Lanes LoadFloat32Lanes(const unsigned char *p) {
  Float32Lanes out;
  if constexpr (std::is_same_v<S, Float64>) {
    ForEach<4>([&](auto k) {
      out.v[k] = _mm_movelh_ps(_mm_cvtpd_ps(LoadDoubles(p + 32 * k)),
                               _mm_cvtpd_ps(LoadDoubles(p + 32 * k + 16)));
    });
  } else if constexpr (std::is_same_v<S, Float32>) {
    ForEach<4>([&](auto k) { out.v[k] = LoadFloats(p + k * kVectorBytes); });
  } else {
    Int32Lanes ints = LoadIntegerLanes<S>(p);
    ForEach<4>([&](auto k) {
      out.v[k] = Int32ToFloat32<std::is_same_v<S, UInt32>>(ints.v[k]);
    });
  }
  return out;
}

template <typename S, typename D>
NUMCONV_INLINE auto LoadLanes(const unsigned char *p) {
  constexpr bool kSmallIntegers = std::is_integral_v<S> &&
                                  std::is_integral_v<D> && sizeof(S) <= 2 &&
                                  sizeof(D) <= 2;
  if constexpr (std::is_same_v<D, Float64>)
    return LoadFloat64Lanes<S>(p);
  else if constexpr (std::is_same_v<D, Float32>)
    return LoadFloat32Lanes<S>(p);
  else if constexpr (kSmallIntegers)
    return LoadInt16Lanes<S>(p);
  else
    return LoadInt32Lanes<S, D>(p);
}

// ---- Stores. Integer targets keep the low bits; the packs saturate, so
// each value is first brought into the range where they are exact.

template <typename D, StoreMode M>
NUMCONV_INLINE void StoreLanes(unsigned char *p, const Int16Lanes &x) {
  if constexpr (sizeof(D) == 2) {
    ForEach<2>([&](auto k) { StoreVector<M>(p + k * kVectorBytes, x.v[k]); });
  } else {
    const __m128i byte = _mm_set1_epi16(0xFF);
    StoreVector<M>(p, _mm_packus_epi16(_mm_and_si128(x.v[0], byte),
                                       _mm_and_si128(x.v[1], byte)));
  }
}

template <typename D, StoreMode M>
NUMCONV_INLINE void StoreLanes(unsigned char *p, const Int32Lanes &x) {
  if constexpr (sizeof(D) == 4) {
    ForEach<4>([&](auto k) { StoreVector<M>(p + k * kVectorBytes, x.v[k]); });
  } else if constexpr (sizeof(D) == 2) {
    // The low 16 bits less 0x8000 fit the signed pack; the bias comes off
    // the packed words with one xor. Cheaper than shifts, which compete with
    // the packs for ports.
    const __m128i word = _mm_set1_epi32(0xFFFF);
    const __m128i bias = _mm_set1_epi32(0x8000);
    __m128i biased[4];
    ForEach<4>([&](auto k) {
      biased[k] = _mm_sub_epi32(_mm_and_si128(x.v[k], word), bias);
    });
    const __m128i unbias = _mm_set1_epi16(INT16_MIN);
    StoreVector<M>(
        p, _mm_xor_si128(_mm_packs_epi32(biased[0], biased[1]), unbias));
    StoreVector<M>(
        p + kVectorBytes,
        _mm_xor_si128(_mm_packs_epi32(biased[2], biased[3]), unbias));
  } else {
    const __m128i byte = _mm_set1_epi32(0xFF);
    __m128i low8[4];
    ForEach<4>([&](auto k) { low8[k] = _mm_and_si128(x.v[k], byte); });
    StoreVector<M>(p, _mm_packus_epi16(_mm_packs_epi32(low8[0], low8[1]),
                                       _mm_packs_epi32(low8[2], low8[3])));
  }
}

template <typename D, StoreMode M>
NUMCONV_INLINE void StoreLanes(unsigned char *p, const Float64Lanes &x) {
  ForEach<8>([&](auto k) {
    StoreVector<M>(p + k * kVectorBytes, _mm_castpd_si128(x.v[k]));
  });
}

template <typename D, StoreMode M>
NUMCONV_INLINE void StoreLanes(unsigned char *p, const Float32Lanes &x) {
  ForEach<4>([&](auto k) {
    StoreVector<M>(p + k * kVectorBytes, _mm_castps_si128(x.v[k]));
  });
}

} // namespace numconv

#endif
