// Type, size and a stable data address of several waves in one pass, and
// giving the locked ones back their state.
#include <cstring>

#include "waves.h"

namespace {

template <typename T> void ClearEntries(T *entries, int32_t count) {
  if (entries != nullptr && count > 0)
    std::memset(entries, 0, sizeof(T) * static_cast<size_t>(count));
}

} // namespace

extern "C" {

int32_t SurveyWaves(const WaveHandle *waves, int32_t count, int32_t *numTypes,
                    int32_t *pointCounts, int32_t *states, void **dataPtrs) {
  ClearEntries(numTypes, count);
  ClearEntries(pointCounts, count);
  ClearEntries(states, count);
  ClearEntries(dataPtrs, count);
  int32_t largest = 0;
  for (int32_t i = 0; i < count; ++i) {
    WaveHandle wave = waves[i];
    if (wave == nullptr) continue;
    numTypes[i] = WaveNumberType(wave);
    pointCounts[i] = WavePointCount(wave);
    if (pointCounts[i] > largest) largest = pointCounts[i];
    if (states != nullptr) states[i] = LockHandleHigh(wave);
    dataPtrs[i] = WaveDataStart(wave);
  }
  return largest;
}

void RestoreWaveStates(const WaveHandle *waves, int32_t count,
                       const int32_t *states) {
  if (states == nullptr) return; // surveyed without locking: nothing to undo
  for (int32_t i = 0; i < count; ++i) {
    if (waves[i] != nullptr) HSetState(waves[i], states[i]);
  }
}

} // extern "C"
