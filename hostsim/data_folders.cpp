// The data-folder tree, the folder namespaces, and the folder and name
// services built on them. Folder handles are small numbers that are never
// reused, so a handle kept from before a reset is recognised as stale.
#include "data_folders.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>

#include "hostsim.h"
#include "items.h"
#include "scripted_answers.h"

namespace hostsim {
namespace {

struct Object {
  std::string name;
  int32_t type;
};

struct Folder {
  int32_t parent = 0;
  std::string name;
  std::map<std::string, Object> objects;   // keyed by folded name
  std::map<std::string, int32_t> children; // folded name to handle
};

struct FolderStore {
  std::map<int32_t, Folder> folders;
  int32_t nextHandle = 0;
  int32_t root = 0;
  int32_t current = 0;
  std::string lastPath;
  std::vector<std::string> reports;
  std::vector<std::string> appended;
};

FolderStore FreshStore(int32_t firstHandle) {
  FolderStore store;
  store.root = firstHandle;
  store.current = firstHandle;
  store.nextHandle = firstHandle + 1;
  store.folders[firstHandle].name = "root";
  return store;
}

FolderStore &Store() {
  static FolderStore store = FreshStore(0x100);
  return store;
}

std::string Folded(const std::string &name) {
  std::string folded = name;
  for (char &c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  }
  return folded;
}

Folder *FindFolder(int32_t handle) {
  auto found = Store().folders.find(handle);
  return found == Store().folders.end() ? nullptr : &found->second;
}

// Requests name folder 0 to mean the current folder.
int32_t RequestHandle(int32_t handle) {
  return handle != 0 ? handle : Store().current;
}
Folder *RequestFolder(int32_t handle) {
  return FindFolder(RequestHandle(handle));
}

int32_t ChildFolder(const Folder &folder, const std::string &name) {
  auto found = folder.children.find(Folded(name));
  return found == folder.children.end() ? 0 : found->second;
}

bool NameTaken(const Folder &folder, const std::string &name) {
  return folder.objects.count(Folded(name)) != 0 ||
         folder.children.count(Folded(name)) != 0;
}

// Names may hold anything but colons, quotes and control characters.
bool IsUsableName(const std::string &name) {
  if (name.empty() || name.size() > kMaxNameChars) return false;
  for (unsigned char c : name) {
    if (c < 0x20 || c == ':' || c == '\'' || c == '"') return false;
  }
  return true;
}

bool IsRootPrefix(const std::string &path) {
  return path.size() >= 4 && Folded(path.substr(0, 4)) == "root" &&
         (path.size() == 4 || path[4] == ':');
}

// Where a path starts, with `at` moved past "root:" or a leading colon.
int32_t PathStart(int32_t start, const std::string &path, size_t &at) {
  if (IsRootPrefix(path)) {
    at = 5;
    return Store().root;
  }
  at = !path.empty() && path[0] == ':' ? 1 : 0;
  return start != 0 ? start : Store().current;
}

template <typename T> T *ItemTarget(const ServiceCall &call, size_t k) {
  return ItemPointer<T>(ItemOr0(call, k));
}

int32_t ShowReport(const ServiceCall &call) {
  const char *text = ItemTarget<const char>(call, 0);
  Store().reports.push_back(text != nullptr ? text : "");
  if (Tracing()) std::fprintf(stderr, "[host] report: %s\n", text);
  return 0;
}

int32_t FetchSpecialFolder(const ServiceCall &call) {
  int32_t *out = ItemTarget<int32_t>(call, 1);
  if (ItemOr0(call, 0) != 0 || out == nullptr) return kBadValueError;
  *out = Store().root;
  return 0;
}

int32_t FetchCurrent(const ServiceCall &call) {
  int32_t *out = ItemTarget<int32_t>(call, 0);
  if (out == nullptr) return kBadValueError;
  *out = Store().current;
  return 0;
}

int32_t SwitchCurrent(const ServiceCall &call) {
  if (FindFolder(ItemOr0(call, 0)) == nullptr) return kNoSuchFolderError;
  Store().current = ItemOr0(call, 0);
  return 0;
}

int32_t FolderFromPathService(const ServiceCall &call) {
  const char *path = ItemTarget<const char>(call, 1);
  int32_t *out = ItemTarget<int32_t>(call, 2);
  if (path == nullptr || out == nullptr) return kBadValueError;
  Store().lastPath = path;
  return ResolveFolderPath(ItemOr0(call, 0), path, out);
}

// Writes base + n for the first n from the counter on that names nothing in
// the current folder, and leaves the counter just past it.
int32_t NumberedName(const ServiceCall &call) {
  const char *base = ItemTarget<const char>(call, 1);
  char *result = ItemTarget<char>(call, 2);
  int32_t *counter = ItemTarget<int32_t>(call, 3);
  Folder *folder = RequestFolder(0);
  if (base == nullptr || result == nullptr || counter == nullptr)
    return kBadValueError;
  for (int32_t n = *counter > 0 ? *counter : 0; n < INT32_MAX; ++n) {
    std::string name = base + std::to_string(n);
    if (name.size() > kMaxNameChars) return kNameTooLongError;
    if (NameTaken(*folder, name)) continue;
    std::memcpy(result, name.c_str(), name.size() + 1);
    *counter = n + 1;
    return 0;
  }
  return kNameTooLongError;
}

// Non-zero when a new object of the type cannot take the name.
int32_t NameConflict(const ServiceCall &call) {
  Folder *folder = RequestFolder(ItemOr0(call, 0));
  const char *name = ItemTarget<const char>(call, 2);
  if (folder == nullptr) return kNoSuchFolderError;
  if (name == nullptr || !IsUsableName(name)) return kBadNameError;
  const std::string folded = Folded(name);
  if (ItemOr0(call, 1) == kFolderObject)
    return folder->children.count(folded) != 0;
  return folder->objects.count(folded) != 0;
}

int32_t AppendedName(const ServiceCall &call) {
  const char *text = ItemTarget<const char>(call, 0);
  if (text == nullptr) return kBadValueError;
  Store().appended.push_back(text);
  return 0;
}

bool IsAsciiLetter(char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }
bool IsAsciiLetterOrDigit(char c) {
  return IsAsciiLetter(c) || (c >= '0' && c <= '9');
}

// Rule 0: a letter first, then letters, digits and underscores. Any other
// rule allows everything but colons, quotes, semicolons and control bytes.
std::string LegalName(const std::string &name, int32_t rule) {
  std::string legal = name;
  if (rule == 0 && !IsAsciiLetter(legal[0])) legal.insert(0, "X");
  for (size_t k = 0; k < legal.size(); ++k) {
    unsigned char c = static_cast<unsigned char>(legal[k]);
    bool bad = rule == 0 ? k > 0 && !IsAsciiLetterOrDigit(legal[k])
                         : c < 0x20 || std::strchr(":;'\"", c) != nullptr;
    if (bad) legal[k] = '_';
  }
  return legal;
}

int32_t Legalize(const ServiceCall &call) {
  char *name = ItemTarget<char>(call, 1);
  int32_t limit = ItemOr0(call, 2);
  if (name == nullptr || limit < 1) return kBadValueError;
  if (name[0] == '\0') return kBadNameError;
  std::string legal = LegalName(name, ItemOr0(call, 0));
  size_t room = static_cast<size_t>(std::min<int32_t>(limit, kMaxNameChars));
  legal.resize(std::min(legal.size(), room));
  std::memcpy(name, legal.c_str(), legal.size() + 1);
  return 0;
}

int32_t LookUpObject(const ServiceCall &call) {
  int32_t folder = RequestHandle(ItemOr0(call, 0));
  const char *name = ItemTarget<const char>(call, 1);
  int32_t *type = ItemTarget<int32_t>(call, 2);
  if (FindFolder(folder) == nullptr) return kNoSuchFolderError;
  if (name == nullptr || type == nullptr) return kBadValueError;
  return FindObject(folder, name, type) ? 0 : kNoSuchObjectError;
}

const ServiceRegistration registrations[] = {
    {8, Scriptable<8, ShowReport>},
    {76, Scriptable<76, NumberedName>},
    {105, Scriptable<105, FetchSpecialFolder>},
    {106, Scriptable<106, FetchCurrent>},
    {107, Scriptable<107, SwitchCurrent>},
    {108, Scriptable<108, FolderFromPathService>},
    {150, Scriptable<150, NameConflict>},
    {151, Scriptable<151, AppendedName>},
    {152, Scriptable<152, Legalize>},
    {159, Scriptable<159, LookUpObject>},
};

} // namespace

void ResetFolders() { Store() = FreshStore(Store().nextHandle); }
int32_t RootFolder() { return Store().root; }
int32_t CurrentFolder() { return Store().current; }

int32_t NewFolder(int32_t parent, const std::string &name) {
  Folder *folder = FindFolder(parent);
  if (folder == nullptr || !IsUsableName(name)) return 0;
  if (folder->children.count(Folded(name)) != 0) return 0;
  int32_t handle = Store().nextHandle++;
  folder->children[Folded(name)] = handle;
  Folder &child = Store().folders[handle];
  child.parent = parent;
  child.name = name;
  return handle;
}

bool AddObject(int32_t folder, const std::string &name, int32_t type) {
  Folder *target = FindFolder(folder);
  if (target == nullptr || !IsUsableName(name)) return false;
  if (target->objects.count(Folded(name)) != 0) return false;
  target->objects[Folded(name)] = Object{name, type};
  return true;
}

void RemoveObject(int32_t folder, const std::string &name) {
  if (Folder *target = FindFolder(folder)) target->objects.erase(Folded(name));
}

bool FindObject(int32_t folder, const std::string &name, int32_t *type) {
  Folder *target = FindFolder(folder);
  if (target == nullptr) return false;
  auto object = target->objects.find(Folded(name));
  if (object != target->objects.end()) {
    *type = object->second.type;
    return true;
  }
  if (ChildFolder(*target, name) == 0) return false;
  *type = kFolderObject;
  return true;
}

std::string FolderPath(int32_t handle) {
  const Folder *folder = FindFolder(handle);
  if (folder == nullptr) return "";
  if (folder->parent == 0) return folder->name;
  return FolderPath(folder->parent) + ":" + folder->name;
}

int32_t ResolveFolderPath(int32_t start, const std::string &path,
                          int32_t *folder) {
  size_t at = 0;
  int32_t here = PathStart(start, path, at);
  if (FindFolder(here) == nullptr) return kNoSuchFolderError;
  while (at < path.size()) {
    if (path[at] == ':') {
      here = FindFolder(here)->parent;
      if (here == 0) return kBadPathError;
      ++at;
      continue;
    }
    size_t end = std::min(path.find(':', at), path.size());
    here = ChildFolder(*FindFolder(here), path.substr(at, end - at));
    if (here == 0) return kNoSuchFolderError;
    at = end + 1;
  }
  *folder = here;
  return 0;
}

const std::string &LastPathRequest() { return Store().lastPath; }
const std::vector<std::string> &Reports() { return Store().reports; }
const std::vector<std::string> &AppendedNames() { return Store().appended; }

} // namespace hostsim
