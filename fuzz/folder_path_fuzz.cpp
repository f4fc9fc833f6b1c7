// FolderFromPath with arbitrary paths and start folders, on hosts on both
// sides of version 301. Older hosts must get exactly the help the library
// promises (long paths refused, ":" and "root:" answered without the path
// service, a trailing colon dropped); newer hosts get the path unchanged.
// An injected failure of the first request must come back as an error.
#include <string>

#include "folders.h"
#include "fuzz_host.h"

namespace {

constexpr FolderHandle kUnset = 0x5A5A5A5A;
constexpr int32_t kInjectedError = 4242;

struct Tree {
  FolderHandle root, a, ab, c;
};

Tree MakeTree() {
  Tree tree;
  tree.root = hostsim::RootFolder();
  tree.a = hostsim::NewFolder(tree.root, "a");
  tree.ab = hostsim::NewFolder(tree.a, "b");
  tree.c = hostsim::NewFolder(tree.root, "C");
  return tree;
}

FolderHandle ChooseStart(FuzzInput &input, const Tree &tree) {
  const FolderHandle choices[] = {0, tree.root, tree.a, tree.ab, tree.c};
  uint8_t choice = input.Byte();
  return choice < 5 * 50 ? choices[choice % 5] : input.Take<int32_t>();
}

// What an older host answers: the library's local forms, else the path
// service with the trailing colon dropped.
int32_t OlderHostAnswer(FolderHandle start, std::string path,
                        FolderHandle *folder) {
  if (!path.empty() && path.back() == ':') {
    path.pop_back();
    if (path.empty() && start != 0) {
      *folder = start;
      return 0;
    }
    if (path.empty() || CompareNoCase(path.c_str(), "root") == 0) {
      *folder = path.empty() ? hostsim::CurrentFolder() : hostsim::RootFolder();
      return 0;
    }
  }
  return hostsim::ResolveFolderPath(start, path, folder);
}

void CheckAgainstModel(FolderHandle start, const std::string &path,
                       int32_t result, FolderHandle folder) {
  FolderHandle expected = kUnset;
  int32_t expectedResult =
      HostVersion >= 301 ? hostsim::ResolveFolderPath(start, path, &expected)
                         : OlderHostAnswer(start, path, &expected);
  FUZZ_CHECK(result == expectedResult);
  FUZZ_CHECK(folder == expected);
}

} // namespace

// The input: a version, a start folder, whether the first request fails,
// then the path.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzInput input(data, size);
  FuzzHost host(290 + input.Byte() % 20);
  Tree tree = MakeTree();
  FolderHandle start = ChooseStart(input, tree);
  bool failFirst = input.Byte() % 8 == 0;
  std::string path = input.Rest();
  if (failFirst) hostsim::FailServiceRequest(1, kInjectedError);
  int32_t before = hostsim::ServiceCallCount();
  FolderHandle folder = kUnset;
  int32_t result = FolderFromPath(start, path.c_str(), &folder);
  bool asked = hostsim::ServiceCallCount() != before;
  if (HostVersion < 301 && path.size() > MaxLocalPathChars) {
    FUZZ_CHECK(result == PathTooLongError && folder == 0 && !asked);
  } else if (failFirst && asked) {
    FUZZ_CHECK(result == kInjectedError);
  } else if (!failFirst) {
    CheckAgainstModel(start, path, result, folder);
  }
  // Only a start folder handed back as it came may be unknown to the host.
  if (result == 0 && folder != start)
    FUZZ_CHECK(!hostsim::FolderPath(folder).empty());
  return 0;
}
