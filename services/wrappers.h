#ifndef TAVREL_SERVICES_WRAPPERS_H
#define TAVREL_SERVICES_WRAPPERS_H

#include "hostlink.h"

#ifdef __cplusplus
extern "C" {
#endif

#ifdef __cplusplus
}
#endif

#endif
