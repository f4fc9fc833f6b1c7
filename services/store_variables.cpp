// Storing a value under a name, creating the variable when the host says
// there is none.
#include "numconv.h"
#include "wrappers.h"

namespace {

enum : int32_t { kNoSuchObject = -1 };

int32_t TypeWithFlag(int32_t type, int32_t flag) {
  return flag ? (type | NamedVariableFlagBit) : type;
}

bool TooOldForFlag(int32_t flag) { return flag && HostVersion < 200; }

// Only a missing object leads to creation. Every other answer of the first
// store, and the answer of the store after creating, is passed on: callers
// must learn when nothing was stored.
int32_t StoreNumberOrCreate(const char *name, const double *real,
                            const double *imaginary, int32_t type,
                            int32_t flag) {
  if (TooOldForFlag(flag)) return HostTooOldError;
  int32_t stored = StoreNumberByName(name, real, imaginary);
  if (stored != kNoSuchObject) return stored;
  int32_t error = CreateNamedVariable(name, TypeWithFlag(type, flag));
  if (error != 0) return error;
  return StoreNumberByName(name, real, imaginary);
}

} // namespace

extern "C" {

int32_t StoreIntegerVariable(const char *name, int32_t value, int32_t flag) {
  const double real = value, imaginary = 0.0;
  return StoreNumberOrCreate(name, &real, &imaginary, NumTypeFloat64, flag);
}

int32_t StoreRealVariable(const char *name, const double *value, int32_t flag) {
  const double real = *value, imaginary = 0.0;
  return StoreNumberOrCreate(name, &real, &imaginary, NumTypeFloat64, flag);
}

int32_t StoreComplexVariable(const char *name, const double *real,
                             const double *imaginary, int32_t flag) {
  return StoreNumberOrCreate(name, real, imaginary,
                             NumTypeFloat64 | NumTypeComplex, flag);
}

int32_t StoreTextVariable(const char *name, const char *value, int32_t flag) {
  if (TooOldForFlag(flag)) return HostTooOldError;
  if (StoreTextByName(name, value) == 0) return 0;
  int32_t error = CreateNamedVariable(name, TypeWithFlag(NumTypeNone, flag));
  if (error != 0) return error;
  return StoreTextByName(name, value);
}

} // extern "C"
