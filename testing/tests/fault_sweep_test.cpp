// Fault injection over every routine that talks to the host. Each scenario
// runs once as it is, then again with the n-th host memory request failing
// (once, and from then on) and with the n-th service request answering an
// error, for every n the scenario reaches. No run may leak a host block,
// and a run whose request failed may not report success with an outcome
// that differs from the undisturbed one: the failure must reach the caller.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "command_text.h"
#include "data_folders.h"
#include "hostsim.h"
#include "items.h"
#include "scripted_answers.h"
#include "variables.h"
#include "wave_store.h"
#include "waves.h"

namespace {

constexpr int32_t kInjectedError = 7777;

// Requests whose answer is a value rather than a status (a character, a
// length, a handle, a yes or no, a wave header field), or whose answer the
// routine ignores by design: an injected answer is only another value to
// the caller.
const std::set<int32_t> kValueServices = {7,  8,  10, 11, 12,  34,  35, 37,
                                          59, 93, 94, 95, 150, 173, 182};

struct Scene {
  FolderHandle root, child;
  Handle wave, servedWave, text;
};

struct Outcome {
  int32_t result;
  std::string output;
};

struct Scenario {
  const char *routine;
  int32_t hostVersion;
  const char *commandLine;
  Outcome (*run)(Scene &);
  // Requests whose failure the routine is meant to swallow.
  std::set<int32_t> swallowed = {};
  // Run on a record that has not carried a request yet, as at start-up.
  bool freshRecord = false;
};

template <typename... T> std::string Text(const T &...values) {
  std::ostringstream out;
  ((out << values << ' '), ...);
  return out.str();
}

std::string HandleText(Handle h) {
  return std::string(*h, static_cast<size_t>(GetHandleSize(h)));
}

std::string Doubles(const double *values, size_t count) {
  std::string text;
  for (size_t k = 0; k < count; ++k)
    text += Text(values[k]);
  return text;
}

double Number(const char *name) {
  double real = 0, imaginary = 0;
  hostsim::NumericValue(name, &real, &imaginary);
  return real;
}

// Folder handles are never reused, so a folder is shown by its path.
std::string Path(FolderHandle folder) { return hostsim::FolderPath(folder); }

Outcome Folder(int32_t result, FolderHandle folder) {
  return {result, Path(folder)};
}

// Names are read into buffers of a name's size.
struct NameBuffer {
  char bytes[ObjectNameBytes] = "";
};

const char *const kKeywords[] = {"ALPHA", "BETA", ""};

Outcome ReadExtendedName(Scene &) {
  NameBuffer name;
  int32_t quoted = 0;
  int32_t result = ReadCommandNameExtended(&quoted, name.bytes, 1);
  return Outcome{result, Text(quoted, name.bytes)};
}

Outcome SwitchToChild(Scene &s) {
  return Folder(SwitchCurrentFolder(s.child), hostsim::CurrentFolder());
}

const Scenario kRecordAndWrappers[] = {
    {"HostCall1", 600, "",
     [](Scene &) {
       FolderHandle f = 0;
       return Folder(HostCall1(106, hostsim::PointerItem(&f)), f);
     }},
    {"StoreIntegerVariable", 600, "",
     [](Scene &) {
       return Outcome{StoreIntegerVariable("fresh", 3, 0),
                      Text(Number("fresh"))};
     }},
    {"StoreRealVariable", 600, "",
     [](Scene &) {
       const double value = 2.5;
       return Outcome{StoreRealVariable("gain", &value, 0),
                      Text(Number("gain"))};
     }},
    {"StoreComplexVariable", 600, "",
     [](Scene &) {
       const double re = 1, im = 2;
       return Outcome{StoreComplexVariable("z", &re, &im, 0),
                      Text(Number("z"))};
     }},
    {"StoreTextVariable", 600, "",
     [](Scene &) {
       std::string text;
       int32_t result = StoreTextVariable("label", "abc", 0);
       hostsim::TextValue("label", &text);
       return Outcome{result, text};
     }},
    {"FetchNumberByName", 600, "",
     [](Scene &) {
       double re = 0, im = 0;
       return Outcome{FetchNumberByName("gain", &re, &im), Text(re, im)};
     }},
    {"CreateNamedVariable", 600, "",
     [](Scene &) {
       return Outcome{CreateNamedVariable("made", 4),
                      Text(hostsim::VariableTypeCode("made"))};
     }},
};

const Scenario kFoldersAndNames[] = {
    {"FetchCurrentFolder", 600, "",
     [](Scene &) {
       FolderHandle f = 0;
       return Folder(FetchCurrentFolder(&f), f);
     }},
    {"SwitchCurrentFolder", 600, "", SwitchToChild},
    {"SwitchCurrentFolder (first request)", 600, "", SwitchToChild, {}, true},
    {"FolderFromPath (first request)",
     600,
     "",
     [](Scene &) {
       FolderHandle f = 0;
       return Folder(FolderFromPath(0, "root:sub", &f), f);
     },
     {},
     true},
    {"FetchHostFolder", 600, "",
     [](Scene &) {
       FolderHandle f = 0;
       return Folder(FetchHostFolder(RootFolderSelector, &f), f);
     }},
    {"FolderFromPath", 301, "",
     [](Scene &) {
       FolderHandle f = 0;
       return Folder(FolderFromPath(0, "root:sub:", &f), f);
     }},
    {"FolderFromPath (older host)", 300, "",
     [](Scene &) {
       FolderHandle f = 0;
       int32_t first = FolderFromPath(0, "root:sub:", &f);
       FolderHandle g = 0, h = 0;
       int32_t second = FolderFromPath(0, ":", &g);
       int32_t third = FolderFromPath(0, "ROOT:", &h);
       return Outcome{first | second | third, Text(Path(f), Path(g), Path(h))};
     }},
    {"CreateValidDataObjectName", 600, "",
     [](Scene &s) {
       NameBuffer name;
       int32_t counter = 0, differs = 0, reuse = 0;
       int32_t result = CreateValidDataObjectName(s.child, "data", name.bytes,
                                                  &counter, WaveObjectType, 0,
                                                  0, 0, 1, &differs, &reuse);
       return Outcome{result, Text(name.bytes, differs, reuse)};
     }},
    {"LegalizeNameByHost", 600, "",
     [](Scene &) {
       NameBuffer name;
       std::strcpy(name.bytes, "9 x");
       return Outcome{LegalizeNameByHost(0, name.bytes, 31), name.bytes};
     }},
    {"MakeNumberedName", 600, "",
     [](Scene &) {
       NameBuffer name;
       int32_t counter = 0;
       int32_t result = MakeNumberedName(1, "wave", name.bytes, &counter);
       return Outcome{result, Text(name.bytes, counter)};
     }},
    {"AppendNameForHost", 600, "",
     [](Scene &) {
       char text[64] = "root:";
       return Outcome{AppendNameForHost(text, "sub"), text};
     }},
    {"LookUpFolderObject", 600, "",
     [](Scene &s) {
       int32_t type = 0;
       return Outcome{LookUpFolderObject(s.root, "gain", &type, 0), Text(type)};
     }},
};

const Scenario kParsing[] = {
    {"ReadCommandName", 600, "alpha",
     [](Scene &) {
       NameBuffer name;
       return Outcome{ReadCommandName(name.bytes), name.bytes};
     }},
    {"ReadCommandNumber", 600, "2.5",
     [](Scene &) {
       double value = 0;
       return Outcome{ReadCommandNumber(&value), Text(value)};
     }},
    {"ReadCommandNameExtended", 300, "'my wave'", ReadExtendedName},
    {"ReadCommandNameExtended (older host)", 299, "alpha", ReadExtendedName},
    {"ReadKeyword", 600, "beta",
     [](Scene &) {
       int32_t index = -1;
       return Outcome{ReadKeyword(kKeywords, &index), Text(index)};
     }},
    {"ReadNameWithHandle", 600, "signal",
     [](Scene &) {
       NameBuffer name;
       return Outcome{ReadNameWithHandle(name.bytes), name.bytes};
     }},
    {"ReadKnownName", 600, "gain",
     [](Scene &) {
       NameBuffer name;
       return Outcome{ReadKnownName(name.bytes), name.bytes};
     }},
    {"ReadNameAndFetchNumber", 600, "gain",
     [](Scene &) {
       NameBuffer name;
       return Outcome{ReadNameAndFetchNumber(name.bytes), name.bytes};
     }},
    {"ReadFlagSetting", 600, "=0",
     [](Scene &) {
       int32_t flags = 0;
       return Outcome{ReadFlagSetting(4, &flags), Text(flags)};
     }},
    {"IsCommandEnd", 600, ";",
     [](Scene &) {
       return Outcome{0, Text(IsCommandEnd())};
     }},
    {"IsCommandEnd (older host)", 399, ";",
     [](Scene &) {
       return Outcome{0, Text(IsCommandEnd())};
     }},
    {"ReadCommandTextLastChar", 600, "abc",
     [](Scene &) {
       NameBuffer text;
       return Outcome{0, Text(ReadCommandTextLastChar(text.bytes))};
     }},
};

const Scenario kUtilities[] = {
    {"TextToHandle", 600, "",
     [](Scene &s) {
       return Outcome{TextToHandle("abc", s.text), HandleText(s.text)};
     }},
    {"HandleToText", 600, "",
     [](Scene &s) {
       char text[8];
       return Outcome{HandleToText(s.text, text, 7), text};
     }},
    {"FindChar", 313, "",
     [](Scene &) {
       static const char text[] = "a:b";
       return Outcome{0, Text(FindChar(text, ':') - text)};
     }},
    {"LockHandleHigh", 600, "",
     [](Scene &s) {
       int32_t state = LockHandleHigh(s.text);
       HSetState(s.text, state);
       return Outcome{0, Text(state)};
     }},
};

const Scenario kWaves[] = {
    {"NewWave", 600, "",
     [](Scene &) {
       WaveHandle wave = nullptr;
       int32_t result = NewWave(&wave, hostsim::PointerItem("w"), 6, 4, 0);
       return Outcome{result, Text(hostsim::IsWave(wave))};
     }},
    {"ResizeWave", 600, "",
     [](Scene &s) {
       return Outcome{ResizeWave(s.wave, 9, 4), Text(WavePointCount(s.wave))};
     }},
    {"NewWaveDims", 600, "",
     [](Scene &) {
       WaveHandle wave = nullptr;
       int32_t dims[WaveDimSizeEntries] = {3, 2};
       int32_t result =
           NewWaveDims(&wave, hostsim::PointerItem("m"), 0, dims, 4, 0);
       return Outcome{result, Text(hostsim::IsWave(wave))};
     }},
    {"ResizeWaveDims", 600, "",
     [](Scene &s) {
       int32_t dims[WaveDimSizeEntries] = {2, 5};
       return Outcome{ResizeWaveDims(s.wave, 4, dims),
                      Text(WavePointCount(s.wave))};
     }},
    {"GetWaveDims", 600, "",
     [](Scene &s) {
       int32_t count = 0, sizes[WaveDimSizeEntries] = {};
       int32_t result = GetWaveDims(s.servedWave, &count, sizes);
       return Outcome{result, Text(count, sizes[0], sizes[1])};
     }},
    {"GetWaveDimValues", 600, "",
     [](Scene &s) {
       double a = 0, b = 0;
       return Outcome{GetWaveDimValues(s.servedWave, 0, &a, &b), Text(a, b)};
     }},
    {"SetWaveDimText and GetWaveDimText", 600, "",
     [](Scene &s) {
       char text[256] = "";
       int32_t set = SetWaveDimText(s.servedWave, 0, "volts");
       int32_t get = GetWaveDimText(s.servedWave, 0, text);
       return Outcome{set | get, text};
     }},
    {"GetWaveDataOffset", 600, "",
     [](Scene &s) {
       int32_t offset = 0;
       return Outcome{GetWaveDataOffset(s.servedWave, 0, &offset),
                      Text(offset)};
     }},
    {"SetWaveElement and GetWaveElement", 600, "",
     [](Scene &s) {
       const int32_t indices[4] = {1};
       const double in[2] = {4.5, 0};
       double out[2] = {};
       int32_t set = SetWaveElement(s.servedWave, indices, in);
       int32_t get = GetWaveElement(s.servedWave, indices, out);
       return Outcome{set | get, Text(out[0])};
     }},
    {"CopyDoublesToWave and CopyWaveToDoubles", 600, "",
     [](Scene &s) {
       const double in[3] = {1, 2, 3};
       double out[3] = {};
       int32_t to = CopyDoublesToWave(s.servedWave, in);
       int32_t from = CopyWaveToDoubles(s.servedWave, out);
       return Outcome{to | from, Doubles(out, 3)};
     }},
    {"SurveyWaves", 600, "",
     [](Scene &s) {
       const WaveHandle waves[2] = {s.wave, s.servedWave};
       int32_t types[2] = {}, points[2] = {}, states[2] = {};
       void *data[2] = {};
       int32_t most = SurveyWaves(waves, 2, types, points, states, data);
       RestoreWaveStates(waves, 2, states);
       return Outcome{0, Text(most, types[1], points[1])};
     }},
};

// ---- The sweep ------------------------------------------------------------

struct Fault {
  enum Kind { kNone, kMemoryOnce, kMemoryFromThen, kService } kind;
  int32_t n;
};

struct Run {
  Outcome outcome;
  int32_t memoryRequests, serviceRequests;
  std::vector<int32_t> codes; // the service codes, in order
  bool leaked;
};

void SetUpScene(Scene &scene, const Scenario &s) {
  HostRecordHandle = hostsim::NewHostRecord();
  HostVersion = s.hostVersion;
  hostsim::ResetFolders();
  hostsim::ResetVariables();
  hostsim::ResetWaves();
  hostsim::ClearScriptedAnswers();
  scene.root = hostsim::RootFolder();
  scene.child = hostsim::NewFolder(scene.root, "sub");
  hostsim::AddObject(scene.child, "data", hostsim::kStringObject);
  scene.wave = hostsim::MakeWave(1, 4, {4}, "signal");
  scene.servedWave = hostsim::MakeWave(hostsim::kServedLayout, 4, {3});
  scene.text = NewHandle(5);
  std::memcpy(*scene.text, "hello", 5);
  StoreIntegerVariable("gain", 3, 0);
  // The record is back to its fixed part when the scenario's request is to
  // be the first of a session.
  if (s.freshRecord) SetHandleSize(HostRecordHandle, HostRecordFixedBytes);
  hostsim::SetCommandLine(s.commandLine);
}

void TearDownScene(Scene &scene) {
  hostsim::FailMemoryRequests(0);
  hostsim::FailServiceRequest(0, 0);
  DisposeHandle(scene.text);
  hostsim::ResetWaves();
  hostsim::ResetVariables();
  DisposeHandle(HostRecordHandle);
  HostRecordHandle = nullptr;
  HostVersion = 0;
}

void Arm(const Fault &fault) {
  if (fault.kind == Fault::kMemoryOnce) hostsim::FailMemoryRequests(fault.n);
  if (fault.kind == Fault::kMemoryFromThen)
    hostsim::FailMemoryRequests(fault.n, INT32_MAX);
  if (fault.kind == Fault::kService)
    hostsim::FailServiceRequest(fault.n, kInjectedError);
}

// The codes of the requests the host served, read from its trace.
std::vector<int32_t> TracedCodes(const std::string &trace) {
  std::vector<int32_t> codes;
  int32_t code = 0;
  for (size_t at = 0;
       (at = trace.find("[host] service ", at)) != std::string::npos; ++at) {
    if (std::sscanf(trace.c_str() + at, "[host] service %*d: callback %d (",
                    &code) == 1)
      codes.push_back(code);
  }
  return codes;
}

Run RunOnce(const Scenario &s, const Fault &fault) {
  int32_t handles = hostsim::LiveHandleCount(), ptrs = hostsim::LivePtrCount();
  Scene scene{};
  SetUpScene(scene, s);
  int32_t memory = hostsim::MemoryRequestCount();
  int32_t services = hostsim::ServiceCallCount();
  bool trace = fault.kind == Fault::kNone;
  if (trace) testing::internal::CaptureStderr();
  hostsim::SetTrace(trace);
  Arm(fault);
  Run run{s.run(scene),
          hostsim::MemoryRequestCount() - memory,
          hostsim::ServiceCallCount() - services,
          {},
          false};
  hostsim::SetTrace(false);
  if (trace) run.codes = TracedCodes(testing::internal::GetCapturedStderr());
  TearDownScene(scene);
  run.leaked =
      hostsim::LiveHandleCount() != handles || hostsim::LivePtrCount() != ptrs;
  return run;
}

struct Tally {
  int32_t memoryFailures = 0, serviceFailures = 0, leaks = 0, hidden = 0;
  std::set<std::string> routines;
};
Tally tally;

// A reached fault must not pass as a success with another outcome.
void Check(const Scenario &s, const Run &baseline, const Fault &fault,
           const char *what) {
  Run run = RunOnce(s, fault);
  tally.leaks += run.leaked;
  EXPECT_FALSE(run.leaked) << s.routine << ": " << what << ' ' << fault.n;
  bool hidden =
      run.outcome.result == 0 && run.outcome.output != baseline.outcome.output;
  tally.hidden += hidden;
  EXPECT_FALSE(hidden) << s.routine << ": " << what << ' ' << fault.n
                       << " reported success with \"" << run.outcome.output
                       << "\" instead of \"" << baseline.outcome.output << "\"";
}

// A failed request whose answer is a value, or one the routine swallows.
bool AnswerIsAValue(const Scenario &s, const Run &baseline, int32_t n) {
  size_t k = static_cast<size_t>(n - 1);
  if (k >= baseline.codes.size()) return false;
  int32_t code = baseline.codes[k];
  return kValueServices.count(code) || s.swallowed.count(code);
}

void Sweep(const Scenario &s) {
  Run baseline = RunOnce(s, {Fault::kNone, 0});
  ASSERT_FALSE(baseline.leaked) << s.routine;
  ASSERT_EQ(baseline.outcome.result, 0) << s.routine;
  tally.routines.insert(s.routine);
  for (int32_t n = 1; n <= baseline.memoryRequests; ++n) {
    Check(s, baseline, {Fault::kMemoryOnce, n}, "memory request");
    Check(s, baseline, {Fault::kMemoryFromThen, n}, "memory requests from");
    tally.memoryFailures += 2;
  }
  for (int32_t n = 1; n <= baseline.serviceRequests; ++n) {
    ++tally.serviceFailures;
    if (AnswerIsAValue(s, baseline, n)) {
      Run run = RunOnce(s, {Fault::kService, n});
      tally.leaks += run.leaked;
      EXPECT_FALSE(run.leaked) << s.routine << ": service request " << n;
    } else {
      Check(s, baseline, {Fault::kService, n}, "service request");
    }
  }
}

template <size_t N> void SweepAll(const Scenario (&scenarios)[N]) {
  for (const Scenario &s : scenarios)
    Sweep(s);
}

TEST(FaultSweep, RecordAndWrappers) { SweepAll(kRecordAndWrappers); }
TEST(FaultSweep, FoldersAndNames) { SweepAll(kFoldersAndNames); }
TEST(FaultSweep, Parsing) { SweepAll(kParsing); }
TEST(FaultSweep, Utilities) { SweepAll(kUtilities); }
TEST(FaultSweep, Waves) { SweepAll(kWaves); }

// The line the reliability report reads; a crash would have ended the run
// before it.
TEST(FaultSweep, Summary) {
  std::printf("fault sweep: routines %zu, memory requests failed %d, service "
              "requests failed %d, leaks %d, failures reported as success "
              "%d\n",
              tally.routines.size(), tally.memoryFailures,
              tally.serviceFailures, tally.leaks, tally.hidden);
}

} // namespace
