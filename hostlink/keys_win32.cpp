// The abort poll reads the real keyboard.
#include <windows.h>

#include "hostlink.h"

namespace {
int16_t ReadAsyncKeyState(int32_t key) { return GetAsyncKeyState(key); }
} // namespace

KeyStateReader PollAbortKeyReader = ReadAsyncKeyState;
