// Record items are 32 bits wide; an address travels as one, and an address
// comes back from the host as a 32-bit result. The module runs with 32-bit
// addresses, and native test builds keep every address low.
#ifndef TAVREL_HOSTLINK_DETAIL_ADDRESS_ITEM_H
#define TAVREL_HOSTLINK_DETAIL_ADDRESS_ITEM_H

#include <stdint.h>

static inline int32_t AddressItem(const void *p) {
  return (int32_t)(uintptr_t)p;
}

static inline void *ItemAddress(int32_t item) {
  return (void *)(uintptr_t)(uint32_t)item;
}

#endif
