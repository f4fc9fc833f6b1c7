// The warning beep, and a check that the Win32 RECT has the layout the
// rectangle conversions assume.
#include <windows.h>

#include <cstddef>

#include "wrappers.h"

static_assert(sizeof(RECT) == 16 && offsetof(RECT, left) == 0 &&
                  offsetof(RECT, top) == 4 && offsetof(RECT, right) == 8 &&
                  offsetof(RECT, bottom) == 12,
              "Win32 RECT layout");

extern "C" int32_t WarningBeep(void) { return MessageBeep(MB_ICONEXCLAMATION); }
