// Command-text parsing over the host's reading services, doing on older
// hosts what a newer service does in one request.
#include "parsing.h"

#include <cstring>

#include "detail/address_item.h"
#include "wrappers.h"

namespace {

enum : int32_t {
  kPeekService = 10,
  kSkipService = 11,
  kTextService = 12,
  kNumberService = 13,
  kNameService = 14,
  kKnownNameService = 59,
  kExtendedNameService = 124,
  kCommandEndService = 182,
  kExtendedNameHostVersion = 300,
  kCommandEndHostVersion = 400,
};

// A name read for a keyword; roomier than a name so that a host that writes
// more cannot overrun it, and checked before it is used.
constexpr size_t kKeywordBufferBytes = 256;

using NameCheck = int32_t (*)(const char *name);

// Reads a name and asks `check` whether the host knows it.
int32_t ReadCheckedName(char *buffer, NameCheck check, int32_t failure) {
  if (ReadCommandName(buffer) != 0) return failure;
  return check(buffer) != 0 ? 0 : failure;
}

bool IsZeroOrNotANumber(double value) { return !(value < 0.0 || value > 0.0); }

} // namespace

extern "C" {

int32_t PeekCommandChar(void) { return HostCall0(kPeekService); }
int32_t SkipCommandChar(void) { return HostCall0(kSkipService); }

int32_t ReadCommandText(char *buffer) {
  return HostCall1(kTextService, AddressItem(buffer));
}

int32_t ReadCommandNumber(double *valueOut) {
  return HostCall1(kNumberService, AddressItem(valueOut));
}

int32_t ReadCommandName(char *buffer) {
  return HostCall1(kNameService, AddressItem(buffer));
}

int32_t IsKnownObjectName(const char *name) {
  return HostCall1(kKnownNameService, AddressItem(name));
}

int32_t ReadCommandNameExtended(int32_t *intOut, char *buffer, int32_t value) {
  if (HostVersion >= kExtendedNameHostVersion)
    return HostCall3(kExtendedNameService, AddressItem(intOut),
                     AddressItem(buffer), value);
  if (intOut != nullptr) *intOut = 0;
  int32_t result = ReadCommandName(buffer);
  return result == NameExpectedError ? OldHostNameExpectedError : result;
}

int32_t LookUpKeyword(const char *const *table, char *word) {
  UpperCaseString(word);
  for (int32_t i = 0; table[i][0] != '\0'; ++i) {
    if (std::strcmp(table[i], word) == 0) return i;
  }
  return -1;
}

int32_t ReadKeyword(const char *const *table, int32_t *indexOut) {
  char word[kKeywordBufferBytes] = "";
  int32_t result = ReadCommandName(word);
  if (result != 0)
    return result == NameExpectedError ? result : KeywordExpectedError;
  word[kKeywordBufferBytes - 1] = '\0';
  int32_t index = LookUpKeyword(table, word);
  if (index < 0) return KeywordExpectedError;
  *indexOut = index;
  return 0;
}

int32_t ReadNameWithHandle(char *buffer) {
  return ReadCheckedName(buffer, HandleFromName, NameNotFoundError);
}

int32_t ReadKnownName(char *buffer) {
  return ReadCheckedName(buffer, IsKnownObjectName, UnknownNameError);
}

int32_t ReadNameAndFetchNumber(char *buffer) {
  if (ReadCommandName(buffer) != 0) return NoNameReadResult;
  double real = 0.0, imaginary = 0.0;
  return FetchNumberByName(buffer, &real, &imaginary);
}

int32_t ReadFlagSetting(int32_t mask, int32_t *flags) {
  *flags |= mask;
  if (PeekCommandChar() != '=') return 0;
  SkipCommandChar();
  double value = 0.0;
  int32_t result = ReadCommandNumber(&value);
  if (result != 0) return result;
  if (IsZeroOrNotANumber(value)) *flags &= ~mask;
  return 0;
}

int32_t IsCommandEnd(void) {
  if (HostVersion >= kCommandEndHostVersion)
    return HostCall0(kCommandEndService);
  int32_t next = PeekCommandChar();
  return next == 0 || next == '\r' || next == ';' || next == '|';
}

// A host that reports more characters than it wrote only gets the last
// character it did write: nothing past the text is read.
int32_t ReadCommandTextLastChar(char *buffer) {
  int32_t length = ReadCommandText(buffer);
  if (length <= 0) return length;
  size_t written = strnlen(buffer, static_cast<size_t>(length));
  if (written == 0) return 0;
  return static_cast<signed char>(buffer[written - 1]);
}

} // extern "C"
