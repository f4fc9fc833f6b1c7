// A name that is legal and free in a folder: numbered if asked, legalized by
// the host, tested once for a conflict and renumbered on one.
#include <cstdio>
#include <cstring>

#include "names.h"
#include "wrappers.h"

namespace {

enum : int32_t { kHostNumbering = 1 }; // the numbering service's first item

// Buffers that a host service writes a name into are roomier than a name,
// and what the host leaves there is checked before it is used.
constexpr size_t kHostTextBytes = 256;
constexpr size_t kTypeWordBytes = 64;

struct NameRequest {
  FolderHandle folder;
  const char *proposed;
  char *result;
  int32_t *counter;
  int32_t objectType;
  int32_t ruleOption;
  bool allowSameType;
  bool numbered;
  bool report;
  int32_t *nameDiffers;
  int32_t *reuseExisting;
};

bool LocalNumbering(const NameRequest &r) {
  return r.numbered && r.allowSameType;
}

// Refuses, before anything changes, a name that cannot fit the result.
int32_t CheckProposedName(const NameRequest &r) {
  size_t length = strnlen(r.proposed, MaxObjectNameChars + 1);
  if (LocalNumbering(r)) {
    char digits[16];
    length += std::snprintf(digits, sizeof digits, "%ld",
                            static_cast<long>(*r.counter));
  }
  return length > MaxObjectNameChars ? NameTooLongError : 0;
}

// True when the host left a terminated name that fits a name buffer.
bool FitsName(char *hostText) {
  hostText[kHostTextBytes - 1] = '\0';
  return std::strlen(hostText) <= MaxObjectNameChars;
}

void NumberCandidate(const NameRequest &r, char *candidate) {
  if (LocalNumbering(r)) {
    std::snprintf(candidate, kHostTextBytes, "%s%ld", r.proposed,
                  static_cast<long>(*r.counter));
    // No uniqueness check on this path. The counter is a 32-bit register:
    // past its largest value it wraps rather than overflows.
    *r.counter = static_cast<int32_t>(static_cast<uint32_t>(*r.counter) + 1u);
    return;
  }
  // Its result is not examined: a failure shows in the steps that follow.
  MakeNumberedName(kHostNumbering, r.proposed, candidate, r.counter);
}

int32_t LegalizeCandidate(const NameRequest &r, char *candidate) {
  bool keepsRule =
      r.objectType == WaveObjectType || r.objectType == FolderObjectType;
  return LegalizeNameByHost(keepsRule ? r.ruleOption : 0, candidate,
                            MaxObjectNameChars);
}

// True on a conflict; `reuse` when an object of the same type may serve.
bool HasConflict(const NameRequest &r, const char *candidate, bool &reuse) {
  int32_t typeFound = 0;
  if (LookUpFolderObject(r.folder, candidate, &typeFound, 0) == 0) {
    reuse = r.allowSameType && typeFound == r.objectType;
    return !reuse;
  }
  return TestNameConflict(r.folder, r.objectType, candidate) != 0;
}

int32_t RenumberCandidate(const NameRequest &r, char *candidate) {
  char scratch[kHostTextBytes];
  std::memcpy(scratch, candidate, kHostTextBytes);
  return MakeNumberedName(kHostNumbering, scratch, candidate, r.counter);
}

void FormatTypeWord(int32_t objectType, char *word) {
  switch (objectType) {
  case WaveObjectType:
    std::snprintf(word, kTypeWordBytes, "Wave");
    return;
  case VariableObjectType:
    std::snprintf(word, kTypeWordBytes, "Variable");
    return;
  case StringObjectType:
    std::snprintf(word, kTypeWordBytes, "String");
    return;
  case FolderObjectType:
    std::snprintf(word, kTypeWordBytes, "Data folder");
    return;
  }
  std::snprintf(word, kTypeWordBytes,
                "BUG: CreateValidDataObjectName, objectType=%d",
                static_cast<int>(objectType));
}

void ReportRename(const NameRequest &r, const char *candidate) {
  char word[kTypeWordBytes];
  FormatTypeWord(r.objectType, word);
  char message[kHostTextBytes];
  std::snprintf(message, sizeof message,
                "%s '%s' changed to '%s' because of a conflict.\r", word,
                r.proposed, candidate);
  ReportToHost(message);
}

// Numbering, legalizing, the one conflict test and the renaming; `renamed`
// tells whether a conflict forced a new name.
int32_t ChooseCandidate(const NameRequest &r, char *candidate, bool &reuse,
                        bool &renamed) {
  std::memcpy(candidate, r.proposed, std::strlen(r.proposed) + 1);
  if (r.numbered) NumberCandidate(r, candidate);
  if (!FitsName(candidate)) return NameTooLongError;
  int32_t error = LegalizeCandidate(r, candidate);
  if (error != 0) return error;
  renamed = HasConflict(r, candidate, reuse);
  return renamed ? RenumberCandidate(r, candidate) : 0;
}

int32_t NameInCurrentFolder(const NameRequest &r) {
  char candidate[kHostTextBytes];
  bool reuse = false, renamed = false;
  int32_t error = ChooseCandidate(r, candidate, reuse, renamed);
  if (error == 0 && !FitsName(candidate)) error = NameTooLongError;
  if (error != 0) return error;
  *r.nameDiffers = std::strcmp(candidate, r.proposed) != 0;
  if (renamed && r.report) ReportRename(r, candidate);
  std::memcpy(r.result, candidate, std::strlen(candidate) + 1);
  *r.reuseExisting = reuse;
  return 0;
}

// Works in the request's folder and makes the previous one current again.
int32_t NameInFolder(const NameRequest &r) {
  FolderHandle saved = 0;
  if (r.folder != 0) {
    if (FetchCurrentFolder(&saved) != 0) saved = 0;
    int32_t error = SwitchCurrentFolder(r.folder);
    if (error != 0) return error;
  }
  int32_t error = NameInCurrentFolder(r);
  if (saved != 0) SwitchCurrentFolder(saved);
  return error;
}

} // namespace

extern "C" int32_t CreateValidDataObjectName(
    FolderHandle folder, const char *proposedName, char *resultName,
    int32_t *suffixCounter, int32_t objectType, int32_t ruleOption,
    int32_t allowSameType, int32_t numbered, int32_t report,
    int32_t *nameDiffers, int32_t *reuseExisting) {
  if (proposedName == nullptr || resultName == nullptr ||
      suffixCounter == nullptr || nameDiffers == nullptr ||
      reuseExisting == nullptr)
    return NullHandleError;
  *nameDiffers = 0;
  *reuseExisting = 0;
  const NameRequest request = {
      folder,      proposedName, resultName,         suffixCounter,
      objectType,  ruleOption,   allowSameType != 0, numbered != 0,
      report != 0, nameDiffers,  reuseExisting};
  int32_t error = CheckProposedName(request);
  return error != 0 ? error : NameInFolder(request);
}
