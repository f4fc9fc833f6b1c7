// Compiles the functions between NUMCONV_TARGET_BEGIN(isa) and
// NUMCONV_TARGET_END, and only those, for the instruction set `isa`.
#ifndef TAVREL_NUMCONV_VARIANT_TARGET_H
#define TAVREL_NUMCONV_VARIANT_TARGET_H

#define NUMCONV_PRAGMA(...) _Pragma(#__VA_ARGS__)

#if defined(__clang__)
#define NUMCONV_TARGET_BEGIN(isa)                                              \
  NUMCONV_PRAGMA(                                                              \
      clang attribute push(__attribute__((target(isa))), apply_to = function))
#define NUMCONV_TARGET_END NUMCONV_PRAGMA(clang attribute pop)
#else
// The compiler's own intrinsics of the wider sets start some results from a
// deliberately undefined register, which its flow analysis then reports.
#define NUMCONV_TARGET_BEGIN(isa)                                              \
  NUMCONV_PRAGMA(GCC push_options)                                             \
  NUMCONV_PRAGMA(GCC target(isa))                                              \
  NUMCONV_PRAGMA(GCC diagnostic push)                                          \
  NUMCONV_PRAGMA(GCC diagnostic ignored "-Wmaybe-uninitialized")
#define NUMCONV_TARGET_END                                                     \
  NUMCONV_PRAGMA(GCC diagnostic pop)                                           \
  NUMCONV_PRAGMA(GCC pop_options)
#endif

#endif
