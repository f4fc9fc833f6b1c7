// Basic utilities: ASCII case, character search, handle text, the abort
// poll and NaN bit patterns.
#include <cstring>

#include "detail/address_item.h"
#include "hostlink.h"

uint32_t LastPollTick = 0; // declared extern "C" in hostlink.h

namespace {

enum { FindCharService = 173, FindLastCharService = 174 };
enum { PollInterval = 6, BreakKey = 3, AltKey = 18, KeyDownOrPressed = 0x8001 };

unsigned char FoldCase(unsigned char c) {
  return (c >= 'a' && c <= 'z') ? c - 0x20 : c;
}

char *AskHostForChar(int32_t service, const char *s, int32_t c) {
  return static_cast<char *>(
      ItemAddress(HostCall2(service, AddressItem(s), c)));
}

bool KeyIsDown(int32_t key) {
  return (PollAbortKeyReader(key) & KeyDownOrPressed) != 0;
}

} // namespace

extern "C" {

void UpperCaseString(char *s) {
  size_t n = std::strlen(s);
  for (size_t k = 0; k < n; ++k) {
    s[k] = static_cast<char>(FoldCase(static_cast<unsigned char>(s[k])));
  }
}

int32_t CompareNoCase(const char *a, const char *b) {
  for (;; ++a, ++b) {
    unsigned char x = FoldCase(static_cast<unsigned char>(*a));
    unsigned char y = FoldCase(static_cast<unsigned char>(*b));
    if (x != y) return x < y ? -1 : 1;
    if (x == 0) return 0;
  }
}

char *FindChar(const char *s, int32_t c) {
  if (HostVersion >= 313) return AskHostForChar(FindCharService, s, c);
  return const_cast<char *>(std::strchr(s, c));
}

char *FindLastChar(const char *s, int32_t c) {
  if (HostVersion >= 313) return AskHostForChar(FindLastCharService, s, c);
  return const_cast<char *>(std::strrchr(s, c));
}

void ZeroBytes(void *p, int32_t count) {
  if (count > 0) std::memset(p, 0, static_cast<size_t>(count));
}

int32_t LockHandleHigh(Handle h) {
  int32_t state = HGetState(h);
  MoveHHi(h);
  HLock(h);
  return state;
}

int32_t HandleToText(Handle h, char *dest, int32_t max) {
  dest[0] = 0;
  if (h == nullptr) return NullHandleError;
  int32_t n = GetHandleSize(h);
  int32_t code = 0;
  if (n > max) {
    n = max;
    code = TextTruncatedError;
  }
  if (n < 0) n = 0; // a negative max copies nothing
  std::memcpy(dest, *h, static_cast<size_t>(n));
  dest[n] = 0;
  return code;
}

int32_t TextToHandle(const char *s, Handle h) {
  if (h == nullptr) return NullHandleError;
  int32_t n = static_cast<int32_t>(std::strlen(s));
  SetHandleSize(h, n);
  if (MemError() != 0) return ResizeFailedError;
  std::memcpy(*h, s, static_cast<size_t>(n));
  return 0;
}

int32_t PollAbort(uint32_t deadline) {
  uint32_t t = TickCount();
  if (t < LastPollTick + PollInterval) return 0;
  LastPollTick = t;
  if (deadline != 0 &&
      static_cast<int32_t>(t) > static_cast<int32_t>(deadline)) {
    return 1;
  }
  if (KeyIsDown(BreakKey) && !KeyIsDown(AltKey)) return -1;
  return 0;
}

int32_t IsNaNSingle(const float *p) {
  uint32_t bits;
  std::memcpy(&bits, p, 4);
  return (bits & 0x7FFFFFFFu) > 0x7F800000u;
}

int32_t IsNaNDouble(const double *p) {
  uint32_t high;
  std::memcpy(&high, reinterpret_cast<const char *>(p) + 4, 4);
  return (high & 0x7FFFFFFFu) > 0x7FF00000u;
}

void SetNaNSingle(float *p) {
  const uint32_t bits = 0xFFFFFFFFu;
  std::memcpy(p, &bits, 4);
}

void SetNaNDouble(double *p) {
  const uint64_t bits = 0x7FFFFFFFFFFFFFFFull;
  std::memcpy(p, &bits, 8);
}

} // extern "C"
