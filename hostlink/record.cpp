// The host record and the call primitives. Every field access dereferences
// HostRecordHandle afresh: the host may move the record during any call.
#include <cstddef>
#include <cstring>

#include "hostlink.h"

Handle HostRecordHandle = nullptr; // declared extern "C" in hostlink.h

namespace {

enum : int32_t {
  kHostLong2 = offsetof(HostRecord, hostLong2),
  kResult = offsetof(HostRecord, result),
  kHostLong10 = offsetof(HostRecord, hostLong10),
  kCallback = offsetof(HostRecord, callback),
  kMessageEntry = offsetof(HostRecord, messageEntry),
  kHostLong26 = offsetof(HostRecord, hostLong26),
  kMessage = offsetof(HostRecord, message),
  kItemCount = offsetof(HostRecord, itemCount),
  kItems = offsetof(HostRecord, items),
};
static_assert(kItems == int32_t{HostRecordFixedBytes}, "record layout");
static_assert(kMessage == 30 && kCallback == 14 && kHostLong26 == 26,
              "record layout");

// Fields sit at 2-byte boundaries, so they are copied rather than cast.
template <typename T> T ReadField(int32_t offset) {
  T value;
  std::memcpy(&value, *HostRecordHandle + offset, sizeof value);
  return value;
}

template <typename T> void WriteField(int32_t offset, T value) {
  std::memcpy(*HostRecordHandle + offset, &value, sizeof value);
}

int32_t ItemOffset(int32_t index) { return kItems + 4 * index; }

// True when the record currently has room for item `index`.
bool ItemFits(int32_t index) {
  return GetHandleSize(HostRecordHandle) >= ItemOffset(index) + 4;
}

bool TryRecordSize(int32_t bytes) {
  SetHandleSize(HostRecordHandle, bytes);
  return MemError() == 0;
}

// A record whose resize failed cannot hold the items: the request is not
// sent at all, since the host would read its items past the record's end.
int32_t CallWithItems(int32_t code, int32_t count, const int32_t *items) {
  SetRecHandle(count);
  if (count > 0 && !ItemFits(count - 1)) return MemoryFullError;
  for (int32_t k = 0; k < count; ++k) {
    WriteField<int32_t>(ItemOffset(k), items[k]);
  }
  return SendHostCall(code);
}

} // namespace

extern "C" {

void SetHostLong2(int32_t value) { WriteField(kHostLong2, value); }
void SetMessageEntry(MessageEntryProc entry) {
  WriteField<uint32_t>(
      kMessageEntry, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(entry)));
}
void SetHostResult(int32_t value) { WriteField(kResult, value); }
int32_t GetHostResult(void) { return ReadField<int32_t>(kResult); }
void SetHostMessage(int32_t code) {
  WriteField<int16_t>(kMessage, static_cast<int16_t>(code));
}
int32_t GetHostMessage(void) { return ReadField<int16_t>(kMessage); }
void SetHostLong26(int32_t value) { WriteField(kHostLong26, value); }
int32_t GetHostLong26(void) { return ReadField<int32_t>(kHostLong26); }
int32_t GetHostLong10(void) { return ReadField<int32_t>(kHostLong10); }

int32_t GetHostItem(int32_t index) {
  int32_t count = ReadField<int16_t>(kItemCount);
  if (index < 0 || index >= count) return 0;
  // A host that claims more items than its record holds gets 0, not a read
  // past the block.
  if (!ItemFits(index)) return 0;
  return ReadField<int32_t>(ItemOffset(index));
}

void SetRecHandle(int32_t itemCount) {
  int32_t wanted = ItemOffset(itemCount < 0 ? 0 : itemCount);
  int32_t first = wanted > HostRecordFullBytes ? wanted : HostRecordFullBytes;
  if (!TryRecordSize(first) && !TryRecordSize(wanted)) {
    DebugStop("SetRecHandle error");
  }
  if (GetHandleSize(HostRecordHandle) >= HostRecordFixedBytes) {
    WriteField<int16_t>(kItemCount, static_cast<int16_t>(itemCount));
  }
}

int32_t SendHostCall(int32_t code) {
  SetHostResult(0);
  SetHostMessage(code);
  auto callback = reinterpret_cast<HostCallbackProc>(
      static_cast<uintptr_t>(ReadField<uint32_t>(kCallback)));
  callback(HostRecordHandle);
  return GetHostResult();
}

int32_t HostCall0(int32_t code) { return CallWithItems(code, 0, nullptr); }

int32_t HostCall1(int32_t code, int32_t i0) {
  const int32_t items[] = {i0};
  return CallWithItems(code, 1, items);
}

int32_t HostCall2(int32_t code, int32_t i0, int32_t i1) {
  const int32_t items[] = {i0, i1};
  return CallWithItems(code, 2, items);
}

int32_t HostCall3(int32_t code, int32_t i0, int32_t i1, int32_t i2) {
  const int32_t items[] = {i0, i1, i2};
  return CallWithItems(code, 3, items);
}

int32_t HostCall4(int32_t code, int32_t i0, int32_t i1, int32_t i2,
                  int32_t i3) {
  const int32_t items[] = {i0, i1, i2, i3};
  return CallWithItems(code, 4, items);
}

int32_t HostCall5(int32_t code, int32_t i0, int32_t i1, int32_t i2, int32_t i3,
                  int32_t i4) {
  const int32_t items[] = {i0, i1, i2, i3, i4};
  return CallWithItems(code, 5, items);
}

int32_t HostCall6(int32_t code, int32_t i0, int32_t i1, int32_t i2, int32_t i3,
                  int32_t i4, int32_t i5) {
  const int32_t items[] = {i0, i1, i2, i3, i4, i5};
  return CallWithItems(code, 6, items);
}

} // extern "C"
