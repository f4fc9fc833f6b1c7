/** @file
    One routine per numbered host service, and the small routines built on
    them: text delivery, resource strings, rectangles, the beep, the selector
    requests and storing values under a name.

    Each request goes through HostCall0 to HostCall6 (hostlink.h): one or
    two memory requests for the record, then one service request. What a
    service does, and what its items mean, is the host's business; a
    wrapper passes the host's answer on unchanged unless its entry says
    otherwise. HostTooOldError lives in hostlink.h. */
#ifndef TAVREL_SERVICES_WRAPPERS_H
#define TAVREL_SERVICES_WRAPPERS_H

#include "hostlink.h"

#ifdef __cplusplus
extern "C" {
#endif

/** Answers of the host that the wrappers compare. */
enum {
  /** StoreNumberByName's answer (request 5) when no object of the name
      exists; StoreIntegerVariable and its siblings create the variable
      then. */
  NoSuchObjectResult = -1
};

/** The services whose wrapper only passes its items on, as X(code, items).
    Each becomes `int32_t HostServiceCODE(int32_t i0, ...)`, whose
    arguments are the request's items in order; it returns the host's
    answer. Adding a service is one line here. */
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

/** @name Parameter lists of the plain wrappers
    @{ */
/** The parameters of a plain wrapper with that many items: TAVREL_ITEMS_0
    is void, TAVREL_ITEMS_n lists i0 to i(n-1). */
#define TAVREL_ITEMS_0 void
#define TAVREL_ITEMS_1 int32_t i0                 /**< item 0 */
#define TAVREL_ITEMS_2 TAVREL_ITEMS_1, int32_t i1 /**< item 1 */
#define TAVREL_ITEMS_3 TAVREL_ITEMS_2, int32_t i2 /**< item 2 */
#define TAVREL_ITEMS_4 TAVREL_ITEMS_3, int32_t i3 /**< item 3 */
#define TAVREL_ITEMS_5 TAVREL_ITEMS_4, int32_t i4 /**< item 4 */
#define TAVREL_ITEMS_6 TAVREL_ITEMS_5, int32_t i5 /**< item 5 */
/** @} */
/** Declares the plain wrapper of one X(code, items) entry. */
#define TAVREL_DECLARE_PLAIN_SERVICE(code, items)                              \
  int32_t HostService##code(TAVREL_ITEMS_##items);
/** @name Plain service wrappers
    One routine per entry of TAVREL_PLAIN_SERVICES.
    @{ */
/** HostServiceN sends host request N, the number in its name, with its
    arguments as the request's items in order. One or two memory
    requests (the record), one service request; no version gate.
    @return the host's answer, unchanged. */
TAVREL_PLAIN_SERVICES(TAVREL_DECLARE_PLAIN_SERVICE)
/** @} */
#undef TAVREL_DECLARE_PLAIN_SERVICE

/** Hands a message text to the host to show to the user. Sends host
    request 8.
    @param text the message, zero-terminated (end lines with "\r")
    @return the host's answer. */
int32_t ReportToHost(const char *text);
/** Hands a text to the host with a delivery mode. Sends host request 49.
    @param text the text
    @param mode the mode (SendTextByKind uses 3 and 1)
    @return the host's answer. */
int32_t SendTextWithMode(const char *text, int32_t mode);
/** Reads a numeric variable by name. Sends host request 3.
    @param name the variable's name
    @param real receives the real part
    @param imaginary receives the imaginary part
    @return the host's answer: 0, or an error code. */
int32_t FetchNumberByName(const char *name, double *real, double *imaginary);
/** Stores a number into an existing variable by name. Sends host request
    5.
    @param name the variable's name
    @param real the real part
    @param imaginary the imaginary part
    @return the host's answer: 0, NoSuchObjectResult when there is no such
            object, or another error code. */
int32_t StoreNumberByName(const char *name, const double *real,
                          const double *imaginary);
/** Stores a text into an existing string variable by name. Sends host
    request 6.
    @param name the variable's name
    @param value the text
    @return the host's answer: 0, or non-zero when nothing was stored. */
int32_t StoreTextByName(const char *name, const char *value);
/** The handle of the object a name names. Sends host request 7.
    @param name the object's name
    @return the handle as a 32-bit value, or 0 when no object bears the
            name. */
int32_t HandleFromName(const char *name);

/** Creates a variable by name. Needs host version 200 or later for a type
    with NamedVariableFlagBit, else HostTooOldError (163) without a request.
    Sends host request 45.
    @param name the variable's name
    @param typeCode NumTypeFloat64 (with NumTypeComplex for complex) for a
           number, NumTypeNone for a text; NamedVariableFlagBit may be added
    @return 0, HostTooOldError, or the host's error. */
int32_t CreateNamedVariable(const char *name, int32_t typeCode);
/** Flags of CreateNamedVariable's type code. */
enum {
  /** A bit of the type code (and what the store routines' flag adds)
      that needs host version 200. */
  NamedVariableFlagBit = 0x4000
};
/** Sends host request 180; a non-zero answer empties text afterwards.
    @param value item 0
    @param text item 1, a buffer the host fills
    @return the host's answer. */
int32_t HostService180(int32_t value, char *text);
/** Sends host request 18 with text emptied first.
    @param text item 0, a buffer the host fills
    @return the host's answer. */
int32_t HostService18(char *text);
/** Sends host request 164 with text emptied first.
    @param value item 0
    @param text item 1, a buffer the host fills
    @return the host's answer. */
int32_t HostService164(int32_t value, char *text);
/** Sends host request 165 with *out set to 0 first.
    @param value item 0
    @param out item 1, an integer the host sets (may be null)
    @return the host's answer. */
int32_t HostService165(int32_t value, int32_t *out);
/** Sends host request 166; a given text is emptied and a given *out set to
    0 first.
    @param value item 0
    @param text item 1, a buffer the host fills, or null
    @param out item 2, an integer the host sets, or null
    @return the host's answer. */
int32_t HostService166(int32_t value, char *text, int32_t *out);
/** Sends host request 162 with *out set to 0 first.
    @param out item 0, an integer the host sets (may be null)
    @return the host's answer. */
int32_t HostService162(int32_t *out);
/** Sends host request 163 with *out set to 1 first.
    @param out item 0, an integer the host sets (may be null)
    @return the host's answer. */
int32_t HostService163(int32_t *out);
/** Sends host request 188; the float travels as the address of the
    wrapper's own copy.
    @param value item 0
    @param x item 1, by address
    @return the host's answer. */
int32_t HostService188(int32_t value, double x);
/** Sends host request 191; the floats travel as addresses of the wrapper's
    own copies.
    @param value item 0
    @param x item 1, by address
    @param y item 2, by address
    @return the host's answer. */
int32_t HostService191(int32_t value, double x, double y);
/** Sends host request 196. Needs host version 500 or later, else 0
    without a request.
    @param i0 item 0
    @return the host's answer, or 0. */
int32_t HostService196(int32_t i0);
/** Sends host request 197. Needs host version 500 or later, else 0
    without a request.
    @param i0 item 0
    @param i1 item 1
    @return the host's answer, or 0. */
int32_t HostService197(int32_t i0, int32_t i1);

/** Below host version 200, sends host request 9 with the empty text and
    returns its answer; from 200 on, sends host request 71 without items.
    @return request 9's answer, or 0 after request 71 whatever it
            answered. */
int32_t HostService71Or9(void);
/** Below host version 300, sends host request 7 with the name alone; from
    300 on, host request 157 with both items.
    @param value item 0 of request 157
    @param name the name text
    @return the host's answer. */
int32_t HostService157Or7(int32_t value, const char *name);
/** Sends host request 7 with the name, then host request 1 with its answer
    as the item, whatever it was (0 included).
    @param name the name text
    @return request 1's answer. */
int32_t HostService1ByName(const char *name);

/** Sends host request 33 with the selector 1.
    @return the host's answer. */
int32_t HostSelect1(void);
/** Sends host request 33 with the selector 2.
    @return the host's answer. */
int32_t HostSelect2(void);
/** Sends host request 33 with the selector 3.
    @return the host's answer. */
int32_t HostSelect3(void);
/** Sends host request 33 with the selector 4.
    @return the host's answer. */
int32_t HostSelect4(void);
/** The second TickCount reading after ThrottledSelect5's last request; 0
    at load. */
extern uint32_t LastThrottleTick;
/** Sends host request 33 with the selector 5, at most once per more than 6
    ticks: only when TickCount has passed LastThrottleTick + 6. */
void ThrottledSelect5(void);

/** Kinds of SendTextByKind. */
enum {
  TextKindMode3 = 1,    /**< host request 49 with mode 3 */
  TextKindMode1 = 2,    /**< host request 49 with mode 1 */
  TextKindClipboard = 3 /**< the clipboard, through SetScrapData */
};
/** Delivers a text: kinds TextKindMode3 and TextKindMode1 send host
    request 49, TextKindClipboard calls SetScrapData with the type "TEXT"
    (no request); other kinds do nothing.
    @param text the text
    @param kind TextKindMode3, TextKindMode1 or TextKindClipboard
    @return the answer of the request or of SetScrapData; 0 for another
            kind. */
int32_t SendTextByKind(const char *text, int32_t kind);
/** Reads a string of the extension's STR# resources (GetWinIndString with
    the own module); the buffer stays empty when there is none. No request.
    @param buffer receives the text; 256 bytes
    @param listNumber the STR# resource's number
    @param itemNumber the string's number, from 1 */
void LoadModuleString(char *buffer, int32_t listNumber, int32_t itemNumber);
/** Shows a string of the extension's STR# resources: LoadModuleString
    into a 256-byte buffer, then ReportToHost (host request 8), with the
    empty text when the string is missing.
    @param listNumber the STR# resource's number
    @param itemNumber the string's number, from 1
    @return ReportToHost's answer. */
int32_t ReportResourceString(int32_t listNumber, int32_t itemNumber);

/** A rectangle of 16-bit values in the order top, left, bottom, right (the
    Win32 RECT has 32-bit left, top, right, bottom). */
typedef struct ShortRect {
  int16_t top;    /**< top edge */
  int16_t left;   /**< left edge */
  int16_t bottom; /**< bottom edge */
  int16_t right;  /**< right edge */
} ShortRect;
struct tagRECT;
/** Converts a Win32 RECT, keeping the low 16 bits of each edge.
    @param winRect the RECT
    @param shortRect receives the rectangle
    @return shortRect. */
ShortRect *WinRectToShortRect(const struct tagRECT *winRect,
                              ShortRect *shortRect);
/** Converts to a Win32 RECT, sign-extending each edge.
    @param shortRect the rectangle
    @param winRect receives the RECT */
void ShortRectToWinRect(const ShortRect *shortRect, struct tagRECT *winRect);

/** Plays the exclamation beep (MessageBeep with MB_ICONEXCLAMATION).
    @return MessageBeep's result: non-zero on success. */
int32_t WarningBeep(void);

/** Stores an integer, as a double, under a name, creating the numeric
    variable (NumTypeFloat64) when the host has none: request 5, and on
    NoSuchObjectResult request 45, then request 5 again. With a non-zero
    flag, needs host version 200 or later, else HostTooOldError (163)
    without a request; the flag adds NamedVariableFlagBit to the type
    created.
    @param name the variable's name
    @param value the value
    @param flag 0, or non-zero for NamedVariableFlagBit
    @return 0, HostTooOldError, the first store's answer when it is neither
            0 nor NoSuchObjectResult, CreateNamedVariable's error, or the
            second store's answer. */
int32_t StoreIntegerVariable(const char *name, int32_t value, int32_t flag);
/** Stores a double under a name; as StoreIntegerVariable.
    @param name the variable's name
    @param value the value
    @param flag 0, or non-zero for NamedVariableFlagBit
    @return as StoreIntegerVariable. */
int32_t StoreRealVariable(const char *name, const double *value, int32_t flag);
/** Stores a complex number under a name, creating a complex variable
    (NumTypeFloat64 | NumTypeComplex); as StoreIntegerVariable.
    @param name the variable's name
    @param real the real part
    @param imaginary the imaginary part
    @param flag 0, or non-zero for NamedVariableFlagBit
    @return as StoreIntegerVariable. */
int32_t StoreComplexVariable(const char *name, const double *real,
                             const double *imaginary, int32_t flag);
/** Stores a text under a name, creating the string variable (NumTypeNone)
    when the first store fails: request 6, and on any non-zero answer
    request 45, then request 6 again. With a non-zero flag, needs host
    version 200 or later, else HostTooOldError (163) without a request.
    @param name the variable's name
    @param value the text
    @param flag 0, or non-zero for NamedVariableFlagBit
    @return 0, HostTooOldError, CreateNamedVariable's error, or the second
            store's answer. */
int32_t StoreTextVariable(const char *name, const char *value, int32_t flag);

#ifdef __cplusplus
}
#endif

#endif
