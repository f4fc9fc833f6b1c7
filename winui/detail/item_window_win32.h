// What the dialog and popup-menu routines share about an item's window.
#ifndef TAVREL_WINUI_DETAIL_ITEM_WINDOW_WIN32_H
#define TAVREL_WINUI_DETAIL_ITEM_WINDOW_WIN32_H

#include <windows.h>

#include "detail/dialog_logic.h"

// The item's class, read into a 32-byte name as the host library always has.
inline ItemClassKind ClassKindOfWindow(HWND window) {
  char name[32];
  if (GetClassNameA(window, name, sizeof name) == 0) return OtherItemClass;
  return ItemClassKindOf(name);
}

#endif
