// The pair loops in 32-byte AVX2 blocks. Only the functions of this file
// are compiled for AVX2, and they run only when the processor and the system
// support it (variant_choice.cpp).
#include "variant_target.h"
#include "variants.h"

#include <immintrin.h>

#include <cstdint>
#include <cstring>
#include <utility>

NUMCONV_TARGET_BEGIN("avx2,fma")
namespace numconv::avx2 {
constexpr size_t kVectorBytes = 32;
constexpr bool kPrefetchStretches = true;
// In this order: each builds on the one before.
// clang-format off
#include "vector_types.h"
#include "vectors_avx2.h"
#include "vectors_wide.h"
#include "lanes.h"
#include "convert_array.h"
// clang-format on
} // namespace numconv::avx2
NUMCONV_TARGET_END
