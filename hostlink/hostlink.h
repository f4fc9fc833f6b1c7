/* The host link: the host record and its callback channel, start-up state,
   and the basic utilities every other part of the library builds on. */
#ifndef TAVREL_HOSTLINK_H
#define TAVREL_HOSTLINK_H

#include <stdint.h>

#include "host_exports.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Byte layout of the record the host passes to main; packed on 2 bytes,
   little-endian. Fields are reached through HostRecordHandle afresh for every
   access because the host may move the record during any call. */
#pragma pack(push, 2)
typedef struct HostRecord {
  int16_t hostWord0;
  int32_t hostLong2;
  int32_t result;
  int32_t hostLong10;
  uint32_t callback;     /* void (*)(Handle recordHandle), cdecl */
  uint32_t messageEntry; /* void (*)(void), cdecl */
  uint8_t hostBytes22[4];
  int32_t hostLong26;
  int16_t message;
  uint8_t hostBytes32[6];
  int16_t itemCount;
  int32_t items[16];
} HostRecord;
#pragma pack(pop)

enum {
  HostRecordFixedBytes = 40,
  HostRecordFullBytes = 104, /* fixed part plus 16 items */
  HostRecordMaxItems = 16
};

typedef void (*HostCallbackProc)(Handle recordHandle);
typedef void (*MessageEntryProc)(void);

/* Messages the host sends to the message entry: clean up before unloading,
   and the address of the external function whose index is item 0. */
enum { MsgCleanup = 12, MsgFunctionAddress = 15 };

/* Words of the function table (resource XOPF 1100): every entry's category,
   and the parameter type of a wave; numbers use their number-type code. */
enum { FunctionCategory = 0x2800, ParamTypeWave = 0x0200 };

/* One slot of an external function's parameter block. The host passes the
   block's address; parameters come last first, one 8-byte slot each, then
   the result slot. A wave parameter's slot holds the wave's handle. */
typedef union ExternalParam {
  double number;
  Handle wave;
} ExternalParam;
typedef int32_t (*ExternalFunctionProc)(void *params);

/* Module-wide start-up state. */
extern Handle HostRecordHandle;
extern int32_t HostVersion;

/* Record accessors. */
void SetHostLong2(int32_t value);
void SetMessageEntry(MessageEntryProc entry);
void SetHostResult(int32_t value);
int32_t GetHostResult(void);
void SetHostMessage(int32_t code);
int32_t GetHostMessage(void);
void SetHostLong26(int32_t value);
int32_t GetHostLong26(void);
int32_t GetHostLong10(void);
int32_t GetHostItem(int32_t index);

/* Callback channel. */
void SetRecHandle(int32_t itemCount);
int32_t SendHostCall(int32_t code);
int32_t HostCall0(int32_t code);
int32_t HostCall1(int32_t code, int32_t i0);
int32_t HostCall2(int32_t code, int32_t i0, int32_t i1);
int32_t HostCall3(int32_t code, int32_t i0, int32_t i1, int32_t i2);
int32_t HostCall4(int32_t code, int32_t i0, int32_t i1, int32_t i2, int32_t i3);
int32_t HostCall5(int32_t code, int32_t i0, int32_t i1, int32_t i2, int32_t i3,
                  int32_t i4);
int32_t HostCall6(int32_t code, int32_t i0, int32_t i1, int32_t i2, int32_t i3,
                  int32_t i4, int32_t i5);

/* Start-up state and host environment. */
void InitHostLink(Handle recordHandle);
int32_t ReadHostVersion(void);
void *OwnModuleHandle(void);
void *HostModuleHandle(void);
void *HostClientWindow(void);
void DebugStop(const char *text);
int32_t ForwardWinMessage(uint32_t a, uint32_t b, uint32_t c, uint32_t d,
                          uint32_t e);

/* Basic utilities. */
enum {
  NullHandleError = 185,
  TextTruncatedError = 2006,
  ResizeFailedError = 1
};
extern uint32_t LastPollTick;
void UpperCaseString(char *s);
int32_t CompareNoCase(const char *a, const char *b);
char *FindChar(const char *s, int32_t c);
char *FindLastChar(const char *s, int32_t c);
void ZeroBytes(void *p, int32_t count);
int32_t LockHandleHigh(Handle h);
int32_t HandleToText(Handle h, char *dest, int32_t max);
int32_t TextToHandle(const char *s, Handle h);
int32_t PollAbort(uint32_t deadline);
/* Reads a key's state as GetAsyncKeyState does; replaceable for tests. */
typedef int16_t (*KeyStateReader)(int32_t virtualKey);
extern KeyStateReader PollAbortKeyReader;
int32_t IsNaNSingle(const float *p);
int32_t IsNaNDouble(const double *p);
void SetNaNSingle(float *p);
void SetNaNDouble(double *p);

#ifdef __cplusplus
}
#endif

#endif
