#ifndef TAVREL_SERVICES_WAVE_HEADER_H
#define TAVREL_SERVICES_WAVE_HEADER_H

#include "hostlink.h"

#ifdef __cplusplus
extern "C" {
#endif

#ifdef __cplusplus
}
#endif

#endif
