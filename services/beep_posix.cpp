// The warning beep where there is no Win32: the terminal bell.
#include <cstdio>

#include "wrappers.h"

extern "C" int32_t WarningBeep(void) { return std::fputc('\a', stderr) != EOF; }
