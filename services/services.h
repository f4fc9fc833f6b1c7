/** @file
    Host-service wrappers, object names, data-folder paths, command-text
    parsing and wave header accessors: includes folders.h, names.h,
    parsing.h, wave_header.h and wrappers.h. */
#ifndef TAVREL_SERVICES_H
#define TAVREL_SERVICES_H

#include "hostlink.h"

#include "folders.h"
#include "names.h"
#include "parsing.h"
#include "wave_header.h"
#include "wrappers.h"

#endif
