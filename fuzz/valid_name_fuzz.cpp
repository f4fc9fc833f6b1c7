// CreateValidDataObjectName with hostile proposed names, every flag, any
// object type and counter, in folders that hold objects named by the input,
// with a host request failing now and then. The result buffer is guarded;
// a success leaves a name of at most 31 characters, a failure leaves the
// buffer and both flags untouched, and the current folder is restored.
#include <string>

#include "fuzz_host.h"
#include "names.h"

namespace {

constexpr char kUntouched = '#';

struct Arguments {
  FolderHandle folder;
  int32_t counter, objectType, ruleOption;
  bool allowSameType, numbered, report;
};

FolderHandle ChooseFolder(uint8_t choice, FolderHandle child) {
  switch (choice % 4) {
  case 0:
    return 0;
  case 1:
    return hostsim::CurrentFolder();
  case 2:
    return child;
  default:
    return 0x7FFF0000 + choice; // unknown to the host
  }
}

int32_t ChooseType(FuzzInput &input) {
  const int32_t types[] = {1, 3, 4, 11};
  uint8_t choice = input.Byte();
  return choice < 200 ? types[choice % 4] : input.Take<int32_t>();
}

// Objects named by the input, so that proposed names meet conflicts.
void AddObjects(FuzzInput &input, FolderHandle child) {
  for (int k = input.Byte() % 4; k > 0; --k) {
    int32_t type = ChooseType(input);
    std::string name = input.Text(40);
    hostsim::AddObject(k % 2 ? hostsim::CurrentFolder() : child, name, type);
  }
}

Arguments ChooseArguments(FuzzInput &input, FolderHandle child) {
  Arguments a{};
  a.folder = ChooseFolder(input.Byte(), child);
  a.counter = input.Take<int32_t>();
  a.objectType = ChooseType(input);
  a.ruleOption = input.Byte() % 3;
  uint8_t flags = input.Byte();
  a.allowSameType = flags & 1;
  a.numbered = flags & 2;
  a.report = flags & 4;
  return a;
}

void CheckOutcome(int32_t result, const GuardedBuffer<ObjectNameBytes> &name,
                  const std::string &proposed, int32_t differs, int32_t reuse) {
  FUZZ_CHECK(name.GuardsIntact());
  if (result != 0) {
    FUZZ_CHECK(name.bytes[0] == kUntouched && differs == 0 && reuse == 0);
    return;
  }
  FUZZ_CHECK(name.Terminated());
  FUZZ_CHECK(std::strlen(name.bytes) <= MaxObjectNameChars);
  FUZZ_CHECK(differs == (proposed != name.bytes));
  FUZZ_CHECK(reuse == 0 || reuse == 1);
}

} // namespace

// The input: a version, objects, the arguments, an optional failing
// request, then the proposed name.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzInput input(data, size);
  FuzzHost host(input.Byte() % 4 ? 600 : 299);
  FolderHandle child = hostsim::NewFolder(hostsim::RootFolder(), "sub");
  AddObjects(input, child);
  Arguments a = ChooseArguments(input, child);
  uint8_t failing = input.Byte() % 16;
  std::string proposed = input.Rest();
  GuardedBuffer<ObjectNameBytes> name;
  name.bytes[0] = kUntouched;
  int32_t differs = -1, reuse = -1;
  FolderHandle current = hostsim::CurrentFolder();
  if (failing < 8) hostsim::FailServiceRequest(failing + 1, 77);
  int32_t result = CreateValidDataObjectName(
      a.folder, proposed.c_str(), name.bytes, &a.counter, a.objectType,
      a.ruleOption, a.allowSameType, a.numbered, a.report, &differs, &reuse);
  CheckOutcome(result, name, proposed, differs, reuse);
  if (failing >= 8) FUZZ_CHECK(hostsim::CurrentFolder() == current);
  return 0;
}
