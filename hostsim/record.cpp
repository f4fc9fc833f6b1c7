// The record the host shares with an extension, and the callback that
// dispatches numbered services from a table the service files fill in.
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

#include "hostlink.h"
#include "hostsim.h"

namespace hostsim {
namespace {

std::map<int32_t, Service> &ServiceTable() {
  static std::map<int32_t, Service> table;
  return table;
}

bool moveRecordOnCallback = false;
bool tracing = false;
ServiceCall lastCall;
int32_t callCount = 0;
std::vector<int32_t> unknownCodes;
int32_t serviceFailCountdown = 0;
int32_t injectedServiceError = 0;

bool injectedNow = false; // the last request's answer was injected

// True when this request is the one chosen to fail.
bool InjectedServiceFailure() {
  injectedNow = serviceFailCountdown > 0 && --serviceFailCountdown == 0;
  return injectedNow;
}

template <typename T> T RecordField(Handle record, size_t offset) {
  T value;
  std::memcpy(&value, *record + offset, sizeof value);
  return value;
}

// Reads the request; items the record claims but does not hold are dropped.
ServiceCall ReadRequest(Handle record) {
  ServiceCall call;
  call.code = RecordField<int16_t>(record, offsetof(HostRecord, message));
  int32_t count = RecordField<int16_t>(record, offsetof(HostRecord, itemCount));
  int32_t room = (GetHandleSize(record) - HostRecordFixedBytes) / 4;
  for (int32_t k = 0; k < count && k < room; ++k) {
    call.items.push_back(RecordField<int32_t>(
        record, offsetof(HostRecord, items) + 4 * static_cast<size_t>(k)));
  }
  return call;
}

// The ordinal is the one --fail-service counts, so a failure can be aimed
// at the request a trace shows.
void TraceCall(const ServiceCall &call, int32_t result) {
  std::fprintf(stderr, "[host] service %d: callback %d (", callCount,
               call.code);
  for (size_t k = 0; k < call.items.size(); ++k) {
    std::fprintf(stderr, "%s0x%08X", k ? ", " : "",
                 static_cast<unsigned>(call.items[k]));
  }
  std::fprintf(stderr, ") -> %d%s\n", result, injectedNow ? " (injected)" : "");
}

int32_t Dispatch(const ServiceCall &call) {
  if (InjectedServiceFailure()) return injectedServiceError;
  auto found = ServiceTable().find(call.code);
  if (found != ServiceTable().end()) return found->second(call);
  unknownCodes.push_back(call.code);
  std::fprintf(stderr, "[host] no service for callback code %d\n", call.code);
  return kUnknownServiceError;
}

} // namespace

// Two areas answering one code would silently shadow each other.
ServiceRegistration::ServiceRegistration(int32_t code, Service service) {
  if (!ServiceTable().emplace(code, service).second) {
    std::fprintf(stderr, "[host] service %d is registered twice\n", code);
    std::abort();
  }
}

Handle NewHostRecord() {
  Handle record = NewHandle(HostRecordFixedBytes);
  if (record == nullptr) return nullptr;
  std::memset(*record, 0, HostRecordFixedBytes);
  uint32_t callback =
      static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&HostCallback));
  std::memcpy(*record + offsetof(HostRecord, callback), &callback,
              sizeof callback);
  return record;
}

void HostCallback(Handle record) {
  if (!IsLiveHandle(record) || GetHandleSize(record) < HostRecordFixedBytes) {
    std::fprintf(stderr, "[host] callback with a bad record handle\n");
    return;
  }
  if (moveRecordOnCallback) MoveBlock(record);
  lastCall = ReadRequest(record);
  ++callCount;
  int32_t result = Dispatch(lastCall);
  if (tracing) TraceCall(lastCall, result);
  std::memcpy(*record + offsetof(HostRecord, result), &result, sizeof result);
}

void FailServiceRequest(int32_t n, int32_t error) {
  serviceFailCountdown = n;
  injectedServiceError = error;
}

void SetMoveRecordOnCallback(bool on) { moveRecordOnCallback = on; }
void SetTrace(bool on) { tracing = on; }
bool Tracing() { return tracing; }
const ServiceCall &LastServiceCall() { return lastCall; }
int32_t ServiceCallCount() { return callCount; }
const std::vector<int32_t> &UnknownServiceCodes() { return unknownCodes; }

} // namespace hostsim
