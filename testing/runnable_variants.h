// Which conversion variants this machine runs, read here from the processor
// and the system without the library's help, so that the tests can hold the
// library's own choice against it: a variant they cannot run must follow
// from this reading, never from the library refusing it.
#ifndef TAVREL_TESTING_RUNNABLE_VARIANTS_H
#define TAVREL_TESTING_RUNNABLE_VARIANTS_H

#include <cpuid.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "numconv.h"

namespace runnable {

struct CpuidWords {
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
};

// Leaves the processor does not have read as zeros.
inline CpuidWords Cpuid(unsigned leaf) {
  CpuidWords w;
  if (leaf <= static_cast<unsigned>(__get_cpuid_max(0, nullptr)))
    __cpuid_count(leaf, 0, w.eax, w.ebx, w.ecx, w.edx);
  return w;
}

inline bool HasBits(uint64_t word, std::initializer_list<int> bits) {
  for (int bit : bits)
    if (!((word >> bit) & 1)) return false;
  return true;
}

// The register states the system saves (XCR0); only readable with OSXSAVE.
inline uint64_t SavedStates() {
  if (!HasBits(Cpuid(1).ecx, {27})) return 0;
  uint32_t low = 0, high = 0;
  __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
  return uint64_t{high} << 32 | low;
}

// AVX2 blocks need AVX, FMA (leaf 1), AVX2 (leaf 7) and the saved upper
// halves (XCR0 bits 1, 2); AVX-512 blocks need F, DQ, BW, VL (leaf 7) and
// the mask and upper registers saved as well (XCR0 bits 5 to 7).
inline int32_t VariantFor(unsigned leaf1Ecx, unsigned leaf7Ebx,
                          uint64_t states) {
  const bool avx2 = HasBits(leaf1Ecx, {12, 27, 28}) && HasBits(leaf7Ebx, {5}) &&
                    HasBits(states, {1, 2});
  const bool avx512 =
      HasBits(leaf7Ebx, {16, 17, 30, 31}) && HasBits(states, {5, 6, 7});
  if (avx2 && avx512) return ConvertVariantAvx512;
  return avx2 ? ConvertVariantAvx2 : ConvertVariantSse2;
}

inline int32_t WidestVariant() {
  return VariantFor(Cpuid(1).ecx, Cpuid(7).ebx, SavedStates());
}

inline std::vector<int32_t> Variants() {
  std::vector<int32_t> variants;
  const int32_t widest = WidestVariant();
  for (int32_t v = ConvertVariantSse2; v <= widest; ++v)
    variants.push_back(v);
  return variants;
}

inline const char *VariantName(int32_t variant) {
  switch (variant) {
  case ConvertVariantSse2:
    return "SSE2";
  case ConvertVariantAvx2:
    return "AVX2";
  case ConvertVariantAvx512:
    return "AVX-512";
  default:
    return "?";
  }
}

// One line naming the variants that run here.
inline std::string VariantsLine() {
  std::string line = "conversion variants run on this machine:";
  for (int32_t v : Variants())
    line += std::string(" ") + VariantName(v);
  return line;
}

} // namespace runnable

#endif
