// Record items are 32 bits wide; addresses travel in them.
#ifndef TAVREL_HOSTSIM_ITEMS_H
#define TAVREL_HOSTSIM_ITEMS_H

#include <cstdint>
#include <cstdlib>

namespace hostsim {

template <typename T> T *ItemPointer(int32_t item) {
  return reinterpret_cast<T *>(
      static_cast<uintptr_t>(static_cast<uint32_t>(item)));
}

inline int32_t PointerItem(const void *p) {
  uintptr_t address = reinterpret_cast<uintptr_t>(p);
  if (address > UINT32_MAX) std::abort(); // would be cut short in the record
  return static_cast<int32_t>(static_cast<uint32_t>(address));
}

} // namespace hostsim

#endif
