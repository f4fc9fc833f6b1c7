/* The port-I/O library binding and the two external functions. */
#ifndef TAVREL_CORE_PORTS_H
#define TAVREL_CORE_PORTS_H

#include <stddef.h>
#include <stdint.h>

#ifdef _WIN32
#define PORT_API __stdcall
#else
#define PORT_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

enum {
  ErrLibraryLoad = 10001,
  ErrOut32Missing = 10002,
  ErrInp32Missing = 10003
};

/* The library's entry points are stdcall; the port goes as 32 bits, the value
   as its low 16 bits in a 32-bit slot. */
typedef void(PORT_API *Out32Fn)(uint32_t port, uint32_t value);
typedef int16_t(PORT_API *Inp32Fn)(uint32_t port);

extern void *PortLibraryHandle;
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

#ifdef __cplusplus
}
#endif

#endif
