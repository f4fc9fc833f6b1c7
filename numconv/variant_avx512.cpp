// The pair loops in 64-byte AVX-512 blocks. Only the functions of this file
// are compiled for AVX-512, and they run only when the processor and the
// system support it (variant_choice.cpp).
#include "variant_target.h"
#include "variants.h"

#include <immintrin.h>

#include <cstdint>
#include <cstring>
#include <utility>

NUMCONV_TARGET_BEGIN("avx512f,avx512dq,avx512bw,avx512vl")
namespace numconv::avx512 {
constexpr size_t kVectorBytes = 64;
constexpr bool kPrefetchStretches = true;
// In this order: each builds on the one before.
// clang-format off
#include "vector_types.h"
#include "vectors_avx512.h"
#include "vectors_wide.h"
#include "lanes.h"
#include "convert_array.h"
// clang-format on
} // namespace numconv::avx512
NUMCONV_TARGET_END
