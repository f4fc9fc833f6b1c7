/* Alerts, window placement, dialog items and popup menus. */
#ifndef TAVREL_WINUI_H
#define TAVREL_WINUI_H

#include "hostlink.h"

#endif
