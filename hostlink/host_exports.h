/* Functions exported by the host executable (Igor.exe). The module imports
   them by name through an import library made from host_exports.def; the host
   simulator defines them. All are cdecl with undecorated names. */
#ifndef TAVREL_HOST_EXPORTS_H
#define TAVREL_HOST_EXPORTS_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* A relocatable host memory block: a pointer to a master pointer. */
typedef char **Handle;

#ifndef HOST_EXPORT
#define HOST_EXPORT
#endif

HOST_EXPORT Handle NewHandle(int32_t size);
HOST_EXPORT void SetHandleSize(Handle h, int32_t size);
HOST_EXPORT int32_t MemError(void);
HOST_EXPORT int32_t GetHandleSize(Handle h);
HOST_EXPORT void DisposeHandle(Handle h);
HOST_EXPORT int32_t HGetState(Handle h);
HOST_EXPORT void HSetState(Handle h, int32_t state);
HOST_EXPORT void MoveHHi(Handle h);
HOST_EXPORT void HLock(Handle h);
HOST_EXPORT void *NewPtr(int32_t size);
HOST_EXPORT void DisposePtr(void *p);
HOST_EXPORT uint32_t TickCount(void);
HOST_EXPORT void *GetIgorModule(void);
HOST_EXPORT void *GetXOPModule(Handle recordHandle);
HOST_EXPORT void *GetIgorClientHWND(void);
HOST_EXPORT int32_t HandleXOPWinMessage(void *module, uint32_t a, uint32_t b,
                                        uint32_t c, uint32_t d, uint32_t e);
HOST_EXPORT int32_t GetWinIndString(void *module, char *buffer,
                                    int32_t listNumber, int32_t itemNumber);
HOST_EXPORT int32_t SetScrapData(int32_t zero, int32_t length, uint32_t type,
                                 const char *text);

#ifdef __cplusplus
}
#endif

#endif
