// The pair loops in 32-byte AVX2 blocks. Only the functions of this file
// are compiled for AVX2, and they run only when the processor and the system
// support it (variant_choice.cpp).
#include "variants.h"

#include <immintrin.h>

#include <cstdint>
#include <cstring>
#include <utility>

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))),                  \
                             apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

namespace numconv::avx2 {
constexpr size_t kVectorBytes = 32;
// In this order: each builds on the one before.
// clang-format off
#include "vector_types.h"
#include "vectors_avx2.h"
#include "lanes.h"
#include "convert_array.h"
// clang-format on
} // namespace numconv::avx2

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif
