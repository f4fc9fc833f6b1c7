// Without a Windows keyboard no key is ever down.
#include "hostlink.h"

namespace {
int16_t NoKeyDown(int32_t) { return 0; }
} // namespace

KeyStateReader PollAbortKeyReader = NoKeyDown;
