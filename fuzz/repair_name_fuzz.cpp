// RepairObjectName on hostile names of any length, in a buffer of exactly
// the size the caller must give (32 bytes, or more for a longer name), so
// the address sanitizer sees any byte touched outside it. The result must
// match the repair rules applied one by one.
#include <cctype>
#include <string>

#include "fuzz_input.h"
#include "names.h"

namespace {

bool IsLetter(char c) {
  return static_cast<signed char>(c) >= 0 && std::isalpha(c) != 0;
}
bool IsLetterOrDigit(char c) {
  return static_cast<signed char>(c) >= 0 && std::isalnum(c) != 0;
}

// The repair rules, written out step by step.
int32_t ExpectedRepair(std::string &name, int32_t number) {
  if (name.empty()) {
    name = "NoName" + std::to_string(number);
    return 1;
  }
  bool repaired = false;
  if (!IsLetter(name[0])) {
    name.insert(0, "X");
    repaired = true;
  }
  if (name.size() > MaxObjectNameChars) {
    name.resize(MaxObjectNameChars);
    repaired = true;
  }
  for (size_t k = 1; k < name.size(); ++k) {
    if (IsLetterOrDigit(name[k])) continue;
    name[k] = '_';
    repaired = true;
  }
  return repaired;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzInput input(data, size);
  int32_t number = input.Take<int32_t>();
  std::string name = input.Rest();
  size_t bytes =
      name.size() + 1 > ObjectNameBytes ? name.size() + 1 : ObjectNameBytes;
  char *buffer = static_cast<char *>(std::malloc(bytes));
  std::memset(buffer, 0x7F, bytes);
  std::memcpy(buffer, name.c_str(), name.size() + 1);
  int32_t result = RepairObjectName(buffer, number);
  int32_t expected = ExpectedRepair(name, number);
  FUZZ_CHECK(result == expected);
  FUZZ_CHECK(name == buffer);
  std::free(buffer);
  return 0;
}
