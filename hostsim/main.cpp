// Igor.exe, the host simulator: loads an extension, evaluates calls of its
// external functions from the command line or a script, and unloads it.
//
//   Igor.exe [--trace] [--move-record] [--host-version A.B.C] [--xop FILE]
//            [--portlib-dir DIR] [--script FILE] [CALL ...]
//   Igor.exe [--host-version A.B.C] --library-demo
//   Igor.exe --dialog-demo FILE.png
//
// --library-demo runs a session of the support library against this host
// (folders, a uniquely named wave, command-text parsing) and prints it,
// after the host version that the library reads.
// --dialog-demo shows a dialog made with the library's item helpers (a popup
// menu filled from a host list, a checkbox, a number field), saves a picture
// of it and prints what the helpers read back.
//
// --host-version makes the host present that file version: extensions read
// the version from the host executable's file, so the simulator hands them a
// copy of itself that carries the chosen version resource.
//
// Exit status: 0 all went well, 1 the extension failed to start, 2 bad
// command text or usage.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "dialog_demo_win32.h"
#include "hostlink.h"
#include "hostsim.h"
#include "library_demo.h"

namespace {

struct Options {
  std::string xop;
  bool libraryDemo = false;
  std::string dialogDemo;
  std::vector<std::string> calls;
  bool ok = true;
};

std::string ExeDirectory() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path, n);
  size_t slash = dir.find_last_of("\\/");
  return slash == std::string::npos ? "." : dir.substr(0, slash);
}

bool ReadScript(const char *file, std::vector<std::string> &calls) {
  std::ifstream in(file);
  if (!in) return false;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line.compare(first, 2, "//") == 0)
      continue;
    calls.push_back(line);
  }
  return true;
}

// The versioned copy of this executable, removed when the host quits.
HMODULE versionModule = nullptr;
std::string versionCopy;

void RemoveVersionCopy() {
  if (versionModule != nullptr) FreeLibrary(versionModule);
  if (!versionCopy.empty()) DeleteFileA(versionCopy.c_str());
}

// Presents `text` ("6.1.0" or "6.1.0.4") as the host's file version.
bool UseHostVersion(const char *text) {
  unsigned v[4] = {0, 0, 0, 0};
  int n = std::sscanf(text, "%u.%u.%u.%u", &v[0], &v[1], &v[2], &v[3]);
  if (n < 1 || v[0] > 0xFFFF || v[1] > 0xFFFF || v[2] > 0xFFFF || v[3] > 0xFFFF)
    return false;
  const uint16_t version[4] = {uint16_t(v[0]), uint16_t(v[1]), uint16_t(v[2]),
                               uint16_t(v[3])};
  char dir[MAX_PATH], own[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  GetModuleFileNameA(nullptr, own, MAX_PATH);
  versionCopy = std::string(dir) + "Igor-" +
                std::to_string(GetCurrentProcessId()) + ".exe";
  if (!hostsim::WriteVersionedCopy(own, versionCopy, version)) return false;
  versionModule =
      LoadLibraryExA(versionCopy.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
  if (versionModule == nullptr) return false;
  hostsim::SetHostModule(versionModule);
  return true;
}

// Takes the value of an option that needs one, or reports its absence.
const char *OptionValue(int argc, char **argv, int &i) {
  if (i + 1 < argc) return argv[++i];
  std::fprintf(stderr, "Igor: %s needs a value\n", argv[i]);
  return nullptr;
}

Options ParseOptions(int argc, char **argv) {
  Options o;
  o.xop = ExeDirectory() + "\\Tavrel.xop";
  for (int i = 1; i < argc && o.ok; ++i) {
    std::string arg = argv[i];
    const char *value = nullptr;
    if (arg == "--trace") {
      hostsim::SetTrace(true);
    } else if (arg == "--library-demo") {
      o.libraryDemo = true;
    } else if (arg == "--move-record") {
      hostsim::SetMoveRecordOnCallback(true);
    } else if (arg == "--xop" || arg == "--portlib-dir" || arg == "--script" ||
               arg == "--host-version" || arg == "--dialog-demo") {
      o.ok = (value = OptionValue(argc, argv, i)) != nullptr;
      if (!o.ok) break;
      if (arg == "--xop") o.xop = value;
      if (arg == "--dialog-demo") o.dialogDemo = value;
      if (arg == "--portlib-dir") SetDllDirectoryA(value);
      if (arg == "--host-version" && !UseHostVersion(value)) {
        std::fprintf(stderr, "Igor: bad or unusable host version %s\n", value);
        o.ok = false;
      }
      if (arg == "--script" && !ReadScript(value, o.calls)) {
        std::fprintf(stderr, "Igor: cannot read script %s\n", value);
        o.ok = false;
      }
    } else if (arg.compare(0, 2, "--") == 0) {
      std::fprintf(stderr, "Igor: unknown option %s\n", arg.c_str());
      o.ok = false;
    } else {
      o.calls.push_back(arg);
    }
  }
  return o;
}

void ReportStartFailure(hostsim::Extension &ext) {
  std::string text;
  int32_t code = ext.startResult;
  if (code <= 10000 ||
      !hostsim::ReadIndexedString(ext.module, 1100, code - 10000, text)) {
    text = "unknown error";
  }
  std::printf("Extension failed to start (error %d): %s\n", code, text.c_str());
}

int RunCalls(hostsim::Extension &ext, const std::vector<std::string> &calls) {
  for (const std::string &call : calls) {
    double value = 0;
    std::string error;
    if (!hostsim::EvaluateCommand(ext, call, value, error)) {
      std::printf("%s\n  error: %s\n", call.c_str(), error.c_str());
      return 2;
    }
    std::printf("%s = %.15g\n", call.c_str(), value);
  }
  return 0;
}

int RunLibraryDemo() {
  std::string transcript;
  int32_t version = ReadHostVersion();
  std::printf("host version %d\n", version);
  int32_t error = hostsim::RunLibraryDemo(version, transcript);
  std::fputs(transcript.c_str(), stdout);
  return error == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char **argv) {
  Options options = ParseOptions(argc, argv);
  std::atexit(RemoveVersionCopy);
  if (!options.ok) return 2;
  if (options.libraryDemo) return RunLibraryDemo();
  if (!options.dialogDemo.empty())
    return hostsim::RunDialogDemo(options.dialogDemo);
  hostsim::Extension ext;
  std::string error;
  if (!hostsim::LoadExtension(options.xop, ext, error)) {
    std::fprintf(stderr, "Igor: %s\n", error.c_str());
    return 1;
  }
  int status = 0;
  if (ext.startResult != 0) {
    ReportStartFailure(ext);
    status = 1;
  } else {
    status = RunCalls(ext, options.calls);
  }
  hostsim::UnloadExtension(ext);
  std::fflush(stdout);
  return status;
}
