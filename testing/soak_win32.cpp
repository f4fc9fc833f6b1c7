// A soak: one long host session. The simulator's loader drives Tavrel.xop
// through WritePort and ReadPort (the host-to-module round trip: message 15,
// then the call with a parameter block), then makes, converts, resizes and
// kills waves through the support library. Host memory (live handles and
// pointers) and the process's private bytes are sampled along the way and
// must be flat after warm-up; one host block left behind fails the run. The
// port phase's calls per second are printed beside the port library called
// directly in the same process.
//   Igor.exe [PORT_CALLS [WAVE_CYCLES]]   (defaults 1000000 and 100000)
// Exit status 0 when every call succeeded and memory stayed flat.
#include <windows.h>

#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "hostsim.h"
#include "numconv.h"
#include "wave_store.h"
#include "waves.h"

namespace {

struct Sample {
  int32_t handles, pointers;
  double privateMiB;
};

Sample TakeSample() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(),
                       reinterpret_cast<PROCESS_MEMORY_COUNTERS *>(&counters),
                       sizeof counters);
  return {
      hostsim::LiveHandleCount(), hostsim::LivePtrCount(),
      (counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage) /
          1048576.0};
}

// Samples taken at tenths of a phase; the first is the warm-up level.
struct Flatness {
  const char *phase;
  std::vector<Sample> samples;
  void Take(long done) {
    samples.push_back(TakeSample());
    const Sample &s = samples.back();
    std::printf("  %s %9ld: %d handles, %d pointers, %.1f MiB\n", phase, done,
                s.handles, s.pointers, s.privateMiB);
  }
  // Host memory must not move at all; the process may settle by a little
  // (the C runtime's heap grows in steps), not grow with the calls.
  bool Flat() const {
    const Sample &first = samples.front();
    for (const Sample &s : samples) {
      if (s.handles != first.handles || s.pointers != first.pointers ||
          s.privateMiB > first.privateMiB + 2.0)
        return false;
    }
    return true;
  }
};

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
      .count();
}

std::string ExeDirectory() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path, n);
  return dir.substr(0, dir.find_last_of("\\/"));
}

// WritePort then ReadPort of the data register, which reads back the byte.
bool PortRoundTrip(hostsim::Extension &ext, long k) {
  double value = static_cast<double>(k & 0xFF), written = 0, read = 0;
  return hostsim::CallExternalFunction(ext, 0, {888, value}, written) == 0 &&
         hostsim::CallExternalFunction(ext, 1, {888}, read) == 0 &&
         written == value && read == value;
}

bool PortPhase(hostsim::Extension &ext, long calls, double &perSecond) {
  Flatness flat{"port calls ", {}};
  auto start = std::chrono::steady_clock::now();
  for (long k = 0; k < calls / 2; ++k) {
    if (k % (calls / 20 + 1) == 0) flat.Take(2 * k);
    if (!PortRoundTrip(ext, k)) {
      std::printf("port round trip %ld failed\n", k);
      return false;
    }
  }
  perSecond = calls / SecondsSince(start);
  flat.Take(calls);
  return flat.Flat();
}

using Out32Fn = void(__stdcall *)(uint32_t, uint32_t);
using Inp32Fn = int16_t(__stdcall *)(uint32_t);

double DirectCallsPerSecond(long calls) {
  HMODULE library = GetModuleHandleA("inpout32.dll");
  auto out32 = reinterpret_cast<Out32Fn>(
      reinterpret_cast<void *>(GetProcAddress(library, "Out32")));
  auto inp32 = reinterpret_cast<Inp32Fn>(
      reinterpret_cast<void *>(GetProcAddress(library, "Inp32")));
  volatile int16_t sink = 0;
  auto start = std::chrono::steady_clock::now();
  for (long k = 0; k < calls / 2; ++k) {
    out32(888, k & 0xFF);
    sink = inp32(888);
  }
  (void)sink;
  return calls / SecondsSince(start);
}

// One wave's life through the library: made as doubles, filled, converted
// to 16-bit integers, grown, read back, and killed by the host.
bool WaveCycle(long k) {
  enum { kPoints = 64 };
  double values[2 * kPoints];
  for (int i = 0; i < kPoints; ++i)
    values[i] = (k + i) % 1000 - 500.5;
  WaveHandle wave = nullptr;
  static const char kName[] = "soak";
  int32_t sizes[WaveDimSizeEntries] = {kPoints};
  int32_t error =
      NewWave(&wave, static_cast<int32_t>(reinterpret_cast<uintptr_t>(kName)),
              kPoints, NumTypeFloat64, 0);
  if (error == 0) error = CopyDoublesToWave(wave, values);
  if (error == 0) error = ResizeWaveDims(wave, NumTypeInt16, sizes);
  if (error == 0) error = CopyDoublesToWave(wave, values);
  if (error == 0) error = ResizeWave(wave, 2 * kPoints, NumTypeInt16);
  if (error == 0) error = CopyWaveToDoubles(wave, values);
  bool truncated =
      error == 0 && values[0] == static_cast<int16_t>((k % 1000) - 500.5);
  if (wave != nullptr && !hostsim::KillWave(wave)) error = -1;
  if (error != 0 || !truncated)
    std::printf("wave cycle %ld failed: error %d\n", k, error);
  return error == 0 && truncated;
}

bool WavePhase(long cycles) {
  Handle record = hostsim::NewHostRecord();
  InitHostLink(record);
  Flatness flat{"wave cycles", {}};
  bool ok = true;
  for (long k = 0; k < cycles && ok; ++k) {
    if (k % (cycles / 10 + 1) == 0) flat.Take(k);
    ok = WaveCycle(k);
  }
  flat.Take(cycles);
  DisposeHandle(record);
  return ok && flat.Flat();
}

} // namespace

int main(int argc, char **argv) {
  long portCalls = argc > 1 ? std::atol(argv[1]) : 1000000;
  long waveCycles = argc > 2 ? std::atol(argv[2]) : 100000;
  std::string dir = ExeDirectory();
  SetDllDirectoryA((dir + "\\..\\portlibs\\full").c_str());
  int32_t handlesBefore = hostsim::LiveHandleCount();
  hostsim::Extension ext;
  std::string error;
  if (!hostsim::LoadExtension(dir + "\\..\\bin\\Tavrel.xop", ext, error) ||
      ext.startResult != 0) {
    std::printf("cannot start the module: %s\n", error.c_str());
    return 1;
  }
  double roundTrips = 0;
  bool ok = PortPhase(ext, portCalls, roundTrips);
  double direct = DirectCallsPerSecond(portCalls);
  std::printf("WritePort/ReadPort through the host: %.0f calls/s\n"
              "Out32/Inp32 called directly:        %.0f calls/s (%.1fx)\n",
              roundTrips, direct, direct / roundTrips);
  hostsim::UnloadExtension(ext);
  ok = WavePhase(waveCycles) && ok;
  int32_t left = hostsim::LiveHandleCount() - handlesBefore;
  int32_t pointers = hostsim::LivePtrCount();
  if (left != 0 || pointers != 0) {
    std::printf("host memory left behind: %d handle(s), %d pointer(s)\n", left,
                pointers);
    ok = false;
  }
  std::printf("soak: %s\n", ok ? "ok" : "FAILED");
  return ok ? 0 : 1;
}
