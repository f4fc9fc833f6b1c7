// The host's version, read from its executable's version resource, and the
// debugger stop.
#include <windows.h>

#include "hostlink.h"

namespace {

// Reads the fixed version information of `fileName` into a host block;
// returns major*100 + minor*10 + third, or 0. The block is always given back.
int32_t VersionOfFile(const char *fileName) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(fileName, &ignored);
  if (size == 0) return 0;
  void *block = NewPtr(static_cast<int32_t>(size));
  if (block == nullptr) return 0;
  int32_t version = 0;
  VS_FIXEDFILEINFO *info = nullptr;
  UINT infoLength = 0;
  if (GetFileVersionInfoA(fileName, 0, size, block) &&
      VerQueryValueA(block, "\\", reinterpret_cast<void **>(&info),
                     &infoLength) &&
      info != nullptr) {
    version = static_cast<int32_t>(HIWORD(info->dwFileVersionMS) * 100 +
                                   LOWORD(info->dwFileVersionMS) * 10 +
                                   HIWORD(info->dwFileVersionLS));
  }
  DisposePtr(block);
  return version;
}

} // namespace

extern "C" {

int32_t ReadHostVersion(void) {
  HMODULE host = static_cast<HMODULE>(HostModuleHandle());
  if (host == nullptr) return 0;
  char fileName[256];
  if (GetModuleFileNameA(host, fileName, sizeof fileName) == 0) return 0;
  return VersionOfFile(fileName);
}

// A bare debugger break ends a process that has no debugger, so the break is
// made only when someone is there to see it.
void DebugStop(const char * /*text*/) {
  if (IsDebuggerPresent()) DebugBreak();
}

} // extern "C"
