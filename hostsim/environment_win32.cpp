// The parts of the host's surroundings that are Windows itself: its clock,
// its module, its client window, and strings from a module's resources.
#include <windows.h>

#include <cstring>

#include "hostsim.h"

namespace hostsim {
namespace {

HWND clientWindow = nullptr;

HWND CreateClientWindow() {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "HostSimClient";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassA(&wc);
  return CreateWindowExA(0, wc.lpszClassName, "Igor (simulated)",
                         WS_OVERLAPPEDWINDOW, 100, 100, 800, 600, nullptr,
                         nullptr, wc.hInstance, nullptr);
}

} // namespace

uint32_t RealTicks() {
  return static_cast<uint32_t>(GetTickCount64() * 60 / 1000);
}

void *OwnExecutableModule() { return GetModuleHandleA(nullptr); }

bool ReadIndexedString(void *module, int32_t list, int32_t index,
                       std::string &text) {
  HMODULE m = static_cast<HMODULE>(module);
  HRSRC info = FindResourceA(m, MAKEINTRESOURCEA(list), "STR#");
  HGLOBAL loaded = info ? LoadResource(m, info) : nullptr;
  const char *bytes = static_cast<const char *>(LockResource(loaded));
  if (bytes == nullptr) return false;
  return IndexedString(bytes, SizeofResource(m, info), index, text);
}

} // namespace hostsim

extern "C" void *GetIgorClientHWND(void) {
  using hostsim::clientWindow;
  if (clientWindow == nullptr || !IsWindow(clientWindow)) {
    clientWindow = hostsim::CreateClientWindow();
  }
  return clientWindow;
}
