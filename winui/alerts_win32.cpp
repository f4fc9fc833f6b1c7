// Alerts over the host's client window, and placing a window over another.
#include "detail/dialog_logic.h"
#include "winui.h"

namespace {

// The box type alone: no icon, default-button or modality flags.
int ShowAlert(const char *caption, const char *text, UINT type) {
  HWND owner = static_cast<HWND>(HostClientWindow());
  return MessageBoxA(owner, text, caption, type);
}

EdgeRect EdgeRectOf(const RECT &r) {
  return {r.left, r.top, r.right, r.bottom};
}

} // namespace

extern "C" {

void AlertOK(const char *caption, const char *text) {
  ShowAlert(caption, text, MB_OK);
}

// A failed box (0) reads like Cancel or No in all three.
int32_t AlertOKCancel(const char *caption, const char *text) {
  return ShowAlert(caption, text, MB_OKCANCEL) == IDOK ? 1 : -1;
}

int32_t AlertYesNo(const char *caption, const char *text) {
  return ShowAlert(caption, text, MB_YESNO) == IDYES ? 1 : 2;
}

int32_t AlertYesNoCancel(const char *caption, const char *text) {
  switch (ShowAlert(caption, text, MB_YESNOCANCEL)) {
  case IDYES:
    return 1;
  case IDNO:
    return 2;
  default:
    return -1;
  }
}

int32_t PlaceWindowOver(HWND window, HWND reference) {
  int32_t screenWidth = GetSystemMetrics(SM_CXFULLSCREEN);
  int32_t screenHeight = GetSystemMetrics(SM_CYFULLSCREEN);
  if (reference == nullptr) reference = static_cast<HWND>(HostClientWindow());
  // Zeroed so that an unreadable rectangle or placement places predictably.
  RECT referenceRect = {};
  GetWindowRect(reference, &referenceRect);
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof placement;
  GetWindowPlacement(window, &placement);
  RECT &normal = placement.rcNormalPosition;
  EdgeRect placed =
      PlaceOverReference(EdgeRectOf(referenceRect), normal.right - normal.left,
                         normal.bottom - normal.top, screenWidth, screenHeight);
  placement.flags = 0;
  normal = {placed.left, placed.top, placed.right, placed.bottom};
  return SetWindowPlacement(window, &placement);
}

} // extern "C"
