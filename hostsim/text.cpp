// Text services: character search in the caller's zero-terminated text.
#include <cstring>

#include "hostsim.h"
#include "items.h"

namespace hostsim {
namespace {

int32_t FindFirst(const ServiceCall &call) {
  if (call.items.size() < 2) return 0;
  const char *s = ItemPointer<const char>(call.items[0]);
  if (s == nullptr) return 0;
  return PointerItem(std::strchr(s, call.items[1]));
}

int32_t FindLast(const ServiceCall &call) {
  if (call.items.size() < 2) return 0;
  const char *s = ItemPointer<const char>(call.items[0]);
  if (s == nullptr) return 0;
  return PointerItem(std::strrchr(s, call.items[1]));
}

} // namespace

HOSTSIM_SERVICE(173, FindFirst);
HOSTSIM_SERVICE(174, FindLast);

} // namespace hostsim
