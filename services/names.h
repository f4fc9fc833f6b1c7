/** @file
    Object names: local repair, names that are legal and free in a folder,
    and names appended for the host. */
#ifndef TAVREL_SERVICES_NAMES_H
#define TAVREL_SERVICES_NAMES_H

#include "folders.h"
#include "hostlink.h"
#include "wrappers.h"

#ifdef __cplusplus
extern "C" {
#endif

/** Name sizes, and the routines' own error. */
enum {
  MaxObjectNameChars = 31, /**< the longest object name */
  ObjectNameBytes = 32,    /**< a name buffer, terminator included */
  /** A proposed or numbered name longer than MaxObjectNameChars. */
  NameTooLongError = 2007
};

/** Object types as the name services know them. */
enum {
  WaveObjectType = 1,     /**< a wave */
  VariableObjectType = 3, /**< a numeric variable */
  StringObjectType = 4,   /**< a string variable */
  FolderObjectType = 11   /**< a data folder */
};

/** Rewrites a name in place into a legal one, without asking the host: a
    letter first (else "X" is put in front), then letters, digits and
    underscores (anything else becomes "_"), at most MaxObjectNameChars.
    An empty name becomes "NoName" followed by the number.
    @param name the name, in a buffer of ObjectNameBytes; null does nothing
    @param number the number for an empty name
    @return 1 if anything changed or an underscore was met, else 0. */
int32_t RepairObjectName(char *name, int32_t number);

/** Finds a legal name that is free in a folder for an object, and writes
    it to resultName on success only.

    Steps and their host requests: with a folder given, the current folder
    is saved (request 106) and the folder made current (request 107), and
    the saved one, when request 106 succeeded, made current again at the
    end (request 107). Numbered with
    allowSameType, the counter is appended here and advanced; numbered
    without it, the host numbers the name (request 76). The host legalizes
    the name (request 152), which needs host version 300 or later: below,
    the routine returns HostTooOldError (163) at that step, after the
    folder and numbering requests. Then one conflict test (request 159, and
    request 150 when no object has the name); a conflict renumbers the name
    through the host (request 76) and, with report set, tells the user
    (request 8).
    @param folder the folder, or 0 for the current one
    @param proposedName the name wanted, at most MaxObjectNameChars
    @param resultName receives the name (ObjectNameBytes)
    @param suffixCounter the number for numbered names; advanced by the
           routine or by the host
    @param objectType WaveObjectType, VariableObjectType, StringObjectType
           or FolderObjectType
    @param ruleOption handed to the host's legalizing for waves and folders;
           0 is sent for other types
    @param allowSameType non-zero: an existing object of the same type may
           be used again (then *reuseExisting is 1), and numbering is done
           here
    @param numbered non-zero: proposedName is a base to append a number to
    @param report non-zero: a renaming forced by a conflict is reported to
           the user
    @param nameDiffers receives 1 when the name found differs from
           proposedName, else 0
    @param reuseExisting receives 1 when the name is that of an existing
           object of the same type, else 0
    @return 0; NullHandleError for a null pointer argument and
            NameTooLongError for a proposed or locally numbered name that
            does not fit, both without a request; NameTooLongError when the
            host's name does not fit; HostTooOldError; or the error of the
            request that failed (107, 152, or the renumbering 76). */
int32_t CreateValidDataObjectName(FolderHandle folder, const char *proposedName,
                                  char *resultName, int32_t *suffixCounter,
                                  int32_t objectType, int32_t ruleOption,
                                  int32_t allowSameType, int32_t numbered,
                                  int32_t report, int32_t *nameDiffers,
                                  int32_t *reuseExisting);

/** Appends a name to a text and hands the appended part to the host
    (HandAppendedNameToHost: host request 151, from host version 300 on).
    @param text a zero-terminated text with room for the name
    @param name the name
    @return the host's answer; 0 below host version 300. */
int32_t AppendNameForHost(char *text, const char *name);

/** A numbered name built by the host. Sends host request 76.
    @param selector item 0 (the library sends 1)
    @param baseName the base name
    @param resultName receives the name
    @param suffixCounter the counter the host numbers from and advances
    @return the host's answer: 0, or an error code. */
int32_t MakeNumberedName(int32_t selector, const char *baseName,
                         char *resultName, int32_t *suffixCounter);
/** Whether a name cannot be used for a new object. Sends host request 150.
    @param folder the folder (0: the current one)
    @param objectType the object's type
    @param name the name
    @return the host's answer: non-zero if the name is taken. */
int32_t TestNameConflict(FolderHandle folder, int32_t objectType,
                         const char *name);
/** Hands the appended part of a text to the host. Needs host version 300
    or later, else 0 without a request. Sends host request 151.
    @param appended the appended part
    @return the host's answer, or 0. */
int32_t HandAppendedNameToHost(char *appended);
/** Lets the host rewrite a name into a legal one. Needs host version 300
    or later, else HostTooOldError (163) without a request. Sends host
    request 152.
    @param ruleOption the host's rule option
    @param name the name, rewritten in place
    @param maxChars the longest name wanted
    @return 0, HostTooOldError, or the host's error. */
int32_t LegalizeNameByHost(int32_t ruleOption, char *name, int32_t maxChars);
/** Looks up an object in a folder. Sends host request 159; the host writes
    the type into the routine's own integer, copied to *typeOut whatever
    the answer.
    @param folder the folder (0: the current one)
    @param name the name
    @param typeOut receives the object's type, meaningful when the answer
           is 0; may be null
    @param extra item 3
    @return the host's answer: 0 if an object of that name exists. */
int32_t LookUpFolderObject(FolderHandle folder, const char *name,
                           int32_t *typeOut, int32_t extra);

#ifdef __cplusplus
}
#endif

#endif
