/* Wave data access and element values. */
#ifndef TAVREL_WAVES_H
#define TAVREL_WAVES_H

#include "services.h"

#endif
