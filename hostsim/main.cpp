// Igor.exe, the host simulator: loads an extension, runs lines of command
// text against it (definitions of waves and variables, calls of its external
// functions) from the command line or a script, and unloads it. `Igor.exe
// --help` lists the options, the line syntax, the trace and the exit status.
//
// --host-version makes the host present that file version: extensions read
// the version from the host executable's file, so the simulator hands them a
// copy of itself that carries the chosen version resource.
#include <windows.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "dialog_demo_win32.h"
#include "hostlink.h"
#include "hostsim.h"
#include "library_demo.h"
#include "module_check.h"
#include "wave_store.h"

namespace {

struct Options {
  std::string xop;
  bool libraryDemo = false;
  bool help = false;
  std::string dialogDemo;
  std::string check;
  std::vector<std::string> lines;
  bool ok = true;
};

// Exit status.
enum Status {
  kOk = 0,
  kStartFailed = 1,
  kBadText = 2,
  kFunctionFailed = 3,
  kMemoryLeft = 4,
  kCheckFailed = 5
};

enum : int32_t { kDefaultServiceError = 1000 };

std::string ExeDirectory() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path, n);
  size_t slash = dir.find_last_of("\\/");
  return slash == std::string::npos ? "." : dir.substr(0, slash);
}

// The kit keeps the simulator in a folder of its own below the module.
std::string DefaultExtension() {
  std::string dir = ExeDirectory();
  std::string beside = dir + "\\Tavrel.xop";
  if (GetFileAttributesA(beside.c_str()) != INVALID_FILE_ATTRIBUTES)
    return beside;
  size_t slash = dir.find_last_of("\\/");
  std::string above = slash == std::string::npos ? ".." : dir.substr(0, slash);
  return above + "\\Tavrel.xop";
}

// A relative path names a file of the current folder. LoadLibrary would
// look for it along the library search path instead, which --portlib-dir
// changes.
std::string FullPath(const char *path) {
  char full[MAX_PATH];
  DWORD n = GetFullPathNameA(path, MAX_PATH, full, nullptr);
  return n > 0 && n < MAX_PATH ? std::string(full, n) : std::string(path);
}

bool ReadScript(const char *file, std::vector<std::string> &lines) {
  std::ifstream in(file);
  if (!in) return false;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line.compare(first, 2, "//") == 0)
      continue;
    lines.push_back(line);
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

// "N" or "N:M" with N >= 1 and M >= 0; `second` keeps its value without ":M".
bool ParseCountPair(const char *text, int32_t &n, int32_t &second) {
  char *end = nullptr;
  long long first = std::strtoll(text, &end, 10);
  if (end == text || first < 1 || first > INT32_MAX) return false;
  n = static_cast<int32_t>(first);
  if (*end == '\0') return true;
  if (*end != ':') return false;
  const char *rest = end + 1;
  long long value = std::strtoll(rest, &end, 10);
  if (end == rest || *end != '\0' || value < INT32_MIN || value > INT32_MAX)
    return false;
  second = static_cast<int32_t>(value);
  return true;
}

bool FailMemory(Options &, const char *value) {
  int32_t n = 0, count = 1;
  if (!ParseCountPair(value, n, count) || count < 0) return false;
  hostsim::FailMemoryRequests(n, count == 0 ? INT32_MAX : count);
  return true;
}

bool FailService(Options &, const char *value) {
  int32_t n = 0, code = kDefaultServiceError;
  if (!ParseCountPair(value, n, code)) return false;
  hostsim::FailServiceRequest(n, code);
  return true;
}

struct Option {
  const char *name;
  const char *value; // its placeholder, or null for a flag
  const char *help;
  bool (*apply)(Options &o, const char *value);
};

const Option kOptions[] = {
    {"--xop", "FILE",
     "the extension to load (default: Tavrel.xop beside "
     "Igor.exe, else in the folder above)",
     [](Options &o, const char *v) { return o.xop = FullPath(v), true; }},
    {"--script", "FILE",
     "run the lines of FILE; blank lines and lines "
     "starting with // are skipped",
     [](Options &o, const char *v) { return ReadScript(v, o.lines); }},
    {"--portlib-dir", "DIR",
     "look in DIR first for libraries the extension "
     "loads by name",
     [](Options &, const char *v) { return SetDllDirectoryA(v) != 0; }},
    {"--host-version", "A.B.C[.D]",
     "present this host file version "
     "(6.1.0 is host version 610)",
     [](Options &, const char *v) { return UseHostVersion(v); }},
    {"--move-record", nullptr, "move the host record before every callback",
     [](Options &, const char *) {
       return hostsim::SetMoveRecordOnCallback(true), true;
     }},
    {"--trace", nullptr,
     "print main's result, the port library bound, every "
     "message and every numbered request on stderr",
     [](Options &, const char *) { return hostsim::SetTrace(true), true; }},
    {"--fail-memory", "N[:COUNT]",
     "fail the N-th host memory request made "
     "for the extension, and COUNT in all "
     "(default 1; 0: every one from the N-th)",
     FailMemory},
    {"--fail-service", "N[:CODE]",
     "answer the N-th service request with "
     "CODE (default 1000) without doing it",
     FailService},
    {"--library-demo", nullptr, "run the support library's demo and exit",
     [](Options &o, const char *) { return o.libraryDemo = true; }},
    {"--dialog-demo", "FILE.png",
     "show the dialog demo, save its picture "
     "and exit",
     [](Options &o, const char *v) { return o.dialogDemo = v, true; }},
    {"--check", "FILE",
     "check the module FILE as the host reads it (function table, "
     "error texts, information record, exports, imports) without "
     "loading it, print what the host reads or the problems, and exit",
     [](Options &o, const char *v) { return o.check = v, true; }},
    {"--help", nullptr, "print this and exit",
     [](Options &o, const char *) { return o.help = true; }},
};

const char kUsageLines[] = R"(
LINE is one line of command text; lines run in the order given, a script's
where its --script stands:
  wave NAME [TYPE] = V, V, ...   make a one-dimensional wave of these values
                                 (none for an empty one); TYPE is one of
                                 Float32 Float64 Int8 Int16 Int32 UInt8
                                 UInt16 UInt32 (default Float64)
  variable NAME = V              make a numeric variable
  NAME                           print a wave as "wave NAME TYPE = V, ..."
  EXPRESSION                     print "EXPRESSION = VALUE"
V and EXPRESSION: a number (12, -0x1F, 2.5e3, nan, inf), a variable's name
or a call F(ARG, ...) of an external function; a wave parameter takes the
wave's name. Names are matched without regard to case.

Trace, on stderr:
  [host] main -> RESULT
  [host] port library PATH (whether it is the simulator's stand-in)
  [host] message CODE (ITEM, ...) -> RESULT
  [host] service N: callback CODE (ITEM in hex, ...) -> RESULT
  [host] memory N: REQUEST(SIZE) -> ok | error CODE
N counts the extension's requests as --fail-service N and --fail-memory N
count them; an injected failure is marked as injected.

Exit status: 0 all went well; 1 the extension could not be loaded or failed
to start; 2 bad command text or usage; 3 an external function returned an
error (the other lines still run); 4 the extension left host memory
allocated; 5 the module failed --check.
)";

void PrintHelp() {
  std::printf("Usage: Igor.exe [OPTION...] [LINE...]\n"
              "Loads an extension, calls its main, runs each LINE, sends it "
              "the clean-up message\nand unloads it.\n\nOptions:\n");
  for (const Option &option : kOptions) {
    std::string name = std::string(option.name) +
                       (option.value ? std::string(" ") + option.value : "");
    std::printf("  %-27s %s\n", name.c_str(), option.help);
  }
  std::fputs(kUsageLines, stdout);
}

const Option *FindOption(const std::string &arg) {
  for (const Option &option : kOptions) {
    if (arg == option.name) return &option;
  }
  return nullptr;
}

bool ApplyOption(Options &o, int argc, char **argv, int &i) {
  const Option *option = FindOption(argv[i]);
  if (option == nullptr) {
    std::fprintf(stderr, "Igor: unknown option %s (see --help)\n", argv[i]);
    return false;
  }
  const char *value = nullptr;
  if (option->value != nullptr) {
    if (i + 1 >= argc) {
      std::fprintf(stderr, "Igor: %s needs %s\n", argv[i], option->value);
      return false;
    }
    value = argv[++i];
  }
  if (option->apply(o, value)) return true;
  std::fprintf(stderr, "Igor: bad or unusable %s %s\n", option->name, value);
  return false;
}

Options ParseOptions(int argc, char **argv) {
  Options o;
  o.xop = DefaultExtension();
  for (int i = 1; i < argc && o.ok; ++i) {
    if (std::strncmp(argv[i], "--", 2) == 0) {
      o.ok = ApplyOption(o, argc, argv, i);
    } else {
      o.lines.push_back(argv[i]);
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

// Bad text ends the run; a function's error is reported and the run goes
// on, so later lines can show what the failure left behind.
int RunLines(hostsim::Extension &ext, const std::vector<std::string> &lines) {
  int status = kOk;
  for (const std::string &line : lines) {
    std::string report;
    hostsim::LineStatus outcome = hostsim::RunCommandLine(ext, line, report);
    if (outcome == hostsim::LineStatus::kDone) {
      if (!report.empty()) std::printf("%s\n", report.c_str());
      continue;
    }
    std::printf("%s\n  error: %s\n", line.c_str(), report.c_str());
    if (outcome == hostsim::LineStatus::kBadText) return kBadText;
    status = kFunctionFailed;
  }
  return status;
}

// After unloading, every handle still alive should be a wave; the host owns
// those. Anything else the extension took and never gave back.
int MemoryLeftStatus() {
  int32_t handles = hostsim::LiveHandleCount() - hostsim::WaveCount();
  int32_t pointers = hostsim::LivePtrCount();
  if (handles == 0 && pointers == 0) return kOk;
  std::fprintf(stderr,
               "Igor: the extension left %d handle(s) and %d pointer(s) of "
               "host memory allocated\n",
               handles, pointers);
  return kMemoryLeft;
}

int RunLibraryDemo() {
  std::string transcript;
  int32_t version = ReadHostVersion();
  std::printf("host version %d\n", version);
  int32_t error = hostsim::RunLibraryDemo(version, transcript);
  std::fputs(transcript.c_str(), stdout);
  return error == 0 ? 0 : 1;
}

int RunExtension(const Options &options) {
  hostsim::Extension ext;
  std::string error;
  if (!hostsim::LoadExtension(options.xop, ext, error)) {
    std::fprintf(stderr, "Igor: %s\n", error.c_str());
    return kStartFailed;
  }
  int status = kOk;
  if (ext.startResult != 0) {
    ReportStartFailure(ext);
    status = kStartFailed;
  } else {
    status = RunLines(ext, options.lines);
  }
  hostsim::UnloadExtension(ext);
  int left = MemoryLeftStatus();
  return status != kOk ? status : left;
}

} // namespace

// A test runner names a token in TAVREL_SIMULATOR_PROOF; the first line
// the simulator prints carries it back, so a test can tell that the
// simulator really ran rather than something that merely exited.
void PrintStartProof() {
  char token[64];
  DWORD n =
      GetEnvironmentVariableA("TAVREL_SIMULATOR_PROOF", token, sizeof token);
  if (n == 0 || n >= sizeof token) return;
  std::fprintf(stderr, "[host] simulator started: %s\n", token);
  std::fflush(stderr);
}

int main(int argc, char **argv) {
  PrintStartProof();
  Options options = ParseOptions(argc, argv);
  std::atexit(RemoveVersionCopy);
  if (!options.ok) return kBadText;
  if (options.help) {
    PrintHelp();
    return kOk;
  }
  if (!options.check.empty())
    return hostsim::CheckModuleFile(options.check, stdout, stderr)
               ? kOk
               : kCheckFailed;
  if (options.libraryDemo) return RunLibraryDemo();
  if (!options.dialogDemo.empty())
    return hostsim::RunDialogDemo(options.dialogDemo);
  int status = RunExtension(options);
  std::fflush(stdout);
  return status;
}
