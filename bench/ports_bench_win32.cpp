// ReadPort through the module's parameter block against a direct Inp32 call.
#include <windows.h>

#include <cstdio>
#include <string>

#include "hostsim.h"
#include "timing.h"

namespace {

std::string ExeDirectory() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path, n);
  return dir.substr(0, dir.find_last_of("\\/"));
}

using Inp32Fn = int16_t(__stdcall *)(uint32_t);
using ExternalFn = int32_t (*)(void *);

} // namespace

int main() {
  std::string dir = ExeDirectory();
  SetDllDirectoryA((dir + "\\..\\portlibs\\full").c_str());
  hostsim::Extension ext;
  std::string error;
  if (!hostsim::LoadExtension(dir + "\\..\\bin\\Tavrel.xop", ext, error) ||
      ext.startResult != 0) {
    std::fprintf(stderr, "cannot start the module: %s\n", error.c_str());
    return 1;
  }
  auto readPort = reinterpret_cast<ExternalFn>(
      static_cast<uintptr_t>(hostsim::SendMessageToExtension(ext, 15, {1})));
  auto inp32 = reinterpret_cast<Inp32Fn>(reinterpret_cast<void *>(
      GetProcAddress(GetModuleHandleA("inpout32.dll"), "Inp32")));
  const long n = 1000000;
  volatile int32_t sink = 0;
  double params[2] = {889, 0};
  double viaModule = NanosecondsPerCall(n, [&] { sink = readPort(params); });
  double direct = NanosecondsPerCall(n, [&] { sink = inp32(889); });
  std::printf("ReadPort via parameter block %8.1f ns\n", viaModule);
  std::printf("Inp32 called directly        %8.1f ns\n", direct);
  std::printf("ratio ReadPort / Inp32: %.2f\n", viaModule / direct);
  hostsim::UnloadExtension(ext);
  return 0;
}
