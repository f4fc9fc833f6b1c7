// Dialog items by dialog window and identifier: visibility, enabling,
// rectangles, check boxes, texts and numbers, and telling the user's changes
// from the module's own.
#include <cstring>

#include "detail/item_window_win32.h"
#include "winui.h"

extern "C" {

int32_t ItemTextBeingSet = 0;

} // extern "C"

namespace {

int32_t ShowItemAs(HWND dialog, int32_t item, int command) {
  HWND window = GetDlgItem(dialog, item);
  return window ? ShowWindow(window, command) : 0;
}

int32_t EnableItemAs(HWND dialog, int32_t item, BOOL enable) {
  HWND window = GetDlgItem(dialog, item);
  return window ? EnableWindow(window, enable) : 0;
}

RECT ItemRectInDialog(HWND dialog, HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  POINT topLeft = {rect.left, rect.top};
  POINT bottomRight = {rect.right, rect.bottom};
  ScreenToClient(dialog, &topLeft);
  ScreenToClient(dialog, &bottomRight);
  return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

bool IsComboChange(HWND combo, int32_t code) {
  if (code == CBN_CLOSEUP) return true;
  // Moving through the open list is not yet a choice.
  return code == CBN_SELCHANGE &&
         SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) == 0;
}

// An item's text read as a number, and a number written as its text.
template <typename T>
int32_t ReadItemNumber(HWND dialog, int32_t item, T *value,
                       int32_t (*parse)(const char *, T *)) {
  char text[ItemTextBytes];
  GetItemText(dialog, item, text);
  return parse(text, value);
}

template <typename T>
int32_t WriteItemNumber(HWND dialog, int32_t item, T value,
                        void (*format)(T, char *)) {
  char text[NumberTextBytes];
  format(value, text);
  return SetItemText(dialog, item, text);
}

} // namespace

extern "C" {

int32_t ShowItem(HWND dialog, int32_t item) {
  return ShowItemAs(dialog, item, SW_SHOW);
}

int32_t HideItem(HWND dialog, int32_t item) {
  return ShowItemAs(dialog, item, SW_HIDE);
}

int32_t MakeDialogVisible(HWND window) { return ShowWindow(window, SW_SHOW); }

HWND WindowOfDialog(HWND dialog) { return dialog; }

int32_t EnableItem(HWND dialog, int32_t item) {
  return EnableItemAs(dialog, item, TRUE);
}

int32_t DisableItem(HWND dialog, int32_t item) {
  return EnableItemAs(dialog, item, FALSE);
}

int32_t SetItemEnabled(HWND dialog, int32_t item, int32_t enable) {
  return enable ? EnableItem(dialog, item) : DisableItem(dialog, item);
}

ShortRect *ItemClientRect(HWND dialog, int32_t item, ShortRect *rect) {
  if (rect == nullptr) return nullptr;
  HWND window = GetDlgItem(dialog, item);
  RECT winRect;
  if (window) {
    winRect = ItemRectInDialog(dialog, window);
  } else {
    SetRectEmpty(&winRect);
  }
  return WinRectToShortRect(&winRect, rect);
}

int32_t IsItemChecked(HWND dialog, int32_t item) {
  return SendDlgItemMessageA(dialog, item, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int32_t ReadCheckState(HWND dialog, int32_t item) {
  return IsItemChecked(dialog, item);
}

int32_t WriteCheckState(HWND dialog, int32_t item, int32_t state) {
  SendDlgItemMessageA(dialog, item, BM_SETCHECK, static_cast<WPARAM>(state), 0);
  return state;
}

// An indeterminate box reads as unchecked, so it becomes checked.
int32_t FlipCheckState(HWND dialog, int32_t item) {
  int32_t flipped = ReadCheckState(dialog, item) ? 0 : 1;
  return WriteCheckState(dialog, item, flipped);
}

void SetRadioGroup(HWND dialog, int32_t firstItem, int32_t lastItem,
                   int32_t selectedItem) {
  // 64-bit counter: a group ending at the largest identifier must end.
  for (int64_t item = firstItem; item <= lastItem; ++item) {
    WriteCheckState(dialog, static_cast<int32_t>(item), item == selectedItem);
  }
}

int32_t GetItemText(HWND dialog, int32_t item, char *buffer) {
  if (buffer == nullptr) return 0;
  // Not every failure writes the buffer; the length must still be defined.
  buffer[0] = '\0';
  GetDlgItemTextA(dialog, item, buffer, ItemTextBytes);
  return static_cast<int32_t>(std::strlen(buffer));
}

// The old value goes back, not 0, so nested calls keep the flag raised.
int32_t SetItemText(HWND dialog, int32_t item, const char *text) {
  int32_t saved = ItemTextBeingSet;
  ItemTextBeingSet = 1;
  int32_t result = SetDlgItemTextA(dialog, item, text);
  ItemTextBeingSet = saved;
  return result;
}

int32_t PutItemText(HWND dialog, int32_t item, const char *text) {
  return SetItemText(dialog, item, text);
}

int32_t GetItemInt(HWND dialog, int32_t item, int32_t *value) {
  return ReadItemNumber(dialog, item, value, ParseItemInt);
}

int32_t SetItemInt(HWND dialog, int32_t item, int32_t value) {
  return WriteItemNumber(dialog, item, value, FormatItemInt);
}

int32_t GetItemLong(HWND dialog, int32_t item, int32_t *value) {
  return ReadItemNumber(dialog, item, value, ParseItemLong);
}

int32_t SetItemLong(HWND dialog, int32_t item, int32_t value) {
  return WriteItemNumber(dialog, item, value, FormatItemLong);
}

int32_t GetItemDouble(HWND dialog, int32_t item, double *value) {
  return ReadItemNumber(dialog, item, value, ParseItemDouble);
}

int32_t SetItemDouble(HWND dialog, int32_t item, const double *value) {
  if (value == nullptr) return 0;
  return WriteItemNumber(dialog, item, *value, FormatItemDouble);
}

void SelectItemText(HWND dialog, int32_t item) {
  if (item == 0) return;
  char text[ItemTextBytes];
  int32_t length = GetItemText(dialog, item, text);
  SendDlgItemMessageA(dialog, item, EM_SETSEL, 0, length);
  SetFocus(GetDlgItem(dialog, item));
}

int32_t IsUserItemChange(HWND dialog, int32_t item, int32_t code) {
  HWND window = GetDlgItem(dialog, item);
  if (window == nullptr) return 0;
  switch (ClassKindOfWindow(window)) {
  case ButtonItemClass:
    return code == BN_CLICKED;
  case ComboItemClass:
    return IsComboChange(window, code);
  case EditItemClass:
    return ItemTextBeingSet == 0 && code == EN_CHANGE;
  default:
    return 0;
  }
}

} // extern "C"
