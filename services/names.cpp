// Local name repair, the name services, and names appended for the host.
#include "names.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "detail/address_item.h"
#include "wrappers.h"

namespace {

enum : int32_t {
  kNumberedNameService = 76,
  kConflictService = 150,
  kAppendedNameService = 151,
  kLegalizeService = 152,
  kLookUpService = 159,
  kNameServicesHostVersion = 300,
};

// Bytes of 128 and above are never letters or digits, whatever the locale.
bool IsNameLetter(char c) {
  return static_cast<signed char>(c) >= 0 && std::isalpha(c) != 0;
}
bool IsNameLetterOrDigit(char c) {
  return static_cast<signed char>(c) >= 0 && std::isalnum(c) != 0;
}

// Copies at most `room` characters of `name` to `out` and terminates it;
// true when the name had more. Reads no further than room + 1 bytes.
bool CopyCut(const char *name, char *out, size_t room) {
  size_t length = strnlen(name, room + 1);
  bool cut = length > room;
  if (cut) length = room;
  std::memcpy(out, name, length);
  out[length] = '\0';
  return cut;
}

// Underscores in place of everything after the first character that is not
// a letter or digit; true if there was any such character.
bool ReplaceNonNameChars(char *name) {
  bool replaced = false;
  for (size_t k = 1; name[k] != '\0'; ++k) {
    if (IsNameLetterOrDigit(name[k])) continue;
    name[k] = '_';
    replaced = true;
  }
  return replaced;
}

} // namespace

extern "C" {

int32_t RepairObjectName(char *name, int32_t number) {
  if (name == nullptr) return 0;
  if (name[0] == '\0') {
    std::snprintf(name, ObjectNameBytes, "NoName%ld",
                  static_cast<long>(number));
    return 1;
  }
  // Built apart so that the prefix never pushes the end past the buffer.
  char repaired[ObjectNameBytes];
  bool prefixed = !IsNameLetter(name[0]);
  size_t start = prefixed ? 1 : 0;
  repaired[0] = 'X';
  bool cut = CopyCut(name, repaired + start, MaxObjectNameChars - start);
  bool replaced = ReplaceNonNameChars(repaired);
  std::memcpy(name, repaired, std::strlen(repaired) + 1);
  return prefixed || cut || replaced;
}

int32_t MakeNumberedName(int32_t selector, const char *baseName,
                         char *resultName, int32_t *suffixCounter) {
  return HostCall4(kNumberedNameService, selector, AddressItem(baseName),
                   AddressItem(resultName), AddressItem(suffixCounter));
}

int32_t TestNameConflict(FolderHandle folder, int32_t objectType,
                         const char *name) {
  return HostCall3(kConflictService, folder, objectType, AddressItem(name));
}

int32_t HandAppendedNameToHost(char *appended) {
  if (HostVersion < kNameServicesHostVersion) return 0;
  return HostCall1(kAppendedNameService, AddressItem(appended));
}

int32_t LegalizeNameByHost(int32_t ruleOption, char *name, int32_t maxChars) {
  if (HostVersion < kNameServicesHostVersion) return HostTooOldError;
  return HostCall3(kLegalizeService, ruleOption, AddressItem(name), maxChars);
}

// The host writes the type into our own integer; the caller's gets a copy
// whatever the result.
int32_t LookUpFolderObject(FolderHandle folder, const char *name,
                           int32_t *typeOut, int32_t extra) {
  int32_t hostType = 0;
  int32_t result = HostCall4(kLookUpService, folder, AddressItem(name),
                             AddressItem(&hostType), extra);
  if (typeOut != nullptr) *typeOut = hostType;
  return result;
}

int32_t AppendNameForHost(char *text, const char *name) {
  char *appended = text + std::strlen(text);
  std::strcpy(appended, name);
  return HandAppendedNameToHost(appended);
}

} // extern "C"
