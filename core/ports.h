/* The port-I/O library binding and the two external functions. */
#ifndef TAVREL_CORE_PORTS_H
#define TAVREL_CORE_PORTS_H

#include <stdint.h>
#include <windows.h>

enum {
  ErrLibraryLoad = 10001,
  ErrOut32Missing = 10002,
  ErrInp32Missing = 10003
};

/* The library's entry points are stdcall; the port goes as 32 bits, the value
   as its low 16 bits in a 32-bit slot. */
typedef void(__stdcall *Out32Fn)(uint32_t port, uint32_t value);
typedef int16_t(__stdcall *Inp32Fn)(uint32_t port);

extern HMODULE PortLibraryHandle;
extern Out32Fn Out32Proc;
extern Inp32Fn Inp32Proc;

#pragma pack(push, 4)
typedef struct WritePortParams {
  double value;
  double port;
  double result;
} WritePortParams;

typedef struct ReadPortParams {
  double port;
  double result;
} ReadPortParams;
#pragma pack(pop)

int32_t BindPortLibrary(void);
void ReleasePortLibrary(void);
int32_t WritePort(WritePortParams *params);
int32_t ReadPort(ReadPortParams *params);

#endif
