// The library session behind the simulator's --library-demo.
#include "library_demo.h"

#include <cstdio>

#include "command_text.h"
#include "data_folders.h"
#include "hostsim.h"
#include "items.h"
#include "numconv.h"
#include "wave_store.h"
#include "waves.h"

namespace hostsim {
namespace {

constexpr const char *kCommand = "/Q /N=3 trace0 fast";
const char *const kModes[] = {"FAST", "SLOW", ""}; // keywords in capitals
enum : int32_t { kQuiet = 1, kCount = 2 };
enum : int32_t { kWaveObject = 1 };

struct Session {
  std::string &out;
  int32_t error = 0;

  // Notes a step; the first failing step ends the session.
  bool Step(const std::string &what, int32_t result) {
    char line[320];
    std::snprintf(line, sizeof line, "%-52s -> %d\n", what.c_str(), result);
    out += line;
    if (result != 0 && error == 0) error = result;
    return result == 0;
  }
};

bool MakeWaveWithFreeName(Session &s, FolderHandle folder) {
  WaveHandle first = nullptr, second = nullptr;
  char name[ObjectNameBytes];
  int32_t suffix = 0, differs = 0, reuse = 0;
  if (!s.Step("NewWave(\"trace\", 8 points, Float64)",
              NewWave(&first, PointerItem("trace"), 8, NumTypeFloat64, 0)) ||
      !s.Step("CreateValidDataObjectName(\"trace\")",
              CreateValidDataObjectName(folder, "trace", name, &suffix,
                                        kWaveObject, 0, 0, 0, 0, &differs,
                                        &reuse)))
    return false;
  s.out +=
      std::string("  free name: ") + name + (differs ? " (changed)\n" : "\n");
  if (!s.Step(std::string("NewWave(\"") + name + "\", 4 points, Int16)",
              NewWave(&second, PointerItem(name), 4, NumTypeInt16, 0)))
    return false;
  const double values[4] = {1.9, -2.9, 40000, 7};
  double back[4] = {0, 0, 0, 0};
  if (!s.Step("CopyDoublesToWave({1.9, -2.9, 40000, 7})",
              CopyDoublesToWave(second, values)) ||
      !s.Step("CopyWaveToDoubles", CopyWaveToDoubles(second, back)))
    return false;
  char line[128];
  std::snprintf(line, sizeof line, "  stored as Int16: %g %g %g %g\n", back[0],
                back[1], back[2], back[3]);
  s.out += line;
  return true;
}

bool ReadFlags(Session &s, int32_t &flags) {
  char flag[256];
  for (;;) {
    while (PeekCommandChar() == ' ')
      SkipCommandChar();
    if (PeekCommandChar() != '/') return true;
    SkipCommandChar();
    if (!s.Step("ReadCommandName (flag)", ReadCommandName(flag))) return false;
    int32_t mask = flag[0] == 'Q' ? kQuiet : flag[0] == 'N' ? kCount : 0;
    if (!s.Step(std::string("ReadFlagSetting /") + flag,
                ReadFlagSetting(mask, &flags)))
      return false;
  }
}

bool ParseCommand(Session &s) {
  SetCommandLine(kCommand);
  s.out += std::string("command: ") + kCommand + "\n";
  int32_t flags = 0, mode = -1;
  char name[256];
  if (!ReadFlags(s, flags) || !s.Step("ReadKnownName", ReadKnownName(name)) ||
      !s.Step("ReadKeyword {FAST, SLOW}", ReadKeyword(kModes, &mode)))
    return false;
  char flagText[16];
  std::snprintf(flagText, sizeof flagText, "0x%X",
                static_cast<unsigned>(flags));
  s.out += std::string("  flags ") + flagText + ", wave " + name + ", mode " +
           kModes[mode] + ", at the end: " + std::to_string(IsCommandEnd()) +
           "\n";
  return true;
}

} // namespace

int32_t RunLibraryDemo(int32_t hostVersion, std::string &transcript) {
  Handle savedRecord = HostRecordHandle;
  int32_t savedVersion = HostVersion;
  HostRecordHandle = NewHostRecord();
  HostVersion = hostVersion;
  ResetWaves();
  ResetFolders();
  NewFolder(RootFolder(), "Data");
  Session s{transcript};
  FolderHandle folder = 0;
  if (s.Step("FolderFromPath(\"root:Data:\")",
             FolderFromPath(0, "root:Data:", &folder)) &&
      s.Step("SwitchCurrentFolder", SwitchCurrentFolder(folder)) &&
      MakeWaveWithFreeName(s, folder))
    ParseCommand(s);
  ResetWaves(); // the session leaves nothing behind in the host
  ResetFolders();
  DisposeHandle(HostRecordHandle);
  HostRecordHandle = savedRecord;
  HostVersion = savedVersion;
  return s.error;
}

} // namespace hostsim
