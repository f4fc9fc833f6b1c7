/* Reading the command text that the host holds: characters, names, numbers,
   keywords from a table, flags and the end of the command. */
#ifndef TAVREL_SERVICES_PARSING_H
#define TAVREL_SERVICES_PARSING_H

#include "hostlink.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Fixed results of the routines below; host errors pass through otherwise. */
enum {
  NameNotFoundError = 2,     /* ReadNameWithHandle */
  UnknownNameError = 95,     /* ReadKnownName */
  KeywordExpectedError = 83, /* ReadKeyword */
  NameExpectedError = 59,    /* the host's answer when no name stands next */
  OldHostNameExpectedError = 458, /* what 59 becomes below host 300 */
  NoNameReadResult = -1           /* ReadNameAndFetchNumber */
};

/* The services. */
int32_t PeekCommandChar(void);               /* 10: 0 at the end */
int32_t SkipCommandChar(void);               /* 11 */
int32_t ReadCommandText(char *buffer);       /* 12 */
int32_t ReadCommandNumber(double *valueOut); /* 13 */
int32_t ReadCommandName(char *buffer);       /* 14 */
int32_t IsKnownObjectName(const char *name); /* 59: non-zero if known */

/* Service 124 from host 300 on; below it, ReadCommandName with *intOut
   cleared and NameExpectedError given as OldHostNameExpectedError. */
int32_t ReadCommandNameExtended(int32_t *intOut, char *buffer, int32_t value);

/* Index of `word`, upper-cased in place, in a table of upper-case keywords
   that ends with an empty text; -1 if absent. */
int32_t LookUpKeyword(const char *const *table, char *word);
/* Reads a name and stores its keyword index; 0, NameExpectedError or
   KeywordExpectedError, and nothing stored on failure. */
int32_t ReadKeyword(const char *const *table, int32_t *indexOut);

/* Read a name into `buffer` and check that the host knows it. */
int32_t ReadNameWithHandle(char *buffer); /* 0 or NameNotFoundError */
int32_t ReadKnownName(char *buffer);      /* 0 or UnknownNameError */
/* NoNameReadResult, or what fetching the named number gives. */
int32_t ReadNameAndFetchNumber(char *buffer);

/* Sets `mask` in *flags; "=" and a number that is zero or not a number
   clears it again. 0, or the error of reading the number. */
int32_t ReadFlagSetting(int32_t mask, int32_t *flags);

/* 1 at the end of the command (end of text, carriage return, ";" or "|"),
   else 0; service 182 decides from host 400 on. */
int32_t IsCommandEnd(void);

/* Service 12: the last character of the text it read, or its result when
   that is 0 or negative. */
int32_t ReadCommandTextLastChar(char *buffer);

#ifdef __cplusplus
}
#endif

#endif
