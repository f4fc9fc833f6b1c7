// Vector types and helpers of one block width. Included inside a variant's
// namespace, after its kVectorBytes, so that each variant compiles its own
// copy for its own processor.

// Block steps must fold into their loop for the block to stay in registers.
#ifndef NUMCONV_INLINE
#define NUMCONV_INLINE inline __attribute__((always_inline))
#endif

// Lanes of one vector register, with the compiler's element-wise operators.
typedef int32_t Ints __attribute__((vector_size(kVectorBytes)));
typedef uint32_t Words __attribute__((vector_size(kVectorBytes)));
typedef int64_t Longs __attribute__((vector_size(kVectorBytes)));
typedef float Floats __attribute__((vector_size(kVectorBytes)));
typedef double Doubles __attribute__((vector_size(kVectorBytes)));

// A block is one vector of bytes: as many values as a vector has bytes.
constexpr int32_t kBlockValues = static_cast<int32_t>(kVectorBytes);

// Aligned stores wherever the target allows: older processors store
// unaligned vectors more slowly. Stores go through the cache, since the
// caller reads the values next, except to targets beyond the caches, apart
// from their source: those are streamed past the caches, aligned
// (convert_array.h says why).
enum class StoreMode { kUnaligned, kAligned, kStreaming };

// Each width's aligned store past the caches (vectors_*.h).
NUMCONV_INLINE void StreamInts(unsigned char *p, Ints v);

// Unaligned loads; stores aligned where the walk has found the target so.
NUMCONV_INLINE Ints LoadInts(const unsigned char *p) {
  Ints v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
NUMCONV_INLINE Doubles LoadDoubles(const unsigned char *p) {
  return (Doubles)LoadInts(p);
}
NUMCONV_INLINE Floats LoadFloats(const unsigned char *p) {
  return (Floats)LoadInts(p);
}

template <StoreMode M> NUMCONV_INLINE void StoreInts(unsigned char *p, Ints v) {
  if constexpr (M == StoreMode::kStreaming)
    StreamInts(p, v);
  else if constexpr (M == StoreMode::kAligned)
    std::memcpy(__builtin_assume_aligned(p, kVectorBytes), &v, sizeof v);
  else
    std::memcpy(p, &v, sizeof v);
}

// Calls step(k) for k = 0 .. N-1 with k a compile-time constant, so that
// the block stays in registers whatever the optimisation level.
template <typename Step, size_t... K>
NUMCONV_INLINE void Unrolled(Step step, std::index_sequence<K...>) {
  (step(std::integral_constant<size_t, K>{}), ...);
}
template <size_t N, typename Step> NUMCONV_INLINE void ForEach(Step step) {
  Unrolled(step, std::make_index_sequence<N>{});
}
