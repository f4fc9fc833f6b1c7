// Writes a copy of an executable file carrying a version resource of our
// choosing, so that a host can present any version number.
#include <windows.h>

#include <cstring>

#include "hostsim.h"

namespace hostsim {
namespace {

#pragma pack(push, 2)
struct VersionBlock {
  WORD length;
  WORD valueLength;
  WORD type;
  WCHAR key[16]; // "VS_VERSION_INFO" and its terminator
  WORD padding;  // the value starts on a 4-byte boundary
  VS_FIXEDFILEINFO fixed;
};
#pragma pack(pop)

VersionBlock MakeVersionBlock(const uint16_t v[4]) {
  VersionBlock b;
  std::memset(&b, 0, sizeof b);
  b.length = sizeof b;
  b.valueLength = sizeof b.fixed;
  const char *key = "VS_VERSION_INFO";
  for (int k = 0; key[k]; ++k)
    b.key[k] = key[k];
  b.fixed.dwSignature = 0xFEEF04BD;
  b.fixed.dwStrucVersion = 0x00010000;
  b.fixed.dwFileVersionMS = MAKELONG(v[1], v[0]);
  b.fixed.dwFileVersionLS = MAKELONG(v[3], v[2]);
  b.fixed.dwProductVersionMS = b.fixed.dwFileVersionMS;
  b.fixed.dwProductVersionLS = b.fixed.dwFileVersionLS;
  b.fixed.dwFileOS = VOS_NT_WINDOWS32;
  b.fixed.dwFileType = VFT_APP;
  return b;
}

} // namespace

bool WriteVersionedCopy(const std::string &source, const std::string &dest,
                        const uint16_t v[4]) {
  if (!CopyFileA(source.c_str(), dest.c_str(), FALSE)) return false;
  HANDLE update = BeginUpdateResourceA(dest.c_str(), FALSE);
  if (update == nullptr) return false;
  VersionBlock block = MakeVersionBlock(v);
  BOOL ok = UpdateResourceA(update, MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(1),
                            MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), &block,
                            sizeof block);
  return EndUpdateResourceA(update, !ok) && ok;
}

} // namespace hostsim
