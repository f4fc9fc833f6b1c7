/* The module's start-up and its message dispatch. */
#ifndef TAVREL_CORE_ENTRY_H
#define TAVREL_CORE_ENTRY_H

#include "hostlink.h"

#ifdef __cplusplus
extern "C" {
#endif

/* What main does: prepare the host link, install the message entry, bind the
   port library and leave the outcome in the record's result. */
void StartExtension(Handle recordHandle);
void HandleHostMessage(void);
void *LookupFunctionAddress(void);

#ifdef __cplusplus
}
#endif

#endif
