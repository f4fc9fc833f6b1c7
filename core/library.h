/* The few Win32 calls the core makes to load the port-I/O library. Windows
   builds call LoadLibraryA, GetProcAddress and FreeLibrary; the native test
   build supplies stand-ins. */
#ifndef TAVREL_CORE_LIBRARY_H
#define TAVREL_CORE_LIBRARY_H

#ifdef __cplusplus
extern "C" {
#endif

void *OpenLibrary(const char *name);
void *FindLibraryEntry(void *library, const char *name);
void CloseLibrary(void *library);

#ifdef __cplusplus
}
#endif

#endif
