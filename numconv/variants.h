// The block variants of the pair loops and the choice between them.
#ifndef TAVREL_NUMCONV_VARIANTS_H
#define TAVREL_NUMCONV_VARIANTS_H

#include "value_types.h"

#include <array>

namespace numconv {

using PairLoop = void (*)(const void *source, void *target, int32_t count);

// One loop per ordered pair, at [source index * 8 + target index] in the
// order of ValueTypeList; equal types are plain moves.
using PairLoops = std::array<PairLoop, kValueTypeCount * kValueTypeCount>;

namespace sse2 {
extern const PairLoops kPairLoops;
}
namespace avx2 {
extern const PairLoops kPairLoops;
}
namespace avx512 {
extern const PairLoops kPairLoops;
}

// What the processor and the system report on wider vectors: cpuid leaf 1's
// ECX, the XCR0 register (0 where OSXSAVE is off) and cpuid leaf 7's EBX.
struct VectorFeatures {
  uint32_t leaf1Ecx;
  uint32_t xcr0;
  uint32_t leaf7Ebx;
};

// The widest variant that those features let run.
int32_t WidestVariantFor(const VectorFeatures &features);

// The loops of the variant in use; the first call chooses one if no caller
// has.
const PairLoops &ActivePairLoops();

template <typename S, typename D> PairLoop ActivePairLoop() {
  return ActivePairLoops()[TypeIndex<S>() * kValueTypeCount + TypeIndex<D>()];
}

} // namespace numconv

#endif
