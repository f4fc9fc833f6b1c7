// Which block variant the conversions use: the widest that the processor
// and the system support, chosen once at the first conversion unless a
// caller has chosen before.
#include "variants.h"

#include <cpuid.h>

#include <atomic>

namespace numconv {
namespace {

const uint32_t kFma = 1u << 12, kOsxsave = 1u << 27, kAvx = 1u << 28;

VectorFeatures ReadVectorFeatures() {
  VectorFeatures features = {0, 0, 0};
  unsigned a, b, c, d;
  if (!__get_cpuid(1, &a, &b, &c, &d))
    return features; // unreachable: every processor with SSE2 has leaf 1
  features.leaf1Ecx = c;
  // xgetbv exists only where the system has turned OSXSAVE on.
  if (c & kOsxsave) {
    unsigned low, high;
    __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    features.xcr0 = low;
  }
  if (__get_cpuid_count(7, 0, &a, &b, &c, &d)) features.leaf7Ebx = b;
  return features;
}

// All variants give the same bits, so two threads making the first choice
// at once store the same answer.
std::atomic<int32_t> gVariant{ConvertVariantAuto};

// Asked of the processor once: cpuid is slow, above all in a virtual machine.
std::atomic<int32_t> gWidest{ConvertVariantAuto};

int32_t WidestVariant() {
  int32_t widest = gWidest.load(std::memory_order_relaxed);
  if (widest == ConvertVariantAuto) {
    widest = WidestVariantFor(ReadVectorFeatures());
    gWidest.store(widest, std::memory_order_relaxed);
  }
  return widest;
}

} // namespace

// Wider vectors need the processor's support and the system's: the system
// must save the registers' upper parts (OSXSAVE, then the XCR0 bits of the
// states: 1 and 2 for AVX2, 5 to 7 as well for AVX-512). The AVX2 blocks
// also use the fused multiply-add.
int32_t WidestVariantFor(const VectorFeatures &features) {
  const uint32_t needed = kFma | kOsxsave | kAvx;
  const uint32_t vectorStates = 0x6, wideStates = 0xE6;
  const uint32_t avx2 = 1u << 5;
  if ((features.leaf1Ecx & needed) != needed ||
      (features.xcr0 & vectorStates) != vectorStates ||
      !(features.leaf7Ebx & avx2))
    return ConvertVariantSse2;
  // F, DQ, BW and VL.
  const uint32_t avx512 = (1u << 16) | (1u << 17) | (1u << 30) | (1u << 31);
  if ((features.xcr0 & wideStates) == wideStates &&
      (features.leaf7Ebx & avx512) == avx512)
    return ConvertVariantAvx512;
  return ConvertVariantAvx2;
}

const PairLoops &ActivePairLoops() {
  switch (ConvertVariantInUse()) {
  case ConvertVariantAvx512:
    return avx512::kPairLoops;
  case ConvertVariantAvx2:
    return avx2::kPairLoops;
  default:
    return sse2::kPairLoops;
  }
}

} // namespace numconv

using namespace numconv;

extern "C" int32_t SetConvertVariant(int32_t variant) {
  if (variant == ConvertVariantAuto) variant = WidestVariant();
  // Each variant's processor runs the narrower ones too.
  bool runnable = variant >= ConvertVariantSse2 && variant <= WidestVariant();
  if (!runnable) return ConvertResultInvalid;
  gVariant.store(variant, std::memory_order_relaxed);
  return ConvertResultDone;
}

extern "C" int32_t ConvertVariantInUse(void) {
  int32_t variant = gVariant.load(std::memory_order_relaxed);
  if (variant != ConvertVariantAuto) return variant;
  variant = WidestVariant();
  gVariant.store(variant, std::memory_order_relaxed);
  return variant;
}
