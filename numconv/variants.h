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

// The loops of the variant in use; the first call chooses one if no caller
// has.
const PairLoops &ActivePairLoops();

template <typename S, typename D> PairLoop ActivePairLoop() {
  return ActivePairLoops()[TypeIndex<S>() * kValueTypeCount + TypeIndex<D>()];
}

} // namespace numconv

#endif
