/* Loading the port-I/O library through Win32. */
#include <windows.h>

#include "library.h"

void *OpenLibrary(const char *name) { return LoadLibraryA(name); }

void *FindLibraryEntry(void *library, const char *name) {
  return (void *)GetProcAddress((HMODULE)library, name);
}

void CloseLibrary(void *library) { FreeLibrary((HMODULE)library); }
