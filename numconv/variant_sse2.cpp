// The pair loops in 16-byte SSE2 blocks, the floor every supported
// processor runs.
#include "variants.h"

#include <emmintrin.h>

#include <cstdint>
#include <cstring>
#include <utility>

namespace numconv::sse2 {
constexpr size_t kVectorBytes = 16;
// Its blocks are slow enough for the processor's prefetcher to keep up.
constexpr bool kPrefetchStretches = false;
// In this order: each builds on the one before.
// clang-format off
#include "vector_types.h"
#include "vectors_sse2.h"
#include "lanes.h"
#include "convert_array.h"
// clang-format on
} // namespace numconv::sse2
