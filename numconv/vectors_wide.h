// Steps shared by the widths that extend small integers with one
// instruction per vector (AVX2 and AVX-512). Included inside such a
// variant's namespace after its own steps, which define Extend.

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
