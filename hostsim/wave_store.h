// The simulated host's waves: numeric arrays in moving handles whose block
// holds a header, then the element data. Three header layouts:
//   0  one dimension, data from byte 110
//   1  up to four dimensions, data from byte 320
//   2  the host's own: only the layout field (byte 26) is meaningful; its
//      data starts at byte 64 and everything about it is served by the
//      numbered services
// Services: 1 and 44 (modified notice), 7 and 157 (wave by name), 34, 35,
// 37, 93, 94, 95 (header fields), 42, 43, 77, 79 (make and resize), 52, 53
// (layout-0 dimension texts), 78, 80, 82 to 90 (dimensions, texts, data
// offset, elements, whole-wave copies). Each service moves the wave's block
// first unless it is locked, as a real host may.
#ifndef TAVREL_HOSTSIM_WAVE_STORE_H
#define TAVREL_HOSTSIM_WAVE_STORE_H

#include <cstdint>
#include <string>
#include <vector>

#include "host_exports.h"

namespace hostsim {

enum WaveError : int32_t {
  kNotAWaveError = 1301,
  kBadWaveTypeError = 1302,
  kBadWaveSizeError = 1303,
  kElementIndexError = 1304,
  kBadDimensionError = 1305,
  kBadSelectorError = 1306,
  kWaveNameTakenError = 1307,
};

enum : int32_t {
  kServedLayout = 2,
  kServedDataOffset = 64,
  kMaxDimTextChars = 51
};

// A wave in the current data folder (unnamed if `name` is empty); null for a
// bad type, size or name. dims: up to four sizes, one for layout 0.
Handle MakeWave(int32_t layout, int32_t numType,
                const std::vector<int32_t> &dims, const std::string &name = "");
// Disposes every wave; call with ResetFolders.
void ResetWaves();
// Kills one wave as the host's user may: its block goes, and its name is
// free again. False if `h` is no wave.
bool KillWave(Handle h);
bool IsWave(Handle h);
int32_t WaveCount();
// The layout that services 42 and 77 give new waves (default 1).
void SetNewWaveLayout(int32_t layout);
int32_t ModifiedNotices(Handle wave);
// Header values behind services 93 to 95 and 80.
void SetHeaderValues(Handle wave, int32_t v93, int32_t v94, int32_t v95);
void SetDimValues(Handle wave, int32_t dim, double a, double b);
std::string DimText(Handle wave, int32_t dim);
std::vector<int32_t> WaveDims(Handle wave);
int32_t WaveType(Handle wave);
// The wave of that name in the current data folder, or null.
Handle WaveNamed(const std::string &name);
// Every value, as a double; complex elements give two, real part first.
std::vector<double> WaveValues(Handle wave);
// Stores values from the first on, each by the wave type's own rule; values
// beyond the wave's size are ignored.
void StoreWaveValues(Handle wave, const std::vector<double> &values);

} // namespace hostsim

#endif
