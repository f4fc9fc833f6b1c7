/** @file
    The host link: the host record and its callback channel, start-up state,
    and the basic utilities every other part of the library builds on.

    Host requests. Every numbered request to the host goes through one of
    HostCall0 to HostCall6: SetRecHandle first sizes the record with
    SetHandleSize (one host memory request, two when the first resize
    fails), then the callback performs the request (one service request, as
    `Igor.exe --fail-service N` counts them). "Sends host request N" in the
    entries of this reference means exactly that. Memory the host allocates
    while it performs a request for the extension (a wave's block, say)
    counts as the extension's memory requests too. */
#ifndef TAVREL_HOSTLINK_H
#define TAVREL_HOSTLINK_H

#include <stdint.h>

#include "host_exports.h"

#ifdef __cplusplus
extern "C" {
#endif

/** The record through which the host and the extension talk, in a
    relocatable host handle (HostRecordHandle). Byte layout packed on 2
    bytes, little-endian. The library reaches the fields through the handle
    afresh for every access, because the host may move the record during any
    call; extensions use the accessors (GetHostMessage, GetHostItem,
    SetHostResult, ...) rather than the fields. */
#pragma pack(push, 2)
typedef struct HostRecord {
  int16_t hostWord0;      /**< the host's; never touched */
  int32_t hostLong2;      /**< host-defined; written by SetHostLong2 */
  int32_t result;         /**< the answer to a message or to a request */
  int32_t hostLong10;     /**< host-defined; read by GetHostLong10 */
  uint32_t callback;      /**< the host's callback: void (*)(Handle), cdecl */
  uint32_t messageEntry;  /**< the extension's message entry: void (*)(void) */
  uint8_t hostBytes22[4]; /**< the host's; never touched */
  int32_t hostLong26;     /**< host-defined; GetHostLong26, SetHostLong26 */
  int16_t message;        /**< message code, or the code of a request */
  uint8_t hostBytes32[6]; /**< the host's; never touched */
  int16_t itemCount;      /**< number of items in use */
  int32_t items[16];      /**< the items: integers, addresses or handles */
} HostRecord;
#pragma pack(pop)

/** Sizes of the record. */
enum {
  HostRecordFixedBytes = 40, /**< the part before the items */
  HostRecordFullBytes = 104, /**< fixed part plus 16 items */
  HostRecordMaxItems = 16    /**< items a full record holds */
};

/** The host's callback, called with the record's handle. */
typedef void (*HostCallbackProc)(Handle recordHandle);
/** The extension's message entry, installed with SetMessageEntry. */
typedef void (*MessageEntryProc)(void);

/** Messages the host sends to the message entry (GetHostMessage). Any
    other message is answered with SetHostResult(0). */
enum {
  /** The extension is about to be unloaded: release what it holds. Answer
      0. */
  MsgCleanup = 12,
  /** The address of the external function whose index in the function
      table is GetHostItem(0); answer the address, or 0 for an index out of
      range. */
  MsgFunctionAddress = 15
};

/** Words of the function table (resource XOPF 1100). Number parameters and
    results use their number-type code (numconv.h). */
enum {
  FunctionCategory = 0x2800, /**< every entry's category */
  ParamTypeWave = 0x0200     /**< the parameter type of a wave */
};

/** One slot of an external function's parameter block. The host passes
    the block's address; parameters come last first, one 8-byte slot each,
    then the result slot, a double. A wave parameter's slot holds the
    wave's handle. */
typedef union ExternalParam {
  double number; /**< a number parameter */
  Handle wave;   /**< a wave parameter: the wave's handle (WaveHandle) */
} ExternalParam;
/** An external function: takes the parameter block's address, stores its
    result in the block's result slot, and returns 0 or an error code
    (FirstExtensionError and up for the extension's own errors). */
typedef int32_t (*ExternalFunctionProc)(void *params);

/** Codes an extension returns or compares. */
enum {
  /** The first error of an extension's own: code 10000 + n is the n-th
      string of the extension's STR# 1100 resource, which the host shows
      for it. main and external functions return these. */
  FirstExtensionError = 10001,
  /** Returned without any request to the host when the host's version
      (HostVersion) is older than a request or an option needs. */
  HostTooOldError = 163
};

/** The record's handle, passed to main and stored by InitHostLink; 0
    before. */
extern Handle HostRecordHandle;
/** The host's version: major * 100 + minor * 10 + third field of the host
    executable's file version (6.1.0 is 610), set by InitHostLink; 0 when it
    cannot be read. Routines compare it with thresholds of 200 to 500. */
extern int32_t HostVersion;

/** Writes the record's hostLong2 field.
    @param value the value */
void SetHostLong2(int32_t value);
/** Installs the extension's message entry, through which the host sends
    every later message. main calls it once.
    @param entry the message entry */
void SetMessageEntry(MessageEntryProc entry);
/** Stores the extension's answer: main's result (0 or an error code), or
    the answer to the current message. The message entry stores it after
    its last request to the host, as every request overwrites it.
    @param value the answer */
void SetHostResult(int32_t value);
/** Reads the record's result field.
    @return the last answer stored there, by the host or the extension. */
int32_t GetHostResult(void);
/** Writes the record's message field (low 16 bits).
    @param code the code */
void SetHostMessage(int32_t code);
/** The code of the message the host sent. Read it, and the items, before
    any request to the host: requests overwrite them.
    @return the message code, sign-extended from 16 bits. */
int32_t GetHostMessage(void);
/** Writes the record's hostLong26 field.
    @param value the value */
void SetHostLong26(int32_t value);
/** Reads the record's hostLong26 field.
    @return its value. */
int32_t GetHostLong26(void);
/** Reads the record's hostLong10 field.
    @return its value. */
int32_t GetHostLong10(void);
/** One item of the message the host sent.
    @param index the item's index, from 0
    @return the item; 0 for an index below 0, at or past the item count, or
            past the end of the record. */
int32_t GetHostItem(int32_t index);

/** Sizes the record for a request's items and stores the item count. Asks
    SetHandleSize for HostRecordFullBytes (or 40 + 4 * itemCount if more),
    and when MemError reports a failure, for exactly 40 + 4 * itemCount;
    when that fails too, calls DebugStop. Memory requests: one
    SetHandleSize, two when the first fails.
    @param itemCount the number of items */
void SetRecHandle(int32_t itemCount);
/** Sends a request with the items already in the record: clears the
    result, stores the code, calls the host's callback with the record's
    handle. One service request.
    @param code the request's code (low 16 bits are sent)
    @return the host's answer, passed on unchanged. */
int32_t SendHostCall(int32_t code);
/** Sends host request `code` without items (SetRecHandle, then
    SendHostCall): one or two memory requests, one service request. The
    primitives with items store them after SetRecHandle; when neither resize
    gave the record room for them, the request is not sent (the host would
    read its items past the record) and the primitive returns
    MemoryFullError.
    @param code the request's code
    @return the host's answer, passed on unchanged; MemoryFullError when the
            record could not be made large enough for the items. */
int32_t HostCall0(int32_t code);
/** Sends host request `code` with one item; see HostCall0.
    @param code the request's code
    @param i0 item 0
    @return the host's answer, passed on unchanged. */
int32_t HostCall1(int32_t code, int32_t i0);
/** Sends host request `code` with two items; see HostCall0.
    @param code the request's code
    @param i0 item 0
    @param i1 item 1
    @return the host's answer, passed on unchanged. */
int32_t HostCall2(int32_t code, int32_t i0, int32_t i1);
/** Sends host request `code` with three items; see HostCall0.
    @param code the request's code
    @param i0 item 0
    @param i1 item 1
    @param i2 item 2
    @return the host's answer, passed on unchanged. */
int32_t HostCall3(int32_t code, int32_t i0, int32_t i1, int32_t i2);
/** Sends host request `code` with four items; see HostCall0.
    @param code the request's code
    @param i0 item 0
    @param i1 item 1
    @param i2 item 2
    @param i3 item 3
    @return the host's answer, passed on unchanged. */
int32_t HostCall4(int32_t code, int32_t i0, int32_t i1, int32_t i2, int32_t i3);
/** Sends host request `code` with five items; see HostCall0.
    @param code the request's code
    @param i0 item 0
    @param i1 item 1
    @param i2 item 2
    @param i3 item 3
    @param i4 item 4
    @return the host's answer, passed on unchanged. */
int32_t HostCall5(int32_t code, int32_t i0, int32_t i1, int32_t i2, int32_t i3,
                  int32_t i4);
/** Sends host request `code` with six items; see HostCall0.
    @param code the request's code
    @param i0 item 0
    @param i1 item 1
    @param i2 item 2
    @param i3 item 3
    @param i4 item 4
    @param i5 item 5
    @return the host's answer, passed on unchanged. */
int32_t HostCall6(int32_t code, int32_t i0, int32_t i1, int32_t i2, int32_t i3,
                  int32_t i4, int32_t i5);

/** The first call of main: stores the record's handle in HostRecordHandle,
    then reads HostVersion (ReadHostVersion). Memory requests: one NewPtr
    (failing it leaves HostVersion 0).
    @param recordHandle the handle main was given */
void InitHostLink(Handle recordHandle);
/** Reads the host executable's file version from its version resource
    (GetIgorModule, then the Windows version functions) into a block from
    NewPtr, given back before it returns. Memory requests: one NewPtr.
    @return major * 100 + minor * 10 + third field, or 0 when anything
            fails. */
int32_t ReadHostVersion(void);
/** The extension's own module (GetXOPModule).
    @return its Win32 module handle (HMODULE). */
void *OwnModuleHandle(void);
/** The host executable's module (GetIgorModule).
    @return its Win32 module handle (HMODULE), or null. */
void *HostModuleHandle(void);
/** The host's client window (GetIgorClientHWND).
    @return the window (HWND) that owns alerts and dialogs. */
void *HostClientWindow(void);
/** Breaks into the debugger when one is attached; otherwise does nothing.
    SetRecHandle calls it when the record cannot be resized.
    @param text what went wrong, for whoever looks in the debugger */
void DebugStop(const char *text);
/** Hands a window message to the host: HandleXOPWinMessage with the
    extension's own module handle and the five values in order.
    @param a first value
    @param b second value
    @param c third value
    @param d fourth value
    @param e fifth value
    @return the host's answer, unchanged. */
int32_t ForwardWinMessage(uint32_t a, uint32_t b, uint32_t c, uint32_t d,
                          uint32_t e);

/** Results of the basic utilities. */
enum {
  NullHandleError = 185,     /**< a handle or other argument was null */
  TextTruncatedError = 2006, /**< text was cut to fit */
  ResizeFailedError = 1      /**< SetHandleSize failed */
};
/** What PollAbort reports besides 0 (go on). */
enum {
  PollAbortDeadline = 1, /**< the deadline has passed */
  PollAbortBreak = -1    /**< the user pressed Break (Ctrl+Break), not Alt */
};
/** The tick count (TickCount) of PollAbort's last full check; 0 at load. */
extern uint32_t LastPollTick;
/** Upper-cases ASCII a to z in place; other bytes stay.
    @param s a zero-terminated string */
void UpperCaseString(char *s);
/** Compares two strings without regard to ASCII case, byte by byte as
    unsigned values.
    @param a first string
    @param b second string
    @return -1, 0 or 1 as a is less than, equal to or greater than b. */
int32_t CompareNoCase(const char *a, const char *b);
/** The first occurrence of a character. From host version 313 on the host
    searches: sends host request 173. Below, the C library's strchr.
    @param s a zero-terminated string
    @param c the character
    @return its address in s, or null. */
char *FindChar(const char *s, int32_t c);
/** The last occurrence of a character. From host version 313 on the host
    searches: sends host request 174. Below, the C library's strrchr.
    @param s a zero-terminated string
    @param c the character
    @return its address in s, or null. */
char *FindLastChar(const char *s, int32_t c);
/** Sets bytes to 0.
    @param p the first byte
    @param count how many; nothing happens for 0 or less */
void ZeroBytes(void *p, int32_t count);
/** Locks a handle so its block stays put: HGetState, MoveHHi, HLock.
    Give the state back with HSetState when done. No memory request.
    @param h the handle
    @return the handle's previous state. */
int32_t LockHandleHigh(Handle h);
/** Copies a handle's bytes into a zero-terminated string (GetHandleSize).
    dest is emptied first, whatever the result.
    @param h the handle
    @param dest receives the text; holds max + 1 bytes
    @param max the most bytes copied
    @return 0, NullHandleError for a null handle, or TextTruncatedError
            when the handle held more than max bytes (the first max are
            copied). */
int32_t HandleToText(Handle h, char *dest, int32_t max);
/** Makes a handle hold exactly a string's characters, without the
    terminating 0. Memory requests: one SetHandleSize.
    @param s a zero-terminated string
    @param h the handle
    @return 0, NullHandleError for a null handle, or ResizeFailedError when
            SetHandleSize failed (the handle then as the host left it). */
int32_t TextToHandle(const char *s, Handle h);
/** A cheap check for a deadline and for the user's Break key, for long
    loops. Reads TickCount; the full check runs at most once every 6 ticks
    (LastPollTick), and in between the result is 0.
    @param deadline a tick count, or 0 for none
    @return PollAbortDeadline when the tick count has passed the deadline,
            PollAbortBreak when Break is down (or was pressed since the last
            check) without Alt, else 0. */
int32_t PollAbort(uint32_t deadline);
/** Reads a key's state as GetAsyncKeyState does.
    @param virtualKey the key's virtual-key code
    @return the state: bit 15 down now, bit 0 pressed since the last
            reading. */
typedef int16_t (*KeyStateReader)(int32_t virtualKey);
/** How PollAbort reads the keyboard: GetAsyncKeyState, replaceable for
    tests. */
extern KeyStateReader PollAbortKeyReader;
/** Tests a 32-bit float's bits for NaN.
    @param p the float
    @return 1 for NaN, else 0 (infinities included). */
int32_t IsNaNSingle(const float *p);
/** Tests a 64-bit float for NaN by its high 32 bits alone: a NaN whose
    mantissa bits all lie in the low word reads as not NaN.
    @param p the double
    @return 1 for NaN, else 0. */
int32_t IsNaNDouble(const double *p);
/** Stores the NaN pattern 0xFFFFFFFF.
    @param p the float */
void SetNaNSingle(float *p);
/** Stores the NaN pattern 0x7FFFFFFFFFFFFFFF.
    @param p the double */
void SetNaNDouble(double *p);

#ifdef __cplusplus
}
#endif

#endif
