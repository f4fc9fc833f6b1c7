/* Stand-in for inpout32.dll: a simulated 64 K port space.

   Every port holds a 16-bit value that reads back what was last written,
   except the parallel port at 0x378..0x37A:
     0x378 data     8 bits, reads back the last byte written (initially 0x00)
     0x379 status   read-only, 0xDF: not busy, no acknowledge pulse, paper
                    present, printer selected, no error, reserved bits high
     0x37A control  low 6 bits read back as written, top two bits read as 1
                    (initially 0x0C, so it reads 0xCC)
   Ports wrap modulo 64 K. When the environment names a file in INPOUT32_LOG,
   every access is appended to it as "OUT pppppppp vvvv" or
   "IN pppppppp vvvv", the port as the caller passed it. */
#include <stdint.h>
#include <stdio.h>

#include <windows.h>

enum { DataPort = 0x378, StatusPort = 0x379, ControlPort = 0x37A };
enum { StatusIdle = 0xDF, ControlInitial = 0x0C };

static uint16_t Ports[65536];
static int Initialized;

static void InitPorts(void) {
  if (Initialized) return;
  Ports[ControlPort] = ControlInitial;
  Initialized = 1;
}

static void LogAccess(const char *kind, uint32_t port, uint32_t value) {
  char path[MAX_PATH];
  DWORD n = GetEnvironmentVariableA("INPOUT32_LOG", path, sizeof path);
  if (n == 0 || n >= sizeof path) return;
  FILE *log = fopen(path, "a");
  if (log == NULL) return;
  fprintf(log, "%s %08lX %04lX\n", kind, (unsigned long)port,
          (unsigned long)(value & 0xFFFF));
  fclose(log);
}

#ifndef PORTSIM_WITHOUT_OUT32
__declspec(dllexport) void __stdcall Out32(uint32_t port, uint32_t value) {
  InitPorts();
  LogAccess("OUT", port, value);
  if ((uint16_t)port != StatusPort) Ports[(uint16_t)port] = (uint16_t)value;
}
#endif

#ifndef PORTSIM_WITHOUT_INP32
static uint16_t ReadRegister(uint16_t port) {
  switch (port) {
  case DataPort:
    return Ports[port] & 0xFF;
  case StatusPort:
    return StatusIdle;
  case ControlPort:
    return (Ports[port] & 0x3F) | 0xC0;
  default:
    return Ports[port];
  }
}

__declspec(dllexport) int16_t __stdcall Inp32(uint32_t port) {
  InitPorts();
  uint16_t value = ReadRegister((uint16_t)port);
  LogAccess("IN", port, value);
  return (int16_t)value;
}
#endif
