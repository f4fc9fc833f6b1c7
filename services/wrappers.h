/* One routine per numbered host service, and the small routines built on
   them: text delivery, resource strings, rectangles, the beep, the selector
   requests and storing values under a name. */
#ifndef TAVREL_SERVICES_WRAPPERS_H
#define TAVREL_SERVICES_WRAPPERS_H

#include "hostlink.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Returned without asking the host when the host is too old for a request. */
enum { HostTooOldError = 163 };

/* The services whose wrapper only passes its items on: X(code, items).
   Each becomes int32_t HostService<code>(int32_t i0, ...), whose arguments
   are the request's items in order; it returns the host's answer. Adding a
   service is one line here. */
/* clang-format off */
#define TAVREL_PLAIN_SERVICES(X) \
  /* beside text delivery and the store routines */ \
  X(9, 1) X(70, 1) X(4, 2) X(46, 2) X(75, 3) X(181, 3) X(65, 4) X(74, 4) \
  /* beside the command-text services */ \
  X(19, 0) X(21, 0) X(73, 0) X(16, 1) X(17, 1) X(40, 1) X(41, 1) X(156, 1) \
  X(158, 1) X(20, 2) X(22, 2) X(60, 2) \
  /* group 24 to 167 */ \
  X(24, 1) X(39, 1) X(167, 5) \
  /* beside the rectangle, beep and selector routines */ \
  X(48, 0) \
  /* group 29 to 204 */ \
  X(29, 1) X(30, 1) X(67, 1) X(68, 1) X(161, 1) X(176, 1) X(168, 2) X(177, 2) \
  X(189, 2) X(190, 2) X(193, 2) X(202, 2) X(203, 2) X(204, 2) X(175, 3) X(178, 3) \
  X(179, 3) X(185, 3) X(192, 3) X(195, 3) X(199, 3) X(201, 3) X(200, 4) X(194, 5) \
  X(198, 5) X(187, 6) \
  /* beside the wave header services */ \
  X(1, 1) X(54, 1) X(36, 2) X(55, 2) X(47, 4) X(50, 5) X(51, 5) \
  /* wave header fields of waves in layouts the module does not know */ \
  X(34, 1) X(35, 1) X(37, 1) X(93, 1) X(94, 1) X(95, 1) \
  /* dimension texts of layout-0 waves: wave, two texts */ \
  X(52, 3) X(53, 3) \
  /* host lists into a handle: handle, value, separator text, value */ \
  X(56, 4) X(57, 4) X(58, 4) \
  /* beside the data-folder services */ \
  X(125, 0) X(126, 0) X(115, 1) X(101, 2) X(102, 2) X(103, 2) X(109, 2) X(110, 2) \
  X(111, 2) X(113, 2) X(117, 2) X(118, 2) X(127, 2) X(91, 3) X(92, 3) X(100, 3) \
  X(104, 3) X(112, 3) X(114, 3) X(116, 3) X(119, 3) X(121, 3) X(122, 4) X(123, 4) \
  X(160, 4) X(120, 5) X(128, 6)
/* clang-format on */

#define TAVREL_ITEMS_0 void
#define TAVREL_ITEMS_1 int32_t i0
#define TAVREL_ITEMS_2 TAVREL_ITEMS_1, int32_t i1
#define TAVREL_ITEMS_3 TAVREL_ITEMS_2, int32_t i2
#define TAVREL_ITEMS_4 TAVREL_ITEMS_3, int32_t i3
#define TAVREL_ITEMS_5 TAVREL_ITEMS_4, int32_t i4
#define TAVREL_ITEMS_6 TAVREL_ITEMS_5, int32_t i5
#define TAVREL_DECLARE_PLAIN_SERVICE(code, items)                              \
  int32_t HostService##code(TAVREL_ITEMS_##items);
TAVREL_PLAIN_SERVICES(TAVREL_DECLARE_PLAIN_SERVICE)
#undef TAVREL_DECLARE_PLAIN_SERVICE

/* Named services that pass their items on. */
int32_t ReportToHost(const char *text);                   /* 8 */
int32_t SendTextWithMode(const char *text, int32_t mode); /* 49 */
int32_t FetchNumberByName(const char *name, double *real, /* 3 */
                          double *imaginary);
int32_t StoreNumberByName(const char *name, const double *real, /* 5 */
                          const double *imaginary);
int32_t StoreTextByName(const char *name, const char *value); /* 6 */
int32_t HandleFromName(const char *name); /* 7: a handle, or 0 */

/* Services whose wrapper does a little more. */
int32_t CreateNamedVariable(const char *name, int32_t typeCode); /* 45 */
/* Bit of a type code (and the store routines' flag) needing host 200. */
enum { NamedVariableFlagBit = 0x4000 };
int32_t HostService180(int32_t value, char *text);   /* empty on failure */
int32_t HostService18(char *text);                   /* emptied first */
int32_t HostService164(int32_t value, char *text);   /* emptied first */
int32_t HostService165(int32_t value, int32_t *out); /* 0 first */
/* text and out may be null; the given ones are emptied first. */
int32_t HostService166(int32_t value, char *text, int32_t *out);
int32_t HostService162(int32_t *out); /* 0 first */
int32_t HostService163(int32_t *out); /* 1 first */
/* The floats travel as addresses of the wrapper's own copies. */
int32_t HostService188(int32_t value, double x);
int32_t HostService191(int32_t value, double x, double y);
/* Hosts below 500 do not offer these: 0 without a request. */
int32_t HostService196(int32_t i0);
int32_t HostService197(int32_t i0, int32_t i1);

/* Version choices and the one combination. */
int32_t HostService71Or9(void); /* 9 with "" below 200, else 71 and 0 */
int32_t HostService157Or7(int32_t value, const char *name); /* 7 below 300 */
int32_t HostService1ByName(const char *name); /* 7, then 1 with its answer */

/* Code 33 with a fixed selector. */
int32_t HostSelect1(void);
int32_t HostSelect2(void);
int32_t HostSelect3(void);
int32_t HostSelect4(void);
/* Selector 5, sent at most once per more than 6 ticks. */
extern uint32_t LastThrottleTick;
void ThrottledSelect5(void);

/* Text delivery and resource strings. */
enum { TextKindMode3 = 1, TextKindMode1 = 2, TextKindClipboard = 3 };
int32_t SendTextByKind(const char *text, int32_t kind);
void LoadModuleString(char *buffer, int32_t listNumber, int32_t itemNumber);
int32_t ReportResourceString(int32_t listNumber, int32_t itemNumber);

/* Rectangles: 16-bit top, left, bottom, right against the Win32 RECT
   (32-bit left, top, right, bottom). */
typedef struct ShortRect {
  int16_t top, left, bottom, right;
} ShortRect;
struct tagRECT;
ShortRect *WinRectToShortRect(const struct tagRECT *winRect,
                              ShortRect *shortRect);
void ShortRectToWinRect(const ShortRect *shortRect, struct tagRECT *winRect);

/* The exclamation beep; returns what the system's beep returns. */
int32_t WarningBeep(void);

/* Store a value under a name, creating the variable when it is missing.
   A non-zero flag adds NamedVariableFlagBit to the type created. */
int32_t StoreIntegerVariable(const char *name, int32_t value, int32_t flag);
int32_t StoreRealVariable(const char *name, const double *value, int32_t flag);
int32_t StoreComplexVariable(const char *name, const double *real,
                             const double *imaginary, int32_t flag);
int32_t StoreTextVariable(const char *name, const char *value, int32_t flag);

#ifdef __cplusplus
}
#endif

#endif
