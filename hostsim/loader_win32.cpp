// Loads an extension the way the host does: its function table comes from the
// module's resources, main is called with the record, and function addresses
// are asked for with message 15.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "hostlink.h"
#include "hostsim.h"

namespace hostsim {
namespace {

constexpr int32_t kResourceId = 1100;

using ExtensionMain = void (*)(Handle recordHandle);

bool ReadFunctionTable(HMODULE module, std::vector<ExternalFunction> &table) {
  HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(kResourceId), "XOPF");
  HGLOBAL loaded = info ? LoadResource(module, info) : nullptr;
  const void *bytes = LockResource(loaded);
  if (bytes == nullptr) return false;
  return ParseFunctionTable(static_cast<const unsigned char *>(bytes),
                            SizeofResource(module, info), table);
}

void WriteMessage(Handle record, int32_t code,
                  const std::vector<int32_t> &items) {
  int32_t needed =
      HostRecordFixedBytes + 4 * static_cast<int32_t>(items.size());
  HostOwnRequests own;
  if (GetHandleSize(record) < needed) SetHandleSize(record, needed);
  HostRecord *r = reinterpret_cast<HostRecord *>(*record);
  r->message = static_cast<int16_t>(code);
  r->itemCount = static_cast<int16_t>(items.size());
  r->result = 0;
  if (!items.empty())
    std::memcpy(*record + HostRecordFixedBytes, items.data(), 4 * items.size());
}

void TraceMessage(int32_t code, const std::vector<int32_t> &items,
                  int32_t result) {
  std::fprintf(stderr, "[host] message %d (", code);
  for (size_t k = 0; k < items.size(); ++k) {
    std::fprintf(stderr, "%s%d", k ? ", " : "", items[k]);
  }
  std::fprintf(stderr, ") -> %d\n", result);
}

// The stand-in says what it is in its version resource.
bool IsPortStandIn(const char *path) {
  DWORD ignored = 0, size = GetFileVersionInfoSizeA(path, &ignored);
  if (size == 0) return false;
  std::vector<char> block(size);
  char *name = nullptr;
  UINT length = 0;
  return GetFileVersionInfoA(path, 0, size, block.data()) &&
         VerQueryValueA(block.data(), "\\StringFileInfo\\040904b0\\ProductName",
                        reinterpret_cast<void **>(&name), &length) &&
         length > 0 && std::strcmp(name, "Tavrel port simulator") == 0;
}

// Which port library the extension bound, if any: a lab user must be able
// to see that a run touched the stand-in and not the hardware.
void TracePortLibrary() {
  HMODULE library = GetModuleHandleA("inpout32.dll");
  char path[MAX_PATH];
  if (library == nullptr || GetModuleFileNameA(library, path, MAX_PATH) == 0)
    return;
  std::fprintf(stderr, "[host] port library %s (%s)\n", path,
               IsPortStandIn(path)
                   ? "the simulator's stand-in: no hardware is touched"
                   : "not the simulator's stand-in");
}

} // namespace

bool LoadExtension(const std::string &path, Extension &ext,
                   std::string &error) {
  HMODULE module = LoadLibraryA(path.c_str());
  if (module == nullptr) {
    error = "cannot load " + path;
    return false;
  }
  auto entry = reinterpret_cast<ExtensionMain>(
      reinterpret_cast<void *>(GetProcAddress(module, "main")));
  ext = Extension();
  ext.module = module;
  if (entry == nullptr || !ReadFunctionTable(module, ext.functions)) {
    error = path + " has no main or no valid function table";
    FreeLibrary(module);
    ext.module = nullptr;
    return false;
  }
  {
    HostOwnRequests own;
    ext.record = NewHostRecord();
  }
  if (ext.record == nullptr) {
    error = "no memory for the host record";
    FreeLibrary(module);
    ext = Extension();
    return false;
  }
  SetExtensionModule(module);
  entry(ext.record);
  ext.startResult = reinterpret_cast<HostRecord *>(*ext.record)->result;
  if (Tracing()) {
    std::fprintf(stderr, "[host] main -> %d\n", ext.startResult);
    TracePortLibrary();
  }
  return true;
}

int32_t SendMessageToExtension(Extension &ext, int32_t code,
                               const std::vector<int32_t> &items) {
  WriteMessage(ext.record, code, items);
  auto entry = reinterpret_cast<MessageEntryProc>(static_cast<uintptr_t>(
      reinterpret_cast<HostRecord *>(*ext.record)->messageEntry));
  if (entry == nullptr) return 0;
  entry();
  int32_t result = reinterpret_cast<HostRecord *>(*ext.record)->result;
  if (Tracing()) TraceMessage(code, items, result);
  return result;
}

int32_t CallExternalFunction(Extension &ext, size_t index,
                             const std::vector<double> &args, double &result) {
  auto proc = reinterpret_cast<ExternalFunctionProc>(
      static_cast<uintptr_t>(SendMessageToExtension(
          ext, MsgFunctionAddress, {static_cast<int32_t>(index)})));
  result = 0.0;
  if (proc == nullptr) return -1;
  // Parameters last-first, then the result slot.
  std::vector<double> block(args.rbegin(), args.rend());
  block.push_back(0.0);
  int32_t status = proc(block.data());
  std::memcpy(&result, &block.back(), sizeof result);
  return status;
}

void UnloadExtension(Extension &ext) {
  if (ext.module == nullptr) return;
  SendMessageToExtension(ext, MsgCleanup, {});
  FreeLibrary(static_cast<HMODULE>(ext.module));
  DisposeHandle(ext.record);
  SetExtensionModule(nullptr);
  ext = Extension();
}

} // namespace hostsim
