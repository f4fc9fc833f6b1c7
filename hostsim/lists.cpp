// Host lists written into a handle the extension passes.
#include "lists.h"

#include <cstring>
#include <map>

#include "hostsim.h"
#include "items.h"

namespace hostsim {
namespace {

struct HostList {
  std::vector<std::string> entries;
  int32_t result = 0;
};

std::map<int32_t, HostList> &Lists() {
  static std::map<int32_t, HostList> lists;
  return lists;
}

// Appends text to the handle's block as the host's own resizing would.
bool AppendToHandle(Handle h, const std::string &text) {
  int32_t old = GetHandleSize(h);
  SetHandleSize(h, old + static_cast<int32_t>(text.size()));
  if (MemError() != 0) return false;
  std::memcpy(*h + old, text.data(), text.size());
  return true;
}

int32_t WriteList(const ServiceCall &call) {
  Handle h = ItemPointer<char *>(ItemOr0(call, 0));
  const char *separator = ItemPointer<const char>(ItemOr0(call, 2));
  if (h == nullptr || !IsLiveHandle(h) || separator == nullptr)
    return kNilHandle;
  const HostList &list = Lists()[call.code];
  for (const std::string &entry : list.entries) {
    if (!AppendToHandle(h, entry + separator)) return kMemFull;
  }
  return list.result;
}

} // namespace

void SetHostList(int32_t code, const std::vector<std::string> &entries,
                 int32_t result) {
  Lists()[code] = {entries, result};
}

void ClearHostLists() { Lists().clear(); }

// One service behind three codes.
static const ServiceRegistration listRegistrations[] = {
    {56, WriteList}, {57, WriteList}, {58, WriteList}};

} // namespace hostsim
