// Popup-menu list texts: splitting them into entries, entry numbers, and
// lists that the host writes into a handle.
#include <cstring>

#include "detail/address_item.h"
#include "detail/dialog_logic.h"
#include "hostlink.h"

namespace {

// Copies the entry at the start of text, cut to fit an item text, into
// entry; returns the entry's full length, up to the separator or the end.
int32_t CopyListEntry(const char *text, int32_t length,
                      char entry[ItemTextBytes]) {
  const void *separator = std::memchr(text, ';', static_cast<size_t>(length));
  int32_t full =
      separator == nullptr
          ? length
          : static_cast<int32_t>(static_cast<const char *>(separator) - text);
  int32_t kept = full < ItemTextBytes - 1 ? full : ItemTextBytes - 1;
  std::memcpy(entry, text, static_cast<size_t>(kept));
  entry[kept] = '\0';
  return full;
}

} // namespace

extern "C" {

int32_t IndexOfEntryNumber(int32_t number) {
  return number == INT32_MIN ? -1 : number - 1; // -1: no selection
}

int32_t EntryNumberOfIndex(int32_t index) { return index < 0 ? 1 : index + 1; }

void ForEachListEntry(const char *text, int32_t length, int32_t position,
                      ListEntryHandler add, void *context) {
  char entry[ItemTextBytes];
  while (length > 0) {
    int32_t full = CopyListEntry(text, length, entry);
    add(entry, position, context);
    if (position < AppendPosition) ++position;
    if (full >= length) break; // the last entry had no separator
    text += full + 1;
    length -= full + 1;
  }
}

int32_t WithHostList(HostListService service, int32_t passThrough1,
                     int32_t passThrough2, ListTextHandler use, void *context) {
  // The host would write its list through a null handle.
  Handle list = NewHandle(0);
  if (list == nullptr) return NullHandleError;
  static const char kSeparator[] = ";";
  int32_t result = service(AddressItem(list), passThrough1,
                           AddressItem(kSeparator), passThrough2);
  // No need to keep the state: the handle is disposed below.
  LockHandleHigh(list);
  use(*list, GetHandleSize(list), context);
  DisposeHandle(list);
  return result;
}

} // extern "C"
