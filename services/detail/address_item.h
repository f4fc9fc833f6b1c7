// Record items are 32 bits wide; an address travels as one. The module runs
// with 32-bit addresses, and native test builds keep every address low.
#ifndef TAVREL_SERVICES_DETAIL_ADDRESS_ITEM_H
#define TAVREL_SERVICES_DETAIL_ADDRESS_ITEM_H

#include <stdint.h>

static inline int32_t AddressItem(const void *p) {
  return (int32_t)(uintptr_t)p;
}

#endif
