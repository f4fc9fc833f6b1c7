/** @file
    Reading the command text that the host holds: characters, names,
    numbers, keywords from a table, flags and the end of the command. */
#ifndef TAVREL_SERVICES_PARSING_H
#define TAVREL_SERVICES_PARSING_H

#include "hostlink.h"

#ifdef __cplusplus
extern "C" {
#endif

/** Fixed results of the routines below; host errors pass through
    otherwise. */
enum {
  NameNotFoundError = 2,          /**< ReadNameWithHandle: no such object */
  UnknownNameError = 95,          /**< ReadKnownName: not a known name */
  KeywordExpectedError = 83,      /**< ReadKeyword: no keyword of the table */
  NameExpectedError = 59,         /**< the host's answer when no name stands
                                       next */
  OldHostNameExpectedError = 458, /**< what 59 becomes below host 300 */
  NoNameReadResult = -1,          /**< ReadNameAndFetchNumber: no name */
  KeywordNotFound = -1            /**< LookUpKeyword: not in the table */
};

/** The next character of the command text. Sends host request 10.
    @return the character, or 0 at the end of the text. */
int32_t PeekCommandChar(void);
/** Steps past the character PeekCommandChar returned. Sends host request
    11.
    @return the host's answer. */
int32_t SkipCommandChar(void);
/** Reads a text. Sends host request 12.
    @param buffer receives the text
    @return the host's answer: the text's length, or 0 or less. */
int32_t ReadCommandText(char *buffer);
/** Reads a number. Sends host request 13.
    @param valueOut receives the number
    @return the host's answer: 0, or an error code. */
int32_t ReadCommandNumber(double *valueOut);
/** Reads a name. Sends host request 14.
    @param buffer receives the name
    @return the host's answer: 0, NameExpectedError, or another error
            code. */
int32_t ReadCommandName(char *buffer);
/** Whether the host knows an object of a name. Sends host request 59.
    @param name the name
    @return the host's answer: non-zero if known. */
int32_t IsKnownObjectName(const char *name);

/** Reads a name with more from the host. From host version 300 on, sends
    host request 124 with the arguments. Below, ReadCommandName (request
    14) with *intOut cleared, and NameExpectedError given as
    OldHostNameExpectedError.
    @param intOut item 0: an integer the host sets (may be null below 300)
    @param buffer receives the name
    @param value item 2, not used below 300
    @return the host's answer, or OldHostNameExpectedError. */
int32_t ReadCommandNameExtended(int32_t *intOut, char *buffer, int32_t value);

/** Looks a word up in a keyword table. No request.
    @param table upper-case keywords, ended by an empty text
    @param word the word; upper-cased in place
    @return its index in the table, or KeywordNotFound. */
int32_t LookUpKeyword(const char *const *table, char *word);
/** Reads a name (request 14) and looks it up in a keyword table,
    regardless of case.
    @param table upper-case keywords, ended by an empty text
    @param indexOut receives the keyword's index; untouched on failure
    @return 0, NameExpectedError when no name stood next, or
            KeywordExpectedError for another failure or a word not in the
            table. */
int32_t ReadKeyword(const char *const *table, int32_t *indexOut);

/** Reads a name (request 14) and checks that an object has it (request
    7).
    @param buffer receives the name
    @return 0, or NameNotFoundError when no name was read or no object has
            it. */
int32_t ReadNameWithHandle(char *buffer);
/** Reads a name (request 14) and checks that the host knows it (request
    59).
    @param buffer receives the name
    @return 0, or UnknownNameError when no name was read or it is not
            known. */
int32_t ReadKnownName(char *buffer);
/** Reads a name (request 14) and fetches the number it names (request 3);
    the number is not kept.
    @param buffer receives the name
    @return NoNameReadResult when no name was read, else FetchNumberByName's
            answer. */
int32_t ReadNameAndFetchNumber(char *buffer);

/** Reads a flag: sets `mask` in *flags; when "=" follows (request 10, then
    11), reads a number (request 13), and a number that is zero or NaN
    clears the mask again.
    @param mask the flag's bits
    @param flags the flag word
    @return 0, or ReadCommandNumber's error (the bits then stay set). */
int32_t ReadFlagSetting(int32_t mask, int32_t *flags);

/** Whether the command ends here. From host version 400 on, sends host
    request 182 and returns its answer; below, PeekCommandChar (request
    10): the end of text, a carriage return, ";" or "|" ends it.
    @return 1 at the end of the command, else 0 (below 400). */
int32_t IsCommandEnd(void);

/** Reads a text (request 12) and gives its last character.
    @param buffer receives the text
    @return the text's last character as a signed byte; the host's answer
            when it is 0 or less; 0 when the host wrote an empty text. */
int32_t ReadCommandTextLastChar(char *buffer);

#ifdef __cplusplus
}
#endif

#endif
