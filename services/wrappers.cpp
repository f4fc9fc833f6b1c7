// The service wrappers: the plain ones generated from the table in
// wrappers.h, then those that clear an out-argument, pass a float by
// address or refuse on an old host.
#include "wrappers.h"

#include "detail/address_item.h"

#define ARGS_0
#define ARGS_1 , i0
#define ARGS_2 ARGS_1, i1
#define ARGS_3 ARGS_2, i2
#define ARGS_4 ARGS_3, i3
#define ARGS_5 ARGS_4, i4
#define ARGS_6 ARGS_5, i5
#define DEFINE_PLAIN_SERVICE(code, items)                                      \
  int32_t HostService##code(TAVREL_ITEMS_##items) {                            \
    return HostCall##items(code ARGS_##items);                                 \
  }

namespace {

enum : int32_t {
  kReport = 8,
  kFetchNumber = 3,
  kStoreNumber = 5,
  kStoreText = 6,
  kHandleFromName = 7,
  kCreateVariable = 45,
  kTextWithMode = 49,
};

bool HostBelow(int32_t version) { return HostVersion < version; }

// Out-arguments get a defined value before the request, so the caller
// finds it set when the host writes nothing; a null one is left alone.
void ClearText(char *text) {
  if (text != nullptr) text[0] = 0;
}

void Preset(int32_t *out, int32_t value) {
  if (out != nullptr) *out = value;
}

} // namespace

extern "C" {

TAVREL_PLAIN_SERVICES(DEFINE_PLAIN_SERVICE)

int32_t ReportToHost(const char *text) {
  return HostCall1(kReport, AddressItem(text));
}

int32_t SendTextWithMode(const char *text, int32_t mode) {
  return HostCall2(kTextWithMode, AddressItem(text), mode);
}

int32_t FetchNumberByName(const char *name, double *real, double *imaginary) {
  return HostCall3(kFetchNumber, AddressItem(name), AddressItem(real),
                   AddressItem(imaginary));
}

int32_t StoreNumberByName(const char *name, const double *real,
                          const double *imaginary) {
  return HostCall3(kStoreNumber, AddressItem(name), AddressItem(real),
                   AddressItem(imaginary));
}

int32_t StoreTextByName(const char *name, const char *value) {
  return HostCall2(kStoreText, AddressItem(name), AddressItem(value));
}

int32_t HandleFromName(const char *name) {
  return HostCall1(kHandleFromName, AddressItem(name));
}

int32_t CreateNamedVariable(const char *name, int32_t typeCode) {
  if (HostBelow(200) && (typeCode & NamedVariableFlagBit))
    return HostTooOldError;
  return HostCall2(kCreateVariable, AddressItem(name), typeCode);
}

int32_t HostService180(int32_t value, char *text) {
  int32_t result = HostCall2(180, value, AddressItem(text));
  if (result != 0) ClearText(text);
  return result;
}

int32_t HostService18(char *text) {
  ClearText(text);
  return HostCall1(18, AddressItem(text));
}

int32_t HostService164(int32_t value, char *text) {
  ClearText(text);
  return HostCall2(164, value, AddressItem(text));
}

int32_t HostService165(int32_t value, int32_t *out) {
  Preset(out, 0);
  return HostCall2(165, value, AddressItem(out));
}

int32_t HostService166(int32_t value, char *text, int32_t *out) {
  ClearText(text);
  Preset(out, 0);
  return HostCall3(166, value, AddressItem(text), AddressItem(out));
}

int32_t HostService162(int32_t *out) {
  Preset(out, 0);
  return HostCall1(162, AddressItem(out));
}

int32_t HostService163(int32_t *out) {
  Preset(out, 1);
  return HostCall1(163, AddressItem(out));
}

int32_t HostService188(int32_t value, double x) {
  return HostCall2(188, value, AddressItem(&x));
}

int32_t HostService191(int32_t value, double x, double y) {
  return HostCall3(191, value, AddressItem(&x), AddressItem(&y));
}

int32_t HostService196(int32_t i0) {
  return HostBelow(500) ? 0 : HostCall1(196, i0);
}

int32_t HostService197(int32_t i0, int32_t i1) {
  return HostBelow(500) ? 0 : HostCall2(197, i0, i1);
}

int32_t HostService71Or9(void) {
  if (HostBelow(200)) return HostService9(AddressItem(""));
  HostCall0(71);
  return 0;
}

int32_t HostService157Or7(int32_t value, const char *name) {
  if (HostBelow(300)) return HandleFromName(name);
  return HostCall2(157, value, AddressItem(name));
}

int32_t HostService1ByName(const char *name) {
  return HostService1(HandleFromName(name));
}

} // extern "C"
