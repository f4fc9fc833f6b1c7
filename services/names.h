/* Object names: local repair, names that are legal and free in a folder,
   and names appended for the host. */
#ifndef TAVREL_SERVICES_NAMES_H
#define TAVREL_SERVICES_NAMES_H

#include "folders.h"
#include "hostlink.h"
#include "wrappers.h" /* HostTooOldError */

#ifdef __cplusplus
extern "C" {
#endif

enum {
  MaxObjectNameChars = 31,
  ObjectNameBytes = 32,
  /* A proposed or numbered name longer than MaxObjectNameChars. */
  NameTooLongError = 2007
};

/* Object types as the name services know them. */
enum {
  WaveObjectType = 1,
  VariableObjectType = 3,
  StringObjectType = 4,
  FolderObjectType = 11
};

/* Rewrites `name` (a buffer of ObjectNameBytes) into a legal name: a letter
   first, then letters, digits and underscores, at most MaxObjectNameChars.
   An empty name becomes "NoName<number>". Returns 1 if anything changed
   or an underscore was met, else 0. */
int32_t RepairObjectName(char *name, int32_t number);

/* Finds a legal name, free in `folder` (0: the current folder), for an
   object of `objectType`, and writes it to resultName (ObjectNameBytes)
   on success only. Returns 0, the error of the host service that failed,
   HostTooOldError below host 300, NameTooLongError for a proposed or
   numbered name that does not fit, or NullHandleError for a missing
   argument. */
int32_t CreateValidDataObjectName(FolderHandle folder, const char *proposedName,
                                  char *resultName, int32_t *suffixCounter,
                                  int32_t objectType, int32_t ruleOption,
                                  int32_t allowSameType, int32_t numbered,
                                  int32_t report, int32_t *nameDiffers,
                                  int32_t *reuseExisting);

/* Appends `name` to `text`, which must have room for it, and hands the
   appended part to the host (service 151; 0 below host 300). */
int32_t AppendNameForHost(char *text, const char *name);

/* The name services. */
int32_t MakeNumberedName(int32_t selector, const char *baseName,
                         char *resultName, int32_t *suffixCounter); /* 76 */
int32_t TestNameConflict(FolderHandle folder, int32_t objectType,
                         const char *name);     /* 150: non-zero if taken */
int32_t HandAppendedNameToHost(char *appended); /* 151: 0 below 300 */
int32_t LegalizeNameByHost(int32_t ruleOption, char *name,
                           int32_t maxChars); /* 152: 163 below 300 */
int32_t LookUpFolderObject(FolderHandle folder, const char *name,
                           int32_t *typeOut, int32_t extra); /* 159 */

#ifdef __cplusplus
}
#endif

#endif
