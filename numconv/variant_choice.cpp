// Which block variant the conversions use: the widest that the processor
// and the system support, chosen once at the first conversion unless a
// caller has chosen before.
#include "variants.h"

#include <cpuid.h>

#include <atomic>

namespace numconv {
namespace {

// AVX2 needs the processor's support and the system's: the system must save
// the upper halves of the vector registers (OSXSAVE, then XCR0 bits 1 and 2).
bool SystemRunsAvx2() {
  unsigned a, b, c, d;
  const unsigned osxsave = 1u << 27, avx = 1u << 28;
  if (!__get_cpuid(1, &a, &b, &c, &d) ||
      (c & (osxsave | avx)) != (osxsave | avx))
    return false;
  unsigned low, high;
  __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
  const unsigned vectorStates = 6;
  if ((low & vectorStates) != vectorStates) return false;
  const unsigned avx2 = 1u << 5;
  return __get_cpuid_count(7, 0, &a, &b, &c, &d) && (b & avx2);
}

// Both variants give the same bits, so two threads making the first choice
// at once store the same answer.
std::atomic<int32_t> gVariant{ConvertVariantAuto};

// Asked of the processor once: cpuid is slow, above all in a virtual machine.
std::atomic<int32_t> gWidest{ConvertVariantAuto};

int32_t WidestVariant() {
  int32_t widest = gWidest.load(std::memory_order_relaxed);
  if (widest == ConvertVariantAuto) {
    widest = SystemRunsAvx2() ? ConvertVariantAvx2 : ConvertVariantSse2;
    gWidest.store(widest, std::memory_order_relaxed);
  }
  return widest;
}

} // namespace

const PairLoops &ActivePairLoops() {
  return ConvertVariantInUse() == ConvertVariantAvx2 ? avx2::kPairLoops
                                                     : sse2::kPairLoops;
}

} // namespace numconv

using namespace numconv;

extern "C" int32_t SetConvertVariant(int32_t variant) {
  if (variant == ConvertVariantAuto) variant = WidestVariant();
  bool runnable =
      variant == ConvertVariantSse2 ||
      (variant == ConvertVariantAvx2 && WidestVariant() == ConvertVariantAvx2);
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
