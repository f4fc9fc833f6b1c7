// Host memory: relocatable handles whose blocks really move. A handle points
// at a master pointer that never moves; the block it names is reallocated on
// every resize and every MoveHHi (unless locked), and the old block is
// poisoned, so code that keeps an address across a host call breaks.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <unordered_set>

#include "hostsim.h"

namespace hostsim {
namespace {

struct MasterSlot {
  char *block; // first member: a Handle is the address of this field
  int32_t size;
  int32_t state;
};

std::deque<MasterSlot> slots; // a deque keeps element addresses stable
std::vector<MasterSlot *> freeSlots;
std::unordered_set<Handle> liveHandles;
std::unordered_set<void *> livePtrs;
int32_t lastError = 0;
int32_t requestCount = 0;      // NewHandle, SetHandleSize and NewPtr calls
int32_t extensionRequests = 0; // those made for the extension
bool injectedNow = false;      // the last request's failure was injected
int32_t failCountdown = 0;     // requests until the first injected failure
int32_t failRemaining = 0;     // injected failures still to come
int32_t ownRequestDepth = 0;   // HostOwnRequests alive

constexpr unsigned char kFreshFill = 0xCD;
constexpr unsigned char kDeadFill = 0xDD;

MasterSlot *SlotOf(Handle h) { return reinterpret_cast<MasterSlot *>(h); }

// Counts the request and an armed failure down; true when this request must
// fail. The host's own requests are neither counted for the extension nor
// failed.
bool InjectedFailure() {
  ++requestCount;
  injectedNow = false;
  if (ownRequestDepth > 0) return false;
  ++extensionRequests;
  if (failRemaining <= 0) return false;
  if (failCountdown > 1) {
    --failCountdown;
    return false;
  }
  --failRemaining;
  return injectedNow = true;
}

// The trace numbers the extension's requests as --fail-memory counts them,
// so that a failure can be aimed at the one a trace shows.
void TraceRequest(const char *name, int32_t size) {
  if (!Tracing() || ownRequestDepth > 0) return;
  std::fprintf(stderr, "[host] memory %d: %s(%d) -> ", extensionRequests, name,
               size);
  if (lastError == 0) {
    std::fprintf(stderr, "ok\n");
  } else {
    std::fprintf(stderr, "error %d%s\n", lastError,
                 injectedNow ? " (injected)" : "");
  }
}

char *AllocateBlock(int32_t size) {
  char *block = static_cast<char *>(std::malloc(size > 0 ? size : 1));
  if (block != nullptr && size > 0) std::memset(block, kFreshFill, size);
  return block;
}

// Freed blocks wait poisoned in a quarantine before they are reused, so a
// moved block never lands where it just was and a stale address reads poison.
constexpr size_t kQuarantine = 16;
char *quarantine[kQuarantine];
size_t quarantineNext = 0;

void ReleaseBlock(char *block, int32_t size) {
  if (block == nullptr) return;
  std::memset(block, kDeadFill, size > 0 ? size : 1);
  std::free(quarantine[quarantineNext]);
  quarantine[quarantineNext] = block;
  quarantineNext = (quarantineNext + 1) % kQuarantine;
}

// Replaces the block by a new one of `size` bytes at another address,
// keeping the common prefix. False (block untouched) when memory ran out.
bool Reallocate(MasterSlot *slot, int32_t size) {
  char *fresh = AllocateBlock(size);
  if (fresh == nullptr) return false;
  std::memcpy(fresh, slot->block, size < slot->size ? size : slot->size);
  ReleaseBlock(slot->block, slot->size);
  slot->block = fresh;
  slot->size = size;
  return true;
}

bool CheckHandle(Handle h) {
  if (h != nullptr && liveHandles.count(h)) return true;
  lastError = kNilHandle;
  return false;
}

} // namespace

int32_t LiveHandleCount() { return static_cast<int32_t>(liveHandles.size()); }
int32_t LivePtrCount() { return static_cast<int32_t>(livePtrs.size()); }
int32_t MemoryRequestCount() { return requestCount; }
bool IsLiveHandle(Handle h) { return h != nullptr && liveHandles.count(h); }
void FailMemoryRequests(int32_t n, int32_t count) {
  failCountdown = n;
  failRemaining = n > 0 ? count : 0;
}

HostOwnRequests::HostOwnRequests() { ++ownRequestDepth; }
HostOwnRequests::~HostOwnRequests() { --ownRequestDepth; }

void MoveBlock(Handle h) {
  if (!IsLiveHandle(h)) return;
  MasterSlot *slot = SlotOf(h);
  if (!(slot->state & kLockedState)) Reallocate(slot, slot->size);
}

} // namespace hostsim

using namespace hostsim;

extern "C" {

Handle NewHandle(int32_t size) {
  lastError = 0;
  char *block = (InjectedFailure() || size < 0) ? nullptr : AllocateBlock(size);
  if (block == nullptr) {
    lastError = kMemFull;
    TraceRequest("NewHandle", size);
    return nullptr;
  }
  TraceRequest("NewHandle", size);
  MasterSlot *slot;
  if (!freeSlots.empty()) {
    slot = freeSlots.back();
    freeSlots.pop_back();
  } else {
    slots.push_back({});
    slot = &slots.back();
  }
  *slot = {block, size, 0};
  Handle h = &slot->block;
  liveHandles.insert(h);
  return h;
}

void SetHandleSize(Handle h, int32_t size) {
  lastError = 0;
  if (!CheckHandle(h)) return;
  MasterSlot *slot = SlotOf(h);
  if (InjectedFailure() || size < 0) {
    lastError = kMemFull;
  } else if (slot->state & kLockedState) {
    // A locked block may only shrink where it stands.
    if (size <= slot->size) {
      slot->size = size;
    } else {
      lastError = kMemLocked;
    }
  } else if (!Reallocate(slot, size)) {
    lastError = kMemFull;
  }
  TraceRequest("SetHandleSize", size);
}

int32_t MemError(void) { return lastError; }

int32_t GetHandleSize(Handle h) {
  lastError = 0;
  return CheckHandle(h) ? SlotOf(h)->size : 0;
}

void DisposeHandle(Handle h) {
  lastError = 0;
  if (!CheckHandle(h)) return;
  MasterSlot *slot = SlotOf(h);
  ReleaseBlock(slot->block, slot->size);
  *slot = {nullptr, 0, 0};
  liveHandles.erase(h);
  freeSlots.push_back(slot);
}

int32_t HGetState(Handle h) {
  lastError = 0;
  return CheckHandle(h) ? SlotOf(h)->state : 0;
}

void HSetState(Handle h, int32_t state) {
  lastError = 0;
  if (CheckHandle(h)) SlotOf(h)->state = state;
}

void MoveHHi(Handle h) {
  lastError = 0;
  if (CheckHandle(h)) MoveBlock(h);
}

void HLock(Handle h) {
  lastError = 0;
  if (CheckHandle(h)) SlotOf(h)->state |= kLockedState;
}

void *NewPtr(int32_t size) {
  lastError = 0;
  void *p = (InjectedFailure() || size < 0) ? nullptr : AllocateBlock(size);
  lastError = p == nullptr ? kMemFull : 0;
  TraceRequest("NewPtr", size);
  if (p == nullptr) return nullptr;
  livePtrs.insert(p);
  return p;
}

void DisposePtr(void *p) {
  lastError = 0;
  if (p == nullptr || livePtrs.erase(p) == 0) {
    lastError = kNilHandle;
    return;
  }
  std::free(p);
}

} // extern "C"
