// What the host reports about its surroundings that needs no particular
// platform: ticks, module handles as set, window messages, resource strings
// and the scrap.
#include <cstring>

#include "hostsim.h"

namespace hostsim {
namespace {

TickSource tickSource = nullptr;
void *hostModule = nullptr;
bool hostModuleSet = false;
void *extensionModule = nullptr;
WinMessageCall lastWinMessage;
std::string scrap;

} // namespace

void SetTickSource(TickSource source) { tickSource = source; }
void SetHostModule(void *module) {
  hostModule = module;
  hostModuleSet = true;
}
void ResetHostModule() { hostModuleSet = false; }
void SetExtensionModule(void *module) { extensionModule = module; }
const WinMessageCall &LastWinMessage() { return lastWinMessage; }
const std::string &ScrapText() { return scrap; }

bool IndexedString(const char *list, size_t size, int32_t index,
                   std::string &text) {
  const char *end = list + size;
  for (int32_t k = 1; list < end && *list != 0; ++k) {
    size_t length = strnlen(list, end - list);
    if (k == index) {
      text.assign(list, length);
      return true;
    }
    list += length + 1;
  }
  return false;
}

} // namespace hostsim

using namespace hostsim;

extern "C" {

uint32_t TickCount(void) { return tickSource ? tickSource() : RealTicks(); }

void *GetIgorModule(void) {
  return hostModuleSet ? hostModule : OwnExecutableModule();
}

void *GetXOPModule(Handle) { return extensionModule; }

int32_t HandleXOPWinMessage(void *module, uint32_t a, uint32_t b, uint32_t c,
                            uint32_t d, uint32_t e) {
  lastWinMessage = {module, {a, b, c, d, e}};
  return 0;
}

// Fills at most 256 bytes: host strings are limited to 255 characters.
int32_t GetWinIndString(void *module, char *buffer, int32_t listNumber,
                        int32_t itemNumber) {
  std::string text;
  if (!ReadIndexedString(module, listNumber, itemNumber, text)) return -1;
  size_t n = text.size() < 255 ? text.size() : 255;
  std::memcpy(buffer, text.data(), n);
  buffer[n] = 0;
  return 0;
}

int32_t SetScrapData(int32_t, int32_t length, uint32_t type, const char *text) {
  if (type != 0x54455854 || length < 0 || text == nullptr) return -1;
  scrap.assign(text, static_cast<size_t>(length));
  return 0;
}

} // extern "C"
