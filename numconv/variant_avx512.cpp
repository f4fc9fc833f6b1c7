// The pair loops in 64-byte AVX-512 blocks. Only the functions of this file
// are compiled for AVX-512, and they run only when the processor and the system
// support it (variant_choice.cpp).
#include "variants.h"

#include <immintrin.h>

#include <cstdint>
#include <cstring>
#include <utility>

#if defined(__clang__)
#pragma clang attribute push(                                                  \
    __attribute__((target("avx512f,avx512dq,avx512bw,avx512vl"))),             \
    apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx512f,avx512dq,avx512bw,avx512vl")
// The compiler's own AVX-512 intrinsics start some results from a
// deliberately undefined register, which its flow analysis then reports.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

namespace numconv::avx512 {
constexpr size_t kVectorBytes = 64;
// In this order: each builds on the one before.
// clang-format off
#include "vector_types.h"
#include "vectors_avx512.h"
#include "lanes.h"
#include "convert_array.h"
// clang-format on
} // namespace numconv::avx512

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif
