// The names of the host's number types, as the simulator reads them in
// command text and prints them in waves and module checks.
#ifndef TAVREL_HOSTSIM_NUMBER_TYPES_H
#define TAVREL_HOSTSIM_NUMBER_TYPES_H

#include <cstdint>

#include "numconv.h"

namespace hostsim {

struct NumberTypeName {
  const char *name;
  int32_t code;
};

inline constexpr NumberTypeName kNumberTypeNames[] = {
    {"Float32", NumTypeFloat32},
    {"Float64", NumTypeFloat64},
    {"Int8", NumTypeInt8},
    {"Int16", NumTypeInt16},
    {"Int32", NumTypeInt32},
    {"UInt8", NumTypeInt8 | NumTypeUnsigned},
    {"UInt16", NumTypeInt16 | NumTypeUnsigned},
    {"UInt32", NumTypeInt32 | NumTypeUnsigned},
};

} // namespace hostsim

#endif
