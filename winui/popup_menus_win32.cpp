// Popup menus: combo box items filled from list texts or host lists, and
// selected by entry number or text.
#include <cstring>
#include <vector>

#include "detail/item_window_win32.h"
#include "winui.h"

namespace {

void AddEntryToMenu(const char *entry, int32_t position, void *context) {
  HWND combo = static_cast<HWND>(context);
  LPARAM text = reinterpret_cast<LPARAM>(entry);
  if (position >= AppendPosition) {
    SendMessageA(combo, CB_ADDSTRING, 0, text);
  } else {
    SendMessageA(combo, CB_INSERTSTRING, static_cast<WPARAM>(position), text);
  }
}

struct MenuInsertion {
  HWND dialog;
  int32_t item;
  int32_t position;
};

void InsertListText(const char *text, int32_t length, void *context) {
  const MenuInsertion *menu = static_cast<const MenuInsertion *>(context);
  InsertPopupItems(menu->dialog, menu->item, text, length, menu->position);
}

int32_t InsertHostList(HostListService service, HWND dialog, int32_t item,
                       int32_t passThrough1, int32_t passThrough2,
                       int32_t position) {
  MenuInsertion menu = {dialog, item, position};
  return WithHostList(service, passThrough1, passThrough2, InsertListText,
                      &menu);
}

// The entry's text cut to an item text; empty for no entry. Entries put in
// by other means may be longer than the caller's 256 bytes.
void CopyEntryText(HWND combo, int32_t index, char *text) {
  text[0] = '\0';
  if (index < 0) return;
  LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, index, 0);
  if (length < 0) return;
  std::vector<char> whole(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(combo, CB_GETLBTEXT, index,
               reinterpret_cast<LPARAM>(whole.data()));
  lstrcpynA(text, whole.data(), ItemTextBytes);
}

} // namespace

extern "C" {

int32_t IsPopupMenu(HWND dialog, int32_t item) {
  HWND combo = GetDlgItem(dialog, item);
  if (combo == nullptr || ClassKindOfWindow(combo) != ComboItemClass) return 0;
  return (GetWindowLongA(combo, GWL_STYLE) & 3) != 0;
}

void InsertPopupItems(HWND dialog, int32_t item, const char *text,
                      int32_t length, int32_t position) {
  HWND combo = GetDlgItem(dialog, item);
  if (combo == nullptr || text == nullptr) return;
  ForEachListEntry(text, length, position, AddEntryToMenu, combo);
}

void AppendPopupItems(HWND dialog, int32_t item, const char *text) {
  if (text == nullptr) return;
  InsertPopupItems(dialog, item, text, static_cast<int32_t>(std::strlen(text)),
                   AppendPosition);
}

int32_t SetUpPopupMenu(HWND dialog, int32_t item, int32_t reserved,
                       const char *text, int32_t selectedNumber) {
  (void)reserved;
  AppendPopupItems(dialog, item, text);
  SelectPopupItem(dialog, item, selectedNumber);
  return 0;
}

int32_t SelectPopupItem(HWND dialog, int32_t item, int32_t number) {
  WPARAM index = static_cast<WPARAM>(IndexOfEntryNumber(number));
  return SendDlgItemMessageA(dialog, item, CB_SETCURSEL, index, 0);
}

int32_t SelectPopupItemByText(HWND dialog, int32_t item, const char *text) {
  HWND combo = GetDlgItem(dialog, item);
  if (combo == nullptr || text == nullptr) return 0;
  LRESULT index =
      SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(text));
  if (index < 0) return 0;
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  return EntryNumberOfIndex(static_cast<int32_t>(index));
}

void GetPopupSelection(HWND dialog, int32_t item, int32_t *number, char *text) {
  HWND combo = GetDlgItem(dialog, item);
  if (combo == nullptr) return;
  int32_t index = static_cast<int32_t>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
  if (number) *number = EntryNumberOfIndex(index);
  if (text) CopyEntryText(combo, index, text);
}

// A negative keep empties the menu, like keeping none.
void TrimPopupMenu(HWND dialog, int32_t item, int32_t keep) {
  HWND combo = GetDlgItem(dialog, item);
  if (combo == nullptr) return;
  int32_t count = static_cast<int32_t>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
  if (count == CB_ERR) return;
  int32_t first = keep < 0 ? 0 : keep;
  for (int32_t index = count - 1; index >= first; --index) {
    SendMessageA(combo, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
  }
}

int32_t InsertHostList38(HWND dialog, int32_t item, int32_t passThrough1,
                         int32_t passThrough2, int32_t position) {
  return InsertHostList(HostService56, dialog, item, passThrough1, passThrough2,
                        position);
}

int32_t InsertHostList39(HWND dialog, int32_t item, int32_t passThrough1,
                         int32_t passThrough2, int32_t position) {
  return InsertHostList(HostService57, dialog, item, passThrough1, passThrough2,
                        position);
}

int32_t InsertHostList3A(HWND dialog, int32_t item, int32_t passThrough1,
                         int32_t passThrough2, int32_t position) {
  return InsertHostList(HostService58, dialog, item, passThrough1, passThrough2,
                        position);
}

} // extern "C"
