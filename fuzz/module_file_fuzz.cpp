// The module-file reader and the module check on any bytes: every walk
// ends, nothing is read outside the file, a file that is refused has its
// one reason, and a module that passes has everything the host reads.
#include <algorithm>
#include <string>

#include "fuzz_input.h"
#include "module_check.h"

namespace {

// Each resource's bytes lie inside the file, and any of them may be taken
// for a version resource without harm.
void CheckResources(const hostsim::ModuleFile &file, size_t size) {
  std::vector<hostsim::ResourceEntry> resources;
  std::string error;
  if (!file.ReadResources(resources, error)) return;
  for (const hostsim::ResourceEntry &r : resources) {
    FUZZ_CHECK(r.offset <= size && r.size <= size - r.offset);
    hostsim::VersionNode node;
    hostsim::ParseVersionNode(file.ResourceBytes(r), 0, node);
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  hostsim::ModuleFile file(
      std::string(reinterpret_cast<const char *>(data), size));
  hostsim::ModuleCheck check = hostsim::CheckModule(file);
  FUZZ_CHECK(file.Valid() || check.problems.size() == 1);
  std::string text = hostsim::DescribeModuleCheck("fuzz.xop", check);
  FUZZ_CHECK(text.find(check.problems.empty() ? "passes" : "fails") !=
             std::string::npos);
  if (check.problems.empty()) {
    FUZZ_CHECK(check.information.size() == 5);
    FUZZ_CHECK(check.exports == std::vector<std::string>{"main"});
  }
  CheckResources(file, size);
  return 0;
}
