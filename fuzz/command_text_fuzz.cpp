// Command-text parsing through the simulated host's cursor: a sequence of
// parsing routines, chosen by the input, reads a command line taken from the
// input. Every name lands in a guarded 32-byte buffer, results stay within
// what each routine may return, and the cursor only ever moves forward.
#include <string>

#include "fuzz_host.h"
#include "parsing.h"

namespace {

const char *const kKeywords[] = {"ALPHA", "BETA", "SIGNAL", ""};
constexpr int32_t kKeywordCount = 3;
constexpr size_t kNameBytes = 32;
const int32_t kVersions[] = {0, 299, 300, 399, 400, 600};

using NameBuffer = GuardedBuffer<kNameBytes>;

// A name the host delivered: terminated inside the buffer, nothing written
// around it.
void CheckName(const NameBuffer &name) {
  FUZZ_CHECK(name.GuardsIntact());
  FUZZ_CHECK(name.Terminated());
}

void ReadNames(FuzzInput &input) {
  NameBuffer name;
  int32_t quoted = -1;
  switch (input.Byte() % 4) {
  case 0:
    ReadCommandName(name.bytes);
    break;
  case 1:
    ReadCommandNameExtended(&quoted, name.bytes, input.Byte());
    FUZZ_CHECK(quoted == 0 || quoted == 1);
    break;
  case 2: {
    int32_t result = ReadNameWithHandle(name.bytes);
    FUZZ_CHECK(result == 0 || result == NameNotFoundError);
    break;
  }
  default: {
    int32_t result = ReadKnownName(name.bytes);
    FUZZ_CHECK(result == 0 || result == UnknownNameError);
  }
  }
  CheckName(name);
}

void ReadKeywords(FuzzInput &) {
  int32_t index = -7;
  int32_t result = ReadKeyword(kKeywords, &index);
  if (result == 0) {
    FUZZ_CHECK(index >= 0 && index < kKeywordCount);
  } else {
    FUZZ_CHECK(result == NameExpectedError || result == KeywordExpectedError);
    FUZZ_CHECK(index == -7);
  }
}

void ReadNumbers(FuzzInput &) {
  double value = 0.0;
  ReadCommandNumber(&value);
  NameBuffer name;
  ReadNameAndFetchNumber(name.bytes);
  CheckName(name);
}

void ReadFlags(FuzzInput &input) {
  int32_t mask = input.Take<int32_t>();
  int32_t before = input.Take<int32_t>();
  int32_t flags = before;
  int32_t result = ReadFlagSetting(mask, &flags);
  FUZZ_CHECK((flags & ~mask) == (before & ~mask)); // other bits untouched
  if (result != 0) FUZZ_CHECK((flags & mask) == mask);
}

void ReadCharacters(FuzzInput &) {
  int32_t c = PeekCommandChar();
  FUZZ_CHECK(c >= 0 && c <= 255);
  SkipCommandChar();
  int32_t end = IsCommandEnd();
  FUZZ_CHECK(end == 0 || end == 1);
}

void ReadText(FuzzInput &) {
  NameBuffer text;
  int32_t last = ReadCommandTextLastChar(text.bytes);
  CheckName(text);
  if (last > 0) FUZZ_CHECK(std::strchr(text.bytes, last) != nullptr);
}

using Step = void (*)(FuzzInput &);
const Step kSteps[] = {ReadNames, ReadKeywords,   ReadNumbers,
                       ReadFlags, ReadCharacters, ReadText};

void SetUpObjects() {
  hostsim::MakeWave(1, 4, {3}, "signal");
  hostsim::AddObject(hostsim::CurrentFolder(), "gain",
                     hostsim::kVariableObject);
}

} // namespace

// The input: a host version, the command line up to a zero byte, then the
// steps and their choices.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzInput input(data, size);
  FuzzHost host(kVersions[input.Byte() % 6]);
  SetUpObjects();
  hostsim::SetCommandLine(input.Text(size));
  for (int steps = 0; steps < 64 && !input.Empty(); ++steps) {
    std::string before = hostsim::RemainingCommand();
    kSteps[input.Byte() % 6](input);
    std::string after = hostsim::RemainingCommand();
    FUZZ_CHECK(after.size() <= before.size());
    FUZZ_CHECK(
        before.compare(before.size() - after.size(), after.size(), after) == 0);
  }
  return 0;
}
