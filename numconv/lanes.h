// Steps that convert a block of values of one type into another, written
// once for every vector width. Included inside a variant's namespace after
// its vector types and width-specific steps.
//
// A block is loaded whole into registers before any of it is stored, so a
// block step is as safe in place as a single value. Every pair goes through
// one register form chosen by the two types: the low 16 bits of each value
// (small integers to small integers), the low 32 bits (other integer
// targets), doubles, or floats.

struct Int16Lanes {
  Ints v[2];
};
struct Int32Lanes {
  Ints v[4];
};
struct Float32Lanes {
  Floats v[4];
};
struct Float64Lanes {
  Doubles v[8];
};

// ---- Floating sources to integers: truncate, keep the low 32 bits of the
// 64-bit result, 0 for NaN, infinities and magnitudes of 2^63 or more.
//
// Every block takes the same exact steps, in registers, whatever its
// values: clipped signals and NaN markers cost what in-range data costs.
// Limiting a value to +-2^k first settles NaN, infinities and everything
// beyond the 64-bit range at once, as 2^k has no low bits.

// Floats of 2^31 or more are whole, so losing their nearest multiple of
// 2^32 leaves their low bits within the hardware's range, where +-2^31
// answer INT32_MIN, which has the right low bits. For 16-bit targets even
// NaN and infinities need no more: they too answer INT32_MIN, whose low 16
// bits are 0, as are those of every float of 2^62 or more. Byte targets
// need only the hardware conversion: a float of 2^31 or more is a multiple
// of 2^8, and INT32_MIN's low 8 bits are 0 too.
template <size_t TargetBytes> NUMCONV_INLINE Ints TruncateFloatLanes(Floats x) {
  if constexpr (TargetBytes == 1) return TruncateInRange(x);
  if constexpr (TargetBytes == 4) x = Clamp(x, 0x1p62f);
  return TruncateInRange(LessNearestMultipleOf2To32(x));
}

NUMCONV_INLINE Doubles DoublesAt(const unsigned char *p, size_t k) {
  return LoadDoubles(p + k * kVectorBytes);
}

template <size_t TargetBytes>
NUMCONV_INLINE Int32Lanes TruncateFloat64Block(const unsigned char *p) {
  Int32Lanes out;
  ForEach<4>([&](auto k) {
    out.v[k] = TruncateDoubles<TargetBytes>(DoublesAt(p, 2 * k),
                                            DoublesAt(p, 2 * k + 1));
  });
  return out;
}

template <size_t TargetBytes>
NUMCONV_INLINE Int32Lanes TruncateFloat32Block(const unsigned char *p) {
  Int32Lanes out;
  ForEach<4>([&](auto k) {
    out.v[k] =
        TruncateFloatLanes<TargetBytes>(LoadFloats(p + k * kVectorBytes));
  });
  return out;
}

// ---- Integer sources, extended by their own signedness.

// N vectors of 16-bit (N = 2) or 32-bit (N = 4) lanes.
template <typename S, size_t N>
NUMCONV_INLINE void LoadWidened(const unsigned char *p, Ints (&out)[N]) {
  if constexpr (sizeof(S) == N)
    ForEach<N>([&](auto k) { out[k] = LoadInts(p + k * kVectorBytes); });
  else
    LoadExtended<S>(p, out);
}

template <typename S>
NUMCONV_INLINE Int16Lanes LoadInt16Lanes(const unsigned char *p) {
  Int16Lanes out;
  LoadWidened<S>(p, out.v);
  return out;
}

template <typename S>
NUMCONV_INLINE Int32Lanes LoadIntegerLanes(const unsigned char *p) {
  Int32Lanes out;
  LoadWidened<S>(p, out.v);
  return out;
}

template <typename S, typename D>
NUMCONV_INLINE Int32Lanes LoadInt32Lanes(const unsigned char *p) {
  if constexpr (std::is_same_v<S, Float64>)
    return TruncateFloat64Block<sizeof(D)>(p);
  else if constexpr (std::is_same_v<S, Float32>)
    return TruncateFloat32Block<sizeof(D)>(p);
  else
    return LoadIntegerLanes<S>(p);
}

// ---- Sources to doubles (exact for every source).

template <typename S>
NUMCONV_INLINE Float64Lanes LoadFloat64Lanes(const unsigned char *p) {
  Float64Lanes out;
  if constexpr (std::is_same_v<S, Float32>) {
    ForEach<8>([&](auto k) {
      out.v[k] = LoadFloatsAsDoubles(p + k * kVectorBytes / 2);
    });
  } else {
    // Unsigned values are flipped into the signed range, and what the flip
    // took away is added back.
    constexpr bool kUnsigned32 = std::is_same_v<S, UInt32>;
    constexpr double kFlip = kUnsigned32 ? 0x1p31 : 0;
    Int32Lanes ints = LoadIntegerLanes<S>(p);
    ForEach<4>([&](auto k) {
      Ints x = kUnsigned32 ? ints.v[k] ^ INT32_MIN : ints.v[k];
      SplitToDoubles(x, out.v[2 * k], out.v[2 * k + 1]);
      if (kUnsigned32) {
        out.v[2 * k] += kFlip;
        out.v[2 * k + 1] += kFlip;
      }
    });
  }
  return out;
}

// ---- Sources to floats (rounded to nearest, ties to even).

template <bool Unsigned32> NUMCONV_INLINE Floats Int32ToFloats(Ints x) {
  if constexpr (!Unsigned32) return __builtin_convertvector(x, Floats);
  // Each 16-bit half goes into the significand of a float of fixed exponent
  // (2^23 + low, 2^39 + high * 2^16), which costs no conversion. Taking the
  // two offsets off the high part is exact, so the one rounding is in the sum.
  Floats low = (Floats)((x & 0xFFFF) | 0x4B000000);      // 2^23
  Floats high = (Floats)(((Words)x >> 16) | 0x53000000); // 2^39
  return (high - (0x1p39f + 0x1p23f)) + low;
}

template <typename S>
NUMCONV_INLINE Float32Lanes LoadFloat32Lanes(const unsigned char *p) {
  Float32Lanes out;
  if constexpr (std::is_same_v<S, Float64>) {
    ForEach<4>([&](auto k) {
      out.v[k] = DoublesToFloats(LoadDoubles(p + 2 * k * kVectorBytes),
                                 LoadDoubles(p + (2 * k + 1) * kVectorBytes));
    });
  } else {
    Int32Lanes ints = LoadIntegerLanes<S>(p);
    ForEach<4>([&](auto k) {
      out.v[k] = Int32ToFloats<std::is_same_v<S, UInt32>>(ints.v[k]);
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

// ---- Stores. Integer targets keep the low bits.

template <typename D, StoreMode M>
NUMCONV_INLINE void StoreLanes(unsigned char *p, const Int16Lanes &x) {
  if constexpr (sizeof(D) == 2)
    ForEach<2>([&](auto k) { StoreInts<M>(p + k * kVectorBytes, x.v[k]); });
  else
    StoreInts<M>(p, Narrow16To8(x.v[0], x.v[1]));
}

template <typename D, StoreMode M>
NUMCONV_INLINE void StoreLanes(unsigned char *p, const Int32Lanes &x) {
  if constexpr (sizeof(D) == 4) {
    ForEach<4>([&](auto k) { StoreInts<M>(p + k * kVectorBytes, x.v[k]); });
  } else if constexpr (sizeof(D) == 2) {
    StoreInts<M>(p, Narrow32To16(x.v[0], x.v[1]));
    StoreInts<M>(p + kVectorBytes, Narrow32To16(x.v[2], x.v[3]));
  } else {
    StoreInts<M>(p, Narrow32To8(x.v));
  }
}

template <typename D, StoreMode M>
NUMCONV_INLINE void StoreLanes(unsigned char *p, const Float64Lanes &x) {
  ForEach<8>([&](auto k) { StoreInts<M>(p + k * kVectorBytes, (Ints)x.v[k]); });
}

template <typename D, StoreMode M>
NUMCONV_INLINE void StoreLanes(unsigned char *p, const Float32Lanes &x) {
  ForEach<4>([&](auto k) { StoreInts<M>(p + k * kVectorBytes, (Ints)x.v[k]); });
}
