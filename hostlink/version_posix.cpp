// Outside Windows there is no version resource to read and no debugger
// break to make; the portable library builds and is tested with these.
#include "hostlink.h"

extern "C" {

int32_t ReadHostVersion(void) { return 0; }

void DebugStop(const char * /*text*/) {}

} // extern "C"
