// The host simulator's internal interface: its memory manager, the numbered
// services, the environment it reports, and the extension loader. Tests link
// these same pieces to drive the library and the module.
#ifndef TAVREL_HOSTSIM_H
#define TAVREL_HOSTSIM_H

#include <cstdint>
#include <string>
#include <vector>

#include "function_table.h"
#include "host_exports.h"

namespace hostsim {

// ---- Memory ---------------------------------------------------------------
// Host error codes reported by MemError.
enum MemoryError : int32_t {
  kMemFull = -108,
  kNilHandle = -109,
  kMemLocked = -117,
};
enum : int32_t { kLockedState = 0x80 };

int32_t LiveHandleCount();
int32_t LivePtrCount();
// Memory requests (NewHandle, SetHandleSize, NewPtr) made so far.
int32_t MemoryRequestCount();
bool IsLiveHandle(Handle h);
// Gives the block a new address (unless locked), as any host call may.
void MoveBlock(Handle h);
// Makes `count` memory requests fail, starting with the n-th from now
// (1 = the next); n = 0 disarms.
void FailMemoryRequests(int32_t n, int32_t count = 1);
// While one lives, memory requests are the host's own work, not made for an
// extension: injected failures neither hit them nor count them.
class HostOwnRequests {
public:
  HostOwnRequests();
  ~HostOwnRequests();
  HostOwnRequests(const HostOwnRequests &) = delete;
  HostOwnRequests &operator=(const HostOwnRequests &) = delete;
};

// ---- Services -------------------------------------------------------------
enum : int32_t { kUnknownServiceError = 1001 };

struct ServiceCall {
  int32_t code;
  std::vector<int32_t> items;
};
using Service = int32_t (*)(const ServiceCall &call);
// The k-th item of a request, or 0 when the request carries fewer.
inline int32_t ItemOr0(const ServiceCall &call, size_t k) {
  return k < call.items.size() ? call.items[k] : 0;
}

struct ServiceRegistration {
  ServiceRegistration(int32_t code, Service service);
};
#define HOSTSIM_SERVICE(code, service)                                         \
  static const ::hostsim::ServiceRegistration service##_registration(code,     \
                                                                     service)

// The record handed to an extension, with the callback installed.
Handle NewHostRecord();
void HostCallback(Handle recordHandle);
// Every callback first moves the record when this is on.
void SetMoveRecordOnCallback(bool on);
void SetTrace(bool on);
bool Tracing();
// What the last callback asked for, as the host saw it.
const ServiceCall &LastServiceCall();
int32_t ServiceCallCount();
// Makes the n-th service request from now (1 = the next) answer `error`
// without being performed; n = 0 disarms.
void FailServiceRequest(int32_t n, int32_t error);
// Codes that reached the host without a service, in order.
const std::vector<int32_t> &UnknownServiceCodes();

// ---- Environment ----------------------------------------------------------
using TickSource = uint32_t (*)();
void SetTickSource(TickSource source); // nullptr restores the real clock
void SetHostModule(void *module);      // what GetIgorModule reports
void ResetHostModule();                // back to the host's own executable
void SetExtensionModule(void *module); // what GetXOPModule reports
struct WinMessageCall {
  void *module;
  uint32_t values[5];
};
const WinMessageCall &LastWinMessage();
const std::string &ScrapText();
// The index-th (from 1) string of a STR# list of `size` bytes; false if
// absent.
bool IndexedString(const char *list, size_t size, int32_t index,
                   std::string &text);
// The platform's side of the environment.
uint32_t RealTicks();
void *OwnExecutableModule();
// The index-th (from 1) string of STR# `list` in `module`; false if absent.
bool ReadIndexedString(void *module, int32_t list, int32_t index,
                       std::string &text);

// Copies `source` to `dest` with a version resource whose file version is
// v[0].v[1].v[2].v[3]; lets a host report any version without a rebuild.
bool WriteVersionedCopy(const std::string &source, const std::string &dest,
                        const uint16_t v[4]);

// ---- Extensions -----------------------------------------------------------
struct Extension {
  void *module = nullptr;
  Handle record = nullptr;
  int32_t startResult = 0;
  std::vector<ExternalFunction> functions;
};

// Loads the module, reads its function table and calls main. Returns false
// with a reason when the file cannot be loaded or has no usable entry.
bool LoadExtension(const std::string &path, Extension &ext, std::string &error);
int32_t SendMessageToExtension(Extension &ext, int32_t code,
                               const std::vector<int32_t> &items);
// Calls external function `index` with `args` and returns the function's
// own return code (-1 when it has no address). The result slot is copied
// into `result` byte for byte: a value returned through the x87 stack would
// lose a signalling NaN's bits.
int32_t CallExternalFunction(Extension &ext, size_t index,
                             const std::vector<double> &args, double &result);
void UnloadExtension(Extension &ext);

// ---- Command text ---------------------------------------------------------
// Evaluates one line such as "WritePort(0x378, 255)". Returns false with a
// message for text it cannot evaluate.
bool EvaluateCommand(Extension &ext, const std::string &line, double &value,
                     std::string &error);

// What one line of a script came to: done, text that cannot be run, or an
// external function that returned an error.
enum class LineStatus { kDone, kBadText, kFunctionFailed };
// Runs one line: "wave NAME [TYPE] = V, ..." or "variable NAME = V" makes an
// object, a wave's name alone shows it, anything else is an expression.
// `report` gets what to print: the value or wave, or the error.
LineStatus RunCommandLine(Extension &ext, const std::string &line,
                          std::string &report);

} // namespace hostsim

#endif
