/** @file
    Functions exported by the host executable (Igor.exe).

    The module imports them by name through the kit's import library
    (lib/libigorhost.a, `Tavrel::host`); the host simulator defines them. All
    are cdecl with undecorated names.

    Memory requests: NewHandle, SetHandleSize and NewPtr are the host memory
    requests that `Igor.exe --fail-memory N` counts and fails (the N-th of
    them made by the extension or by the library on its behalf). A failed
    request leaves MemoryFullError in MemError. The other functions here are
    neither memory nor service requests. */
#ifndef TAVREL_HOST_EXPORTS_H
#define TAVREL_HOST_EXPORTS_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/** A relocatable host memory block: a pointer to a master pointer. The
    master pointer holds the block's current address, which may change
    during any call to the host unless the handle is locked (HLock,
    LockHandleHigh). */
typedef char **Handle;

#ifndef HOST_EXPORT
/** Marks a function that the host executable exports. Empty for an
    extension; a build that defines the functions itself (the simulator)
    sets it to its own export attribute. */
#define HOST_EXPORT
#endif

/** Codes that MemError reports after a memory function. */
enum {
  /** Not enough memory: NewHandle and NewPtr returned null, or
      SetHandleSize could not resize. Also what a size below 0 and an
      injected failure (`--fail-memory`) give. */
  MemoryFullError = -108,
  /** The handle given is not a live host handle. */
  NilHandleError = -109,
  /** SetHandleSize asked a locked block to grow; it may only shrink. */
  MemoryLockedError = -117
};

/** Allocates a relocatable block. A memory request.
    @param size bytes in the block (0 or more)
    @return the new handle, or null with MemoryFullError in MemError. */
HOST_EXPORT Handle NewHandle(int32_t size);
/** Resizes a block, keeping its contents up to the smaller size. The block
    moves unless it is locked; a locked block may only shrink. Success is
    judged by MemError right after. A memory request.
    @param h the handle
    @param size the new size in bytes */
HOST_EXPORT void SetHandleSize(Handle h, int32_t size);
/** The outcome of the last memory function.
    @return 0 if it succeeded, else MemoryFullError, NilHandleError or
            MemoryLockedError. */
HOST_EXPORT int32_t MemError(void);
/** A block's size.
    @param h the handle
    @return its size in bytes; 0 (NilHandleError in MemError) for something
            that is not a live handle. */
HOST_EXPORT int32_t GetHandleSize(Handle h);
/** Frees a block and its handle.
    @param h the handle */
HOST_EXPORT void DisposeHandle(Handle h);
/** A handle's state (whether it is locked), to be given back later with
    HSetState.
    @param h the handle
    @return an opaque 32-bit state. */
HOST_EXPORT int32_t HGetState(Handle h);
/** Restores a state that HGetState returned.
    @param h the handle
    @param state the state to restore */
HOST_EXPORT void HSetState(Handle h, int32_t state);
/** Moves an unlocked block high in memory before it is locked; the block's
    address changes.
    @param h the handle */
HOST_EXPORT void MoveHHi(Handle h);
/** Locks a block: it stays where it is until its state is restored.
    @param h the handle */
HOST_EXPORT void HLock(Handle h);
/** Allocates a fixed (non-relocatable) block. A memory request.
    @param size bytes in the block (0 or more)
    @return the block, or null with MemoryFullError in MemError. */
HOST_EXPORT void *NewPtr(int32_t size);
/** Frees a block from NewPtr.
    @param p the block */
HOST_EXPORT void DisposePtr(void *p);
/** The host's clock, in ticks of a sixtieth of a second.
    @return an unsigned tick count that only grows. */
HOST_EXPORT uint32_t TickCount(void);
/** The host executable's module.
    @return its Win32 module handle (HMODULE), usable with
            GetModuleFileNameA; may be null. */
HOST_EXPORT void *GetIgorModule(void);
/** The extension's own module.
    @param recordHandle the host record's handle (HostRecordHandle)
    @return the extension's Win32 module handle (HMODULE). */
HOST_EXPORT void *GetXOPModule(Handle recordHandle);
/** The host's client window: owner of alerts and reference for placing
    windows.
    @return a window handle (HWND). */
HOST_EXPORT void *GetIgorClientHWND(void);
/** Hands a window message to the host (see ForwardWinMessage).
    @param module the extension's own module handle
    @param a first value
    @param b second value
    @param c third value
    @param d fourth value
    @param e fifth value
    @return the host's answer. */
HOST_EXPORT int32_t HandleXOPWinMessage(void *module, uint32_t a, uint32_t b,
                                        uint32_t c, uint32_t d, uint32_t e);
/** Copies a string of a module's STR# resource into a buffer, at most 255
    characters and a terminating 0; leaves the buffer alone when there is no
    such string.
    @param module the module whose resources are read
    @param buffer receives the text (256 bytes)
    @param listNumber the STR# resource's number (1100 for error texts)
    @param itemNumber the string's number in it, from 1
    @return the host's answer, of no use to callers. */
HOST_EXPORT int32_t GetWinIndString(void *module, char *buffer,
                                    int32_t listNumber, int32_t itemNumber);
/** Puts data on the clipboard.
    @param zero always 0
    @param length bytes of data
    @param type the data's four-character type, 0x54455854 ("TEXT") for text
    @param text the data
    @return the host's answer. */
HOST_EXPORT int32_t SetScrapData(int32_t zero, int32_t length, uint32_t type,
                                 const char *text);

#ifdef __cplusplus
}
#endif

#endif
