/* Binding of inpout32.dll and the external functions WritePort and ReadPort. */
#include "ports.h"

#include <string.h>

#include "library.h"
#include "numconv.h"

void *PortLibraryHandle;
Out32Fn Out32Proc;
Inp32Fn Inp32Proc;

/* The entry points are usable only after a full binding and until message
   12, so a late call never jumps through a null or stale address; and the
   library is freed at most once. */
static int PortsBound;
static int LibraryHeld;

int32_t BindPortLibrary(void) {
  PortLibraryHandle = OpenLibrary("inpout32.dll");
  if (PortLibraryHandle == NULL) return ErrLibraryLoad;
  LibraryHeld = 1;
  Out32Proc = (Out32Fn)FindLibraryEntry(PortLibraryHandle, "Out32");
  if (Out32Proc == NULL) return ErrOut32Missing;
  Inp32Proc = (Inp32Fn)FindLibraryEntry(PortLibraryHandle, "Inp32");
  if (Inp32Proc == NULL) return ErrInp32Missing;
  PortsBound = 1;
  return 0;
}

void ReleasePortLibrary(void) {
  PortsBound = 0;
  if (LibraryHeld) CloseLibrary(PortLibraryHandle);
  LibraryHeld = 0;
}

int32_t WritePort(WritePortParams *params) {
  uint32_t v = (uint32_t)StoreFloatAsInteger(params->value) & 0xFFFF;
  uint32_t p = (uint32_t)StoreFloatAsInteger(params->port);
  /* A byte copy, so that even a signalling NaN comes back as it was given. */
  memcpy(&params->result, &params->value, sizeof params->result);
  if (!PortsBound) return ErrLibraryLoad;
  Out32Proc(p, v);
  return 0;
}

int32_t ReadPort(ReadPortParams *params) {
  uint32_t p = (uint32_t)StoreFloatAsInteger(params->port);
  if (!PortsBound) {
    params->result = 0.0;
    return ErrLibraryLoad;
  }
  params->result = (double)(int32_t)Inp32Proc(p);
  return 0;
}
