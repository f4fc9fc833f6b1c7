// Where the test host finds the built module and the port-library variants,
// relative to its own folder.
#ifndef TAVREL_CORE_TEST_PATHS_H
#define TAVREL_CORE_TEST_PATHS_H

#include <string>

#ifdef _WIN32
#include <windows.h>

inline std::string TestExeDirectory() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path, n);
  return dir.substr(0, dir.find_last_of("\\/"));
}

inline std::string ModulePath() {
  return TestExeDirectory() + "\\..\\bin\\Tavrel.xop";
}
inline std::string HostExePath() {
  return TestExeDirectory() + "\\..\\bin\\Igor.exe";
}
inline std::string PortLibDir(const char *variant) {
  return TestExeDirectory() + "\\..\\portlibs\\" + variant;
}
#else
#include <cstdlib>

// Natively, the files of the Windows build are read where that build left
// them; TAVREL_MODULE names another copy to check, such as one unpacked from
// a release archive.
inline std::string ModulePath() {
  const char *other = std::getenv("TAVREL_MODULE");
  return other != nullptr ? other : TAVREL_WINDOWS_BIN "/Tavrel.xop";
}
inline std::string HostExePath() { return TAVREL_WINDOWS_BIN "/Igor.exe"; }
#endif

#endif
