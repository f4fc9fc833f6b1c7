// The block variants of the conversions that this machine runs, by name.
#ifndef TAVREL_BENCH_VARIANTS_H
#define TAVREL_BENCH_VARIANTS_H

#include <cstdint>
#include <vector>

#include "numconv.h"

struct NamedVariant {
  const char *name;
  int32_t code; // ConvertVariant*
};

// SSE2 always; the wider variants only where this machine runs them.
inline std::vector<NamedVariant> RunnableVariants() {
  std::vector<NamedVariant> variants = {{"SSE2", ConvertVariantSse2}};
  if (SetConvertVariant(ConvertVariantAvx2) == ConvertResultDone)
    variants.push_back({"AVX2", ConvertVariantAvx2});
  if (SetConvertVariant(ConvertVariantAvx512) == ConvertResultDone)
    variants.push_back({"AVX512", ConvertVariantAvx512});
  return variants;
}

#endif
