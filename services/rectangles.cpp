// Conversions between the 16-bit rectangle and the Win32 RECT, whose layout
// (four 32-bit values: left, top, right, bottom) is fixed by the platform.
#include <cstring>

#include "wrappers.h"

namespace {

struct WinRectFields {
  int32_t left, top, right, bottom;
};

} // namespace

extern "C" {

ShortRect *WinRectToShortRect(const struct tagRECT *winRect,
                              ShortRect *shortRect) {
  WinRectFields r;
  std::memcpy(&r, winRect, sizeof r);
  shortRect->top = static_cast<int16_t>(r.top);
  shortRect->left = static_cast<int16_t>(r.left);
  shortRect->bottom = static_cast<int16_t>(r.bottom);
  shortRect->right = static_cast<int16_t>(r.right);
  return shortRect;
}

void ShortRectToWinRect(const ShortRect *shortRect, struct tagRECT *winRect) {
  const WinRectFields r = {shortRect->left, shortRect->top, shortRect->right,
                           shortRect->bottom};
  std::memcpy(winRect, &r, sizeof r);
}

} // extern "C"
