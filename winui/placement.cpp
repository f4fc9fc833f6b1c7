// Where a window goes over its reference window.
#include "detail/dialog_logic.h"

namespace {

// Room between the reference's top edge and the placed window's.
constexpr int32_t kDropBelowTop = 20;

} // namespace

extern "C" EdgeRect PlaceOverReference(EdgeRect reference, int32_t width,
                                       int32_t height, int32_t screenWidth,
                                       int32_t screenHeight) {
  // 64-bit sum: far-off reference edges must not overflow.
  int64_t centre = (int64_t{reference.left} + reference.right) / 2;
  EdgeRect placed;
  placed.top = reference.top + kDropBelowTop;
  placed.bottom = placed.top + height;
  placed.left = static_cast<int32_t>(centre - width / 2);
  placed.right = placed.left + width;
  if (placed.left < 0) {
    placed.left = 0;
    placed.right = width;
  }
  // After the left edge: a window wider than the screen ends left of it.
  if (placed.right > screenWidth) {
    placed.right = screenWidth;
    placed.left = screenWidth - width;
  }
  // Only the bottom is clamped; the top may stay above the screen.
  if (placed.bottom > screenHeight) {
    placed.bottom = screenHeight;
    placed.top = screenHeight - height;
  }
  return placed;
}
